// SPDX-License-Identifier: MIT
#include "document_stream.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace solvena::platform::core {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The first byte from 0x80 on, or the size; 64 bytes at a time without an
// early exit inside, as almost all of such bytes are ASCII.
std::size_t FirstNonAscii(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    for (; i + 64 <= bytes.size(); i += 64) {
        unsigned char any = 0;
        for (std::size_t k = 0; k < 64; ++k) {
            any |= p[i + k];
        }
        if (any >= 0x80) {
            break;
        }
    }
    while (i < bytes.size() && p[i] < 0x80) {
        ++i;
    }
    return i;
}

bool IsAscii(std::string_view bytes) {
    return FirstNonAscii(bytes) == bytes.size();
}

// The length of the UTF-8 sequence that `lead` starts, 0 for a byte that
// starts none.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Whether the bytes (a whole sequence, by its lead) are one UTF-8 character.
bool IsUtf8Sequence(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    for (std::size_t k = 1; k < bytes.size(); ++k) {
        const auto b = static_cast<unsigned char>(bytes[k]);
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (k == 1) {
            // Neither overlong forms nor surrogates nor beyond U+10FFFF.
            low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        }
        if (b < low || b > high) {
            return false;
        }
    }
    return true;
}

// The first line break from `from` on (a CR, or with `lf` an LF too), or
// the end; sixteen units at a time, as most of a line holds none.
std::size_t NextBreak(std::u16string_view units, std::size_t from, bool lf) {
    const char16_t* p = units.data();
    const std::size_t n = units.size();
    std::size_t i = from;
    for (; i + 16 <= n; i += 16) {
        unsigned any = 0;
        for (std::size_t k = 0; k < 16; ++k) {
            any |= static_cast<unsigned>(p[i + k] == kCr) |
                   static_cast<unsigned>(lf && p[i + k] == kLf);
        }
        if (any != 0) {
            break;
        }
    }
    while (i < n && p[i] != kCr && (p[i] != kLf || !lf)) {
        ++i;
    }
    return i;
}

// Whether every CR but one at the very end has an LF after it: a loop
// without an early exit, which the compiler runs in vector lanes.
bool EveryCrBeforeLf(std::u16string_view units) {
    unsigned lone = 0;
    for (std::size_t i = 0; i + 1 < units.size(); ++i) {
        lone |= static_cast<unsigned>(units[i] == kCr) & static_cast<unsigned>(units[i + 1] != kLf);
    }
    return lone == 0;
}

bool IsCp932Lead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace

DocumentReader::DocumentReader(int fd, const ReadChoice& choice, std::string name,
                               std::size_t pieceBytes)
    : fd_(fd), choice_(choice), name_(std::move(name)), pieceBytes_(pieceBytes) {
    encoding_ = choice.encoding;
    lineEnd_ = choice.lineEnd;
}

DocumentReader::DocumentReader(std::string_view bytes, const ReadChoice& choice, std::string name,
                               std::size_t pieceBytes)
    : DocumentReader(-1, choice, std::move(name), pieceBytes) {
    memory_ = bytes;
}

Result<bool> DocumentReader::FillBytes() {
    // At least the four bytes of the longest UTF-8 character, so that every
    // piece decides something.
    const std::size_t want = bytes_.size() + std::max<std::size_t>(pieceBytes_, 4);
    while (!atEnd_ && bytes_.size() < want) {
        const std::size_t have = bytes_.size();
        if (fd_ < 0) {
            const std::size_t take = std::min(want - have, memory_.size());
            bytes_.append(memory_.substr(0, take));
            memory_.remove_prefix(take);
            atEnd_ = memory_.empty();
            continue;
        }
        bytes_.resize(want);
        const ssize_t got = ::read(fd_, bytes_.data() + have, want - have);
        bytes_.resize(have + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return SystemError(FileError::Kind::ReadFailed, name_, errno);
        }
        atEnd_ = got == 0;
    }
    return true;
}

void DocumentReader::TakeByteOrderMark() {
    if (markChecked_ || (bytes_.size() < kUtf8Bom.size() && !atEnd_)) {
        return;
    }
    markChecked_ = true;
    if (!choice_.encoding && std::string_view(bytes_).starts_with(kUtf8Bom)) {
        // A given encoding is not guessed at: the mark is then a character.
        encoding_ = Encoding::Utf8;
        byteOrderMark_ = true;
        bytes_.erase(0, kUtf8Bom.size());
        offset_ += kUtf8Bom.size();
    }
}

