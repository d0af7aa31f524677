// SPDX-License-Identifier: MIT
#include "cli/pass_entries.h"

#include "cipher/pass_entry.h"
#include "document/codepage.h"
#include "files/file_io.h"
#include "files/quoted_name.h"

namespace solvena::zkt {
namespace {

// Entries longer than this (a whole line of some other file) are shown cut.
constexpr std::size_t kShownEntryBytes = 40;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Arguments arrive as UTF-8 bytes; full-width digits must reach the entry rule.
std::optional<std::u16string> FromUtf8(const std::string& bytes) {
    document::Decoded decoded = document::Decode(bytes, document::Encoding::Utf8);
    if (!decoded.ok) {
        return std::nullopt;
    }
    return std::move(decoded.text);
}

}  // namespace

std::optional<std::int16_t> PassFromEntry(const std::string& entry, std::string& why) {
    const std::optional<std::u16string> text = FromUtf8(entry);
    const std::optional<std::int16_t> pass = text ? cipher::ReadPassEntry(*text) : std::nullopt;
    if (!pass) {
        why = ShownEntry(entry) +
              " is not a pass number (a number of at most four characters, such as 1234)";
        return std::nullopt;
    }
    if (*pass == -1) {
        why = "-1 is not a pass number (it stands for no number)";
        return std::nullopt;
    }
    return pass;
}

files::Result<std::string> FirstLine(const std::string& path) {
    files::Result<std::string> bytes = files::ReadWholeFile(path);
    if (!bytes) {
        return bytes;
    }
    std::string_view text = bytes.value();
    if (text.starts_with(kUtf8Bom)) {
        text.remove_prefix(kUtf8Bom.size());
    }
    std::string line(text.substr(0, text.find('\n')));
    if (line.ends_with('\r')) {
        line.pop_back();
    }
    return line;
}

std::string ShownEntry(const std::string& entry) {
    if (entry.size() <= kShownEntryBytes) {
        return files::QuotedName(entry);
    }
    // Cut before a UTF-8 sequence, never inside one.
    std::size_t cut = kShownEntryBytes;
    while (cut > 0 && (static_cast<unsigned char>(entry[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return files::QuotedName(entry.substr(0, cut)) + "...";
}

}  // namespace solvena::zkt
