// SPDX-License-Identifier: MIT
#include "cli/recover_command.h"

#include <unistd.h>

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <string_view>

#include "cipher/cipher.h"
#include "cipher/cipher_evidence.h"
#include "cli/cipher_streams.h"
#include "cli/messages.h"
#include "cli/refusals.h"
#include "document/document_file.h"
#include "document/document_stream.h"
#include "files/file_io.h"
#include "ranking/decipher_judge.h"
#include "ranking/pass_ranking.h"

namespace solvena::zkt {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

bool IsHigh(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLow(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

// Units that would move the cursor, change the terminal's state or print
// nothing visible.
bool IsInvisible(char16_t u) {
    return u < 0x20 || (u >= 0x7F && u <= 0x9F) || (u >= 0x200B && u <= 0x200F) ||
           (u >= 0x202A && u <= 0x202E) || (u >= 0x2060 && u <= 0x206F) ||
           (u >= 0xE000 && u <= 0xF8FF) || u == 0xFEFF || u >= 0xFFF0 || IsLow(u);
}

std::string Encoded(std::u16string_view character, document::Encoding encoding) {
    document::Encoded encoded = document::Encode(character, encoding);
    return encoded.bad.count == 0 && !encoded.converterMissing ? encoded.bytes : "?";
}

std::string EntryText(std::u16string_view entry) {
    std::string text;
    for (char16_t c : entry) {
        text += static_cast<char>(c);  // entries are made of ASCII signs
    }
    return text;
}

std::string ScoreText(double score) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", score);
    return text;
}

std::string Line(const ranking::RankedPass& candidate, document::Encoding encoding) {
    return EntryText(candidate.entry) + "\t" + ScoreText(candidate.score) + "\t" +
           Preview(candidate.opening, encoding) + "\n";
}

}  // namespace

std::string Preview(std::u16string_view text, document::Encoding encoding) {
    const std::u16string_view lineBreak =
        encoding == document::Encoding::Cp932 ? std::u16string_view(u"↓") : u"⏎";
    std::string preview;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size() && characters < kPreviewCharacters; ++characters) {
        const char16_t u = text[i];
        std::u16string_view shown = text.substr(i, 1);
        std::size_t units = 1;
        if (u == u'\r' || u == u'\n' || u == 0x2028 || u == 0x2029) {
            shown = lineBreak;
            units = u == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        } else if (u == u'\t') {
            shown = u" ";
        } else if (IsHigh(u)) {
            const bool paired = i + 1 < text.size() && IsLow(text[i + 1]);
            units = paired ? 2 : 1;
            shown = paired ? text.substr(i, 2) : std::u16string_view(&kReplacement, 1);
        } else if (IsInvisible(u)) {
            shown = std::u16string_view(&kReplacement, 1);
        }
        preview += Encoded(shown, encoding);
        i += units;
    }
    return preview;
}

std::string PassList() {
    std::string list;
    for (const cipher::PassCandidate& candidate : cipher::PassCandidates()) {
        list += std::to_string(candidate.pass) + "\t";
        for (char16_t c : candidate.entry) {
            list += static_cast<char>(c);
        }
        list += "\n";
    }
    return list;
}

int Recover(const Options& options, const Environment& env, std::u16string_view text,
            const std::string& inputName) {
    const ranking::PassRanking ranking = ranking::RankPassNumbers(text, options.candidates);
    // The same reason as decipher gives, where the format itself tells it.
    const std::optional<ranking::Decipherment> format = ranking::FormatVerdict(ranking.evidence);
    const std::string said =
        format ? RefusalLine(*format, ranking.evidence, Shown(inputName), "", "") : "";
    if (format == ranking::Decipherment::NothingEnciphered) {
        Say(env, said);
        return kDataError;
    }
    const document::Encoding encoding = options.encoding.value_or(env.terminal);
    std::string lines;
    for (const ranking::RankedPass& candidate : ranking.best) {
        lines += Line(candidate, encoding);
    }
    const files::Status written = files::WriteAll(STDOUT_FILENO, lines, "standard output");
    if (!written) {
        Say(env, "zkt: standard output: " + written.error().Describe() + "\n");
        return kDataError;
    }
    if (format) {
        // A damaged text is ranked as it reads; the damage is told beside.
        Say(env, said);
        if (format == ranking::Decipherment::NotEnciphered) {
            return kDataError;
        }
    }
    if (!ranking.LooksLikeText()) {
        Say(env,
            "zkt: " + Shown(inputName) + ": no pass number gives a text that looks like text\n");
        return kDataError;
    }
    if (!ranking.ClearlyAhead()) {
        Say(env, "zkt: " + Shown(inputName) + ": no pass number is clearly ahead of the others\n");
        return kDataError;
    }
    return kSuccess;
}