void DocumentReader::DecideEncoding() {
    const std::size_t p = FirstNonAscii(bytes_);
    if (p == bytes_.size()) {
        if (atEnd_) {
            encoding_ = Encoding::Cp932;  // plain ASCII throughout
            encodingDetected_ = true;
        }
        return;
    }
    sawNonAscii_ = true;
    const std::size_t length = SequenceLength(static_cast<unsigned char>(bytes_[p]));
    if (length != 0 && p + length > bytes_.size() && !atEnd_) {
        return;  // decided when the rest of the character has been read
    }
    const bool utf8 = length != 0 && p + length <= bytes_.size() &&
                      IsUtf8Sequence(std::string_view(bytes_).substr(p, length));
    // CP932 bytes of kana and kanji are almost never UTF-8, as in the
    // whole-file rule.
    encoding_ = utf8 ? Encoding::Utf8 : Encoding::Cp932;
    encodingDetected_ = true;
}

// The bytes from the start that end where a character ends.
std::size_t DocumentReader::CompleteBytes() const {
    const std::size_t size = bytes_.size();
    if (atEnd_) {
        return size;
    }
    if (!encoding_) {
        return FirstNonAscii(bytes_);
    }
    switch (*encoding_) {
        case Encoding::Utf16le:
            return size & ~std::size_t{1};
        case Encoding::Utf8: {
            for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
                const auto b = static_cast<unsigned char>(bytes_[size - back]);
                if ((b & 0xC0) != 0x80) {
                    const std::size_t length = SequenceLength(b);
                    return length > back ? size - back : size;
                }
            }
            return size;
        }
        case Encoding::Cp932: {
            // The run of bytes at the end that may be lead bytes pairs up from
            // its start (the byte before it ends a character): an odd run
            // ends in a lead byte whose trail byte is still to come.
            std::size_t run = 0;
            while (run < size && IsCp932Lead(static_cast<unsigned char>(bytes_[size - 1 - run]))) {
                ++run;
            }
            return run % 2 == 1 ? size - 1 : size;
        }
    }
    return size;
}

FileError DocumentReader::ChangedAt(std::uint64_t offset, const std::string& why) const {
    FileError error;
    error.kind = FileError::Kind::ReadOtherwise;
    error.path = name_;
    error.byteOffset = offset;
    error.reason = why + " at byte offset " + std::to_string(offset);
    return error;
}

Status DocumentReader::Decode(std::string_view& bytes, std::u16string& units) {
    if (!encoding_ || (*encoding_ != Encoding::Utf16le && IsAscii(bytes))) {
        // The same characters in CP932 and UTF-8.
        units.resize(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            units[i] = static_cast<unsigned char>(bytes[i]);
        }
        return Done{};
    }
    Decoded& decoded = decoded_;
    platform::core::Decode(bytes, *encoding_, decoded);
    if (!decoded.ok && !decoded.converterMissing && encodingDetected_ &&
        *encoding_ == Encoding::Utf8 && !utf8Given_) {
        // Nothing has been given out as UTF-8 yet: what has been read is
        // CP932, as the whole-file rule would find, unless it is no text.
        const std::uint64_t utf8Error = decoded.errorOffset;
        encoding_ = Encoding::Cp932;
        bytes = std::string_view(bytes_.data(), CompleteBytes());
        platform::core::Decode(bytes, Encoding::Cp932, decoded);
        if (!decoded.ok && !decoded.converterMissing && utf8Error > decoded.errorOffset) {
            return InvalidBytes(name_, offset_ + utf8Error, EncodingName(Encoding::Utf8));
        }
    }
    if (decoded.converterMissing) {
        return ConverterMissing(name_, EncodingName(*encoding_));
    }
    if (!decoded.ok) {
        const std::uint64_t at = offset_ + decoded.errorOffset;
        if (encodingDetected_ && *encoding_ == Encoding::Utf8) {
            return ChangedAt(at,
                             "not UTF-8, though the text before it is (the whole file would be "
                             "read as CP932)");
        }
        return InvalidBytes(name_, at, EncodingName(*encoding_));
    }
    utf8Given_ = *encoding_ == Encoding::Utf8;
    units.swap(decoded.text);  // both keep their storage for the next piece
    return Done{};
}

Status DocumentReader::CheckLineEnds(std::string_view bytes, std::u16string_view units) {
    if (choice_.lineEnd) {
        return Done{};
    }
    constexpr std::size_t kNone = std::u16string_view::npos;
    // The byte offset of the first `c` in the piece. In the byte encodings
    // a CR or LF byte is the character itself, found fastest in the bytes.
    const auto find = [&](char16_t c) -> std::size_t {
        if (encoding_ == Encoding::Utf16le) {
            const std::size_t at = units.find(c);
            return at == kNone ? kNone : 2 * at;
        }
        const void* at = std::memchr(bytes.data(), static_cast<char>(c), bytes.size());
        return at == nullptr
                   ? kNone
                   : static_cast<std::size_t>(static_cast<const char*>(at) - bytes.data());
    };
    const std::size_t cr = find(kCr);
    if (!lineEnd_) {
        // As the whole-file rule decides on what has been read.
        const bool lf = find(kLf) != kNone;
        if (cr == kNone && !lf) {
            return Done{};
        }
        lineEnd_ = cr == kNone ? LineEnd::Lf : LineEnd::CrLf;
        lineEndDetected_ = true;
    }
    if (*lineEnd_ == LineEnd::Lf && cr != kNone) {
        return ChangedAt(offset_ + cr,
                         "a CR after LF line ends (the whole file would keep its LFs in the "
                         "lines)");
    }
    return Done{};
}

