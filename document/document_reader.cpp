// SPDX-License-Identifier: MIT
// DocumentReader: a document file read a piece at a time.

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "document/document_stream.h"
#include "document/text_scans.h"

namespace solvena::document {

using namespace scans;

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

DocumentReader::DocumentReader(Pull pull, const ReadChoice& choice, std::string name,
                               std::size_t pieceBytes)
    : DocumentReader(-1, choice, std::move(name), pieceBytes) {
    pull_ = std::move(pull);
}

files::Result<bool> DocumentReader::FillBytes() {
    // At least the four bytes of the longest UTF-8 character, so that every
    // piece decides something.
    const std::size_t want = bytes_.size() + std::max<std::size_t>(pieceBytes_, 4);
    while (!atEnd_ && bytes_.size() < want) {
        const std::size_t have = bytes_.size();
        if (pull_) {
            bytes_.resize(want);
            files::Result<std::size_t> got = pull_(bytes_.data() + have, want - have);
            bytes_.resize(have + (got ? got.value() : 0));
            if (!got) {
                return got.error();
            }
            atEnd_ = got.value() == 0;
            continue;
        }
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
            return files::SystemError(files::FileError::Kind::ReadFailed, name_, errno);
        }
        atEnd_ = got == 0;
    }
    return true;
}

files::Status DocumentReader::TakeByteOrderMark() {
    if (markChecked_ || (bytes_.size() < kUtf8Bom.size() && !atEnd_)) {
        return files::Done{};
    }
    markChecked_ = true;
    // A given encoding is not guessed at: the mark is then a character.
    const std::string_view start(bytes_);
    if (choice_.encoding || start.empty()) {
        return files::Done{};
    }
    if (start.starts_with(kUtf16beBom)) {
        return files::InvalidBytes(name_, 0, "UTF-16BE");
    }
    const bool utf8 = start.starts_with(kUtf8Bom);
    if (utf8 || start.starts_with(kUtf16leBom)) {
        encoding_ = utf8 ? Encoding::Utf8 : Encoding::Utf16le;
        byteOrderMark_ = true;
        const std::size_t mark = utf8 ? kUtf8Bom.size() : kUtf16leBom.size();
        bytes_.erase(0, mark);
        offset_ += mark;
    }
    return files::Done{};
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

files::FileError DocumentReader::ChangedAt(std::uint64_t offset, const std::string& why) const {
    files::FileError error;
    error.kind = files::FileError::Kind::ReadOtherwise;
    error.path = name_;
    error.byteOffset = offset;
    error.reason = why + " at byte offset " + std::to_string(offset);
    return error;
}

files::Status DocumentReader::Decode(std::string_view& bytes, std::u16string& units) {
    if (!encoding_ || (*encoding_ != Encoding::Utf16le && IsAscii(bytes))) {
        // The same characters in CP932 and UTF-8.
        units.resize(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            units[i] = static_cast<unsigned char>(bytes[i]);
        }
        return files::Done{};
    }
    Decoded& decoded = decoded_;
    document::Decode(bytes, *encoding_, decoded);
    if (!decoded.ok && !decoded.converterMissing && encodingDetected_ &&
        *encoding_ == Encoding::Utf8 && !utf8Given_) {
        // Nothing has been given out as UTF-8 yet: what has been read is
        // CP932, as the whole-file rule would find, unless it is no text.
        const std::uint64_t utf8Error = decoded.errorOffset;
        encoding_ = Encoding::Cp932;
        bytes = std::string_view(bytes_.data(), CompleteBytes());
        document::Decode(bytes, Encoding::Cp932, decoded);
        if (!decoded.ok && !decoded.converterMissing && utf8Error > decoded.errorOffset) {
            return files::InvalidBytes(name_, offset_ + utf8Error, EncodingName(Encoding::Utf8));
        }
    }
    if (decoded.converterMissing) {
        return files::ConverterMissing(name_, EncodingName(*encoding_));
    }
    if (!decoded.ok) {
        const std::uint64_t at = offset_ + decoded.errorOffset;
        if (encodingDetected_ && *encoding_ == Encoding::Utf8) {
            return ChangedAt(at,
                             "not UTF-8, though the text before it is (the whole file would be "
                             "read as CP932)");
        }
        return files::InvalidBytes(name_, at, EncodingName(*encoding_));
    }
    utf8Given_ = *encoding_ == Encoding::Utf8;
    units.swap(decoded.text);  // both keep their storage for the next piece
    return files::Done{};
}

files::Status DocumentReader::CheckLineEnds(std::string_view bytes, std::u16string_view units) {
    if (choice_.lineEnd) {
        return files::Done{};
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
            return files::Done{};
        }
        lineEnd_ = cr == kNone ? LineEnd::Lf : LineEnd::CrLf;
    }
    if (*lineEnd_ == LineEnd::Lf && cr != kNone) {
        return ChangedAt(offset_ + cr,
                         "a CR after LF line ends (the whole file would keep its LFs in the "
                         "lines)");
    }
    return files::Done{};
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

files::Result<bool> DocumentReader::Next(std::u16string& text) {
    if (done_) {
        return false;
    }
    files::Result<bool> filled = FillBytes();
    if (!filled) {
        return filled;
    }
    if (files::Status marked = TakeByteOrderMark(); !marked) {
        return marked.error();
    }
    if (!markChecked_) {
        return true;
    }
    if (!encoding_) {
        DecideEncoding();
    }
    std::string_view piece(bytes_.data(), CompleteBytes());
    files::Status decoded = Decode(piece, units_);
    if (!decoded) {
        return decoded.error();
    }
    files::Status lineEnds = CheckLineEnds(piece, units_);
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

}  // namespace solvena::document