namespace {

// The text of an enciphered file, read as any document file; nothing, and
// said why, when it cannot be.
std::optional<std::u16string> ReadEnciphered(const std::string& path, const Environment& env,
                                             files::Opening how) {
    files::Result<std::string> bytes = files::ReadWholeFile(path, how);
    if (!bytes) {
        FileFailure(env, bytes.error());
        return std::nullopt;
    }
    files::Result<document::Document> text = document::DecodeDocument(bytes.value(), {}, path);
    if (!text) {
        FileFailure(env, text.error());
        return std::nullopt;
    }
    return std::move(text.value().text);
}

// The opening of an enciphered file (kOpeningUnits), its whole groups closed
// by the end marker when more follows, so that a file of any size takes
// memory for the opening only; nothing, and said why, when it cannot be read.
std::optional<std::u16string> ReadOpeningOf(const std::string& path, const Environment& env,
                                            files::Opening how) {
    files::Result<files::Descriptor> file = files::OpenToRead(path, how);
    if (!file) {
        FileFailure(env, file.error());
        return std::nullopt;
    }
    document::DocumentReader reader(file.value().get(), document::ReadChoice(), path);
    Input input{reader, path, {}, true};
    const files::Status read = ReadOpening(input);
    if (!read) {
        FileFailure(env, read.error());
        return std::nullopt;
    }
    if (input.more) {
        return cipher::ClosedBefore(input.opening, input.opening.size());
    }
    return std::move(input.opening);
}

// A name as a field of --tsv: a tab, line break or backslash in it would
// break the line a script reads, and is written as \t, \n, \r or \\.
std::string TsvField(const std::string& name) {
    std::string field;
    for (const char c : name) {
        switch (c) {
            case '\t':
                field += "\\t";
                break;
            case '\n':
                field += "\\n";
                break;
            case '\r':
                field += "\\r";
                break;
            case '\\':
                field += "\\\\";
                break;
            default:
                field += c;
        }
    }
    return field;
}

}  // namespace

int RecoverLine(const Options& options, const Environment& env, const std::string& path,
                files::Opening how) {
    const std::optional<std::u16string> text = ReadEnciphered(path, env, how);
    if (!text) {
        return kDataError;
    }
    const ranking::PassRanking ranking = ranking::RankPassNumbers(*text, 2);
    const std::optional<ranking::Decipherment> format = ranking::FormatVerdict(ranking.evidence);
    if (format) {
        Say(env, RefusalLine(*format, ranking.evidence, Shown(path), "", ""));
    }
    if (format == ranking::Decipherment::NothingEnciphered ||
        format == ranking::Decipherment::NotEnciphered) {
        return kDataError;
    }
    const ranking::RankedPass& best = ranking.best[0];
    const std::string line = TsvField(path) + "\t" + EntryText(best.entry) + "\t" +
                             ScoreText(best.score) + "\t" +
                             (ranking.ClearlyAhead() ? "clear" : "unclear") + "\t" +
                             Preview(best.opening, options.encoding.value_or(env.terminal)) + "\n";
    const files::Status written = files::WriteAll(STDOUT_FILENO, line, "standard output");
    if (!written) {
        return FileFailure(env, written.error());
    }
    return ranking.ClearlyAhead() ? kSuccess : kDataError;
}

FoundPass FindPass(const std::string& path, const Environment& env, files::Opening how) {
    const std::optional<std::u16string> text = ReadOpeningOf(path, env, how);
    if (!text) {
        return {};
    }
    // Ranked on the opening, as the judge does; the whole file is judged as
    // it is deciphered, a piece at a time.
    const ranking::PassRanking ranking = ranking::RankPassNumbers(*text, 2);
    if (const std::optional<ranking::Decipherment> format =
            ranking::FormatVerdict(ranking.evidence)) {
        Say(env, RefusalLine(*format, ranking.evidence, Shown(path), "", kNotDeciphered));
        return {};
    }
    if (!ranking.ClearlyAhead()) {
        std::string said = "zkt: " + Shown(path) + ": no pass number is clearly ahead";
        for (const ranking::RankedPass& candidate : ranking.best) {
            said += (&candidate == &ranking.best[0] ? " (" : ", ") + EntryText(candidate.entry) +
                    " " + ScoreText(candidate.score);
        }
        Say(env, said + (ranking.best.empty() ? "" : ")") + "; not deciphered\n");
        return {};
    }
    return {ranking.best[0].pass, EntryText(ranking.best[0].entry)};
}

document::Encoding TerminalEncoding() {
    std::setlocale(LC_CTYPE, "");
    const std::string_view codeset = nl_langinfo(CODESET);
    for (std::string_view shiftJis : {"SHIFT_JIS", "SJIS", "CP932", "WINDOWS-31J"}) {
        if (codeset == shiftJis) {
            return document::Encoding::Cp932;
        }
    }
    return document::Encoding::Utf8;
}

}  // namespace solvena::zkt