// Lines ended by CR LF after the first line with text: the rule keeps them
// as they are, all but the line ends at the piece's end, which become part
// of the text only when a line follows.
void DocumentReader::PassCrLfLines(std::u16string_view units, std::u16string& text) {
    std::size_t cut = units.size();
    std::uint64_t trailing = 0;
    afterCr_ = cut > 0 && units[cut - 1] == kCr;
    if (afterCr_) {
        --cut;
        ++trailing;
    }
    while (cut >= 2 && units[cut - 2] == kCr && units[cut - 1] == kLf) {
        cut -= 2;
        ++trailing;
    }
    if (cut > 0) {
        for (; breaks_ > 0; --breaks_) {
            text += u"\r\n";
        }
        text.append(units.substr(0, cut));
    }
    breaks_ += trailing;
}

void DocumentReader::ApplyRule(std::u16string_view units, bool anyBreak, std::u16string& text) {
    const auto content = [&](std::u16string_view run) {
        if (run.empty()) {
            return;
        }
        for (; breaks_ > 0; --breaks_) {
            text += u"\r\n";
        }
        lineStarted_ = true;
        text.append(run);
    };
    if (!anyBreak) {
        content(units);
        afterCr_ = afterCr_ && units.empty();
        return;
    }
    const bool lfEndsLines = lineEnd_ == LineEnd::Lf;
    if (!lfEndsLines && lineStarted_ && !(afterCr_ && !units.empty() && units[0] == kLf) &&
        EveryCrBeforeLf(units)) {
        PassCrLfLines(units, text);
        return;
    }
    std::size_t i = 0;
    while (i < units.size()) {
        if (afterCr_) {
            afterCr_ = false;
            if (units[i] == kLf) {
                ++i;  // the second half of a CR LF
                continue;
            }
        }
        const std::size_t end = NextBreak(units, i, lfEndsLines);
        content(units.substr(i, end - i));
        if (end == units.size()) {
            break;
        }
        // A line end; empty lines before the first line with text leave no trace.
        if (lineStarted_) {
            ++breaks_;
        }
        afterCr_ = units[end] == kCr;
        i = end + 1;
    }
}

Result<bool> DocumentReader::Next(std::u16string& text) {
    if (done_) {
        return false;
    }
    Result<bool> filled = FillBytes();
    if (!filled) {
        return filled;
    }
    TakeByteOrderMark();
    if (!markChecked_) {
        return true;
    }
    if (!encoding_) {
        DecideEncoding();
    }
    std::string_view piece(bytes_.data(), CompleteBytes());
    Status decoded = Decode(piece, units_);
    if (!decoded) {
        return decoded.error();
    }
    Status lineEnds = CheckLineEnds(piece, units_);
    if (!lineEnds) {
        return lineEnds.error();
    }
    const bool anyBreak = encoding_ == Encoding::Utf16le ||
                          std::memchr(piece.data(), '\r', piece.size()) != nullptr ||
                          std::memchr(piece.data(), '\n', piece.size()) != nullptr;
    ApplyRule(units_, anyBreak, text);
    offset_ += piece.size();
    bytes_.erase(0, piece.size());
    if (atEnd_ && bytes_.empty()) {
        // The last line's end is not part of the text.
        for (; breaks_ > 1; --breaks_) {
            text += u"\r\n";
        }
        done_ = true;
        return false;
    }
    return true;
}

TextFormat DocumentReader::Format() const {
    const Encoding encoding = encoding_.value_or(Encoding::Cp932);
    // A file without a line break gets the usual one of its encoding.
    LineEnd lineEnd = encoding == Encoding::Utf8 ? LineEnd::Lf : LineEnd::CrLf;
    if (lineEnd_) {
        lineEnd = *lineEnd_;
    }
    if (encodingDetected_ && !sawNonAscii_ && lineEnd == LineEnd::Lf) {
        // Plain ASCII with LF line ends is a Linux text file (see DecodeDocument).
        return TextFormat(Encoding::Utf8, lineEnd);
    }
    return TextFormat(encoding, lineEnd, byteOrderMark_);
}

DocumentWriter::DocumentWriter(const TextFormat& format, std::string name)
    : format_(format), name_(std::move(name)) {}

void DocumentWriter::Add(std::u16string_view text, std::string& bytes) {
    const bool lf = format_.lineEnd == LineEnd::Lf;
    std::u16string_view source = text;
    if (!held_.empty() || lf) {
        scratch_.assign(held_);
        scratch_.append(text);
        source = scratch_;
    }
    std::size_t keep = source.size();
    if (keep > 0 && format_.encoding != Encoding::Utf16le && IsHighSurrogate(source[keep - 1])) {
        --keep;
    }
    if (keep > 0 && lf && source[keep - 1] == kCr) {
        --keep;
    }
    held_.assign(source.substr(keep));
    if (!lf) {
        Encode(source.substr(0, keep), source.substr(0, keep), bytes);
        return;
    }
    // Every CR LF becomes LF; lines and columns are counted in the text
    // as it was.
    original_.assign(source.substr(0, keep));
    std::size_t w = 0;
    for (std::size_t r = 0; r < keep; ++r) {
        if (!(scratch_[r] == kCr && r + 1 < keep && scratch_[r + 1] == kLf)) {
            scratch_[w++] = scratch_[r];
        }
    }
    Encode(std::u16string_view(scratch_).substr(0, w), original_, bytes);
}

TextPlace DocumentWriter::PlaceOf(std::u16string_view text, std::u16string_view original,
                                  std::size_t index) const {
    if (text.data() != original.data()) {
        index = IndexBeforeLfForm(original, index);
    }
    TextPlace place = place_;
    for (std::size_t i = 0; i < index; ++i) {
        place.Pass(original[i]);
    }
    return place;
}

void DocumentWriter::Encode(std::u16string_view text, std::u16string_view original,
                            std::string& bytes) {
    if (!started_) {
        started_ = true;
        if (format_.encoding == Encoding::Utf8 && format_.byteOrderMark) {
            bytes += kUtf8Bom;
        }
    }
    Encoded encoded = platform::core::Encode(text, format_.encoding);
    if (encoded.converterMissing) {
        converterMissing_ = true;
        return;
    }
    if (encoded.bad.count != 0) {
        if (bad_.count == 0) {
            bad_.character = encoded.bad.character;
            const TextPlace place = PlaceOf(text, original, encoded.bad.index);
            badLine_ = place.line;
            badColumn_ = place.column;
        }
        bad_.count += encoded.bad.count;
    } else if (!Failed()) {
        bytes += encoded.bytes;
        if (format_.encoding == Encoding::Cp932) {
            std::size_t first = 0;
            char16_t becomes = 0;
            const std::uint64_t count = CountLookAlikes(text, encoded.bytes, first, becomes);
            if (count != 0 && lookAlikes_.count == 0) {
                const TextPlace place = PlaceOf(text, original, first);
                lookAlikes_.first = text[first];
                lookAlikes_.becomes = becomes;
                lookAlikes_.line = place.line;
                lookAlikes_.column = place.column;
            }
            lookAlikes_.count += count;
        }
    }
    // Places are needed for the first character of each kind only.
    const bool locate =
        bad_.count == 0 || (format_.encoding == Encoding::Cp932 && lookAlikes_.count == 0);
    if (locate && format_.encoding != Encoding::Utf16le) {
        for (const char16_t c : original) {
            place_.Pass(c);
        }
    }
}

Status DocumentWriter::Finish(std::string& bytes) {
    if (!held_.empty()) {
        const std::u16string rest = std::move(held_);
        held_.clear();
        // Nothing follows to complete it; it holds no CR LF.
        Encode(rest, rest, bytes);
    }
    if (!started_) {
        Encode(u"", u"", bytes);
    }
    if (converterMissing_) {
        return ConverterMissing(name_, EncodingName(format_.encoding));
    }
    if (Failed()) {
        FileError error;
        error.kind = FileError::Kind::Unrepresentable;
        error.path = name_;
        error.encoding = EncodingName(format_.encoding);
        error.character = bad_.character;
        error.count = bad_.count;
        error.line = badLine_;
        error.column = badColumn_;
        return error;
    }
    const bool lf = format_.lineEnd == LineEnd::Lf;
    if (format_.encoding == Encoding::Utf16le) {
        bytes.append(lf ? std::string_view("\n\0", 2) : std::string_view("\r\0\n\0", 4));
    } else {
        bytes.append(lf ? "\n" : "\r\n");
    }
    return Done{};
}

std::optional<LookAlikes> DocumentWriter::FoundLookAlikes() const {
    if (lookAlikes_.count == 0) {
        return std::nullopt;
    }
    return lookAlikes_;
}

}  // namespace solvena::platform::core
