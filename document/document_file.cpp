// SPDX-License-Identifier: MIT
#include "document/document_file.h"

#include <utility>

#include "document/cp932_table.h"
#include "document/text_scans.h"
#include "document/utf16.h"
#include "files/file_io.h"

namespace solvena::document {
namespace {

using scans::FindUnit;
using scans::IsAscii;
using scans::kCr;
using scans::kLf;
using scans::kUtf16beBom;
using scans::kUtf16leBom;
using scans::kUtf8Bom;

// Line and column of a code-unit index.
void Locate(std::u16string_view text, std::size_t index, std::uint64_t& line,
            std::uint64_t& column) {
    TextPlace place;
    for (std::size_t i = 0; i < index; ++i) {
        place.Pass(text[i]);
    }
    line = place.line;
    column = place.column;
}

struct Breaks {
    bool cr = false;
    bool lf = false;
};

// Whether a text holds a CR and an LF: from its bytes in an encoding of
// bytes, where those bytes are never part of another character.
Breaks FoundBreaks(std::string_view bytes, std::u16string_view text, Encoding encoding) {
    if (encoding == Encoding::Utf16le) {
        return {FindUnit(text, kCr) != std::u16string_view::npos,
                FindUnit(text, kLf) != std::u16string_view::npos};
    }
    return {bytes.find('\r') != std::string_view::npos, bytes.find('\n') != std::string_view::npos};
}

// The line end a decoded file shows: LF when every break is an LF. A file
// without any break gets the usual one of its encoding.
LineEnd FoundLineEnd(Breaks breaks, Encoding encoding) {
    if (breaks.lf && !breaks.cr) {
        return LineEnd::Lf;
    }
    if (!breaks.lf && !breaks.cr && encoding == Encoding::Utf8) {
        return LineEnd::Lf;
    }
    return LineEnd::CrLf;
}

// Every LF without a CR before it becomes CR LF.
std::u16string LoneLfToCrLf(std::u16string text) {
    std::size_t lone = 0;
    for (std::size_t i = FindUnit(text, kLf); i != std::u16string::npos;
         i = FindUnit(text, kLf, i + 1)) {
        if (i == 0 || text[i - 1] != kCr) {
            ++lone;
        }
    }
    if (lone == 0) {
        return text;
    }
    std::u16string out;
    out.reserve(text.size() + lone);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kLf && (i == 0 || text[i - 1] != kCr)) {
            out += kCr;
        }
        out += text[i];
    }
    return out;
}

// Every CR LF pair becomes LF; lone CR and LF stay.
std::u16string CrLfToLf(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kCr && i + 1 < text.size() && text[i + 1] == kLf) {
            continue;
        }
        out += text[i];
    }
    return out;
}

// Whether a CR other than one at the very end has no LF after it.
bool HasLoneCr(std::u16string_view text) {
    for (std::size_t i = FindUnit(text, kCr); i != std::u16string::npos;
         i = FindUnit(text, kCr, i + 1)) {
        if (i + 1 < text.size() && text[i + 1] != kLf) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string_view LineEndBytes(const TextFormat& format) {
    const bool lf = format.lineEnd == LineEnd::Lf;
    if (format.encoding == Encoding::Utf16le) {
        return lf ? std::string_view("\n\0", 2) : std::string_view("\r\0\n\0", 4);
    }
    return lf ? "\n" : "\r\n";
}

files::FileError UnstorableError(const std::string& path, Encoding encoding,
                                 const Unrepresentable& bad, std::uint64_t line,
                                 std::uint64_t column) {
    files::FileError error;
    error.kind = files::FileError::Kind::Unrepresentable;
    error.path = path;
    error.encoding = EncodingName(encoding);
    error.character = bad.character;
    error.count = bad.count;
    error.line = line;
    error.column = column;
    return error;
}

std::size_t IndexBeforeLfForm(std::u16string_view text, std::size_t index) {
    std::size_t original = 0;
    for (std::size_t i = 0; i < index; ++i, ++original) {
        if (text[original] == kCr && original + 1 < text.size() && text[original + 1] == kLf) {
            ++original;
        }
    }
    return original;
}

std::u16string ApplyReadingRule(std::u16string decoded, bool lfEndsLines) {
    if (lfEndsLines) {
        decoded = LoneLfToCrLf(std::move(decoded));
    }
    const std::size_t n = decoded.size();
    const bool loneCr = HasLoneCr(decoded);
    if (!loneCr) {
        // Every line ends at CR LF (the last one perhaps at a lone CR or at
        // the end), so the text is the file's own minus the empty lines at
        // its start and the last line's end.
        std::size_t start = 0;
        while (start + 1 < n && decoded[start] == kCr && decoded[start + 1] == kLf) {
            start += 2;
        }
        if (start + 1 == n && decoded[start] == kCr) {
            start = n;
        }
        std::size_t end = n;
        if (end >= start + 2 && decoded[end - 2] == kCr && decoded[end - 1] == kLf) {
            end -= 2;
        } else if (end >= start + 1 && decoded[end - 1] == kCr) {
            end -= 1;
        }
        decoded.erase(end);
        decoded.erase(0, start);
        return decoded;
    }
    std::u16string text;
    text.reserve(n + n / 8);
    std::size_t i = 0;
    while (i < n) {
        std::size_t end = decoded.find(kCr, i);
        if (end == std::u16string::npos) {
            end = n;
        }
        std::size_t next = end;
        if (end < n) {
            next = end + 1;
            if (next < n && decoded[next] == kLf) {
                ++next;
            }
        }
        // An empty text means that no line has been read yet, so empty
        // lines at the start of the file leave no trace.
        if (!text.empty()) {
            text += u"\r\n";
        }
        text.append(decoded, i, end - i);
        i = next;
    }
    return text;
}

files::Result<Document> DecodeDocument(std::string_view bytes, const ReadChoice& choice,
                                       const std::string& path) {
    TextFormat format;
    Decoded decoded;
    std::uint64_t skipped = 0;
    if (choice.encoding) {
        // A given encoding is taken as it is: a byte-order mark is the
        // character U+FEFF, so that what the writer wrote reads back.
        format.encoding = *choice.encoding;
        decoded = Decode(bytes, format.encoding);
    } else if (bytes.starts_with(kUtf8Bom)) {
        format = TextFormat(Encoding::Utf8, LineEnd::CrLf, true);
        skipped = kUtf8Bom.size();
        decoded = Decode(bytes.substr(kUtf8Bom.size()), Encoding::Utf8);
    } else if (bytes.starts_with(kUtf16leBom)) {
        format = TextFormat(Encoding::Utf16le, LineEnd::CrLf, true);
        skipped = kUtf16leBom.size();
        decoded = Decode(bytes.substr(kUtf16leBom.size()), Encoding::Utf16le);
    } else if (bytes.starts_with(kUtf16beBom)) {
        return files::InvalidBytes(path, 0, "UTF-16BE");
    } else {
        // CP932 bytes of kana and kanji are almost never valid UTF-8, while
        // short UTF-8 words often are valid CP932: UTF-8 is tried first (not
        // on ASCII, such as an enciphered text, which reads as CP932 anyway).
        const bool ascii = IsAscii(bytes);
        Decoded utf8 = ascii ? Decoded() : Decode(bytes, Encoding::Utf8);
        if (utf8.ok && !ascii) {
            format.encoding = Encoding::Utf8;
            decoded = std::move(utf8);
        } else {
            decoded = Decode(bytes, Encoding::Cp932);
            if (!decoded.ok && !decoded.converterMissing &&
                utf8.errorOffset > decoded.errorOffset) {
                // Name the encoding that read furthest: the likelier one.
                return files::InvalidBytes(path, utf8.errorOffset, EncodingName(Encoding::Utf8));
            }
        }
    }
    if (decoded.converterMissing) {
        return files::ConverterMissing(path, EncodingName(format.encoding));
    }
    if (!decoded.ok) {
        return files::InvalidBytes(path, decoded.errorOffset + skipped,
                                   EncodingName(format.encoding));
    }
    const Breaks breaks = FoundBreaks(bytes, decoded.text, format.encoding);
    format.lineEnd = choice.lineEnd ? *choice.lineEnd : FoundLineEnd(breaks, format.encoding);
    if (!choice.encoding && format.encoding == Encoding::Cp932 && format.lineEnd == LineEnd::Lf &&
        IsAscii(bytes)) {
        // Plain ASCII with LF line ends is a Linux text file: the same bytes
        // in UTF-8, which is how it is saved once it holds more.
        format.encoding = Encoding::Utf8;
    }
    if (!breaks.cr && !breaks.lf) {
        return Document{std::move(decoded.text), format};  // one line: nothing to apply
    }
    return Document{ApplyReadingRule(std::move(decoded.text), format.lineEnd == LineEnd::Lf),
                    format};
}

files::Result<std::string> EncodeDocument(std::u16string_view text, const TextFormat& format,
                                          const std::string& path) {
    std::u16string lfText;
    std::u16string_view source = text;
    if (format.lineEnd == LineEnd::Lf) {
        lfText = CrLfToLf(text);
        source = lfText;
    }
    Encoded encoded = Encode(source, format.encoding);
    if (encoded.converterMissing) {
        return files::ConverterMissing(path, EncodingName(format.encoding));
    }
    if (encoded.bad.count != 0) {
        // Lines and columns as the person sees them, in the text itself.
        const std::size_t index = source.data() == text.data()
                                      ? encoded.bad.index
                                      : IndexBeforeLfForm(text, encoded.bad.index);
        std::uint64_t line = 0;
        std::uint64_t column = 0;
        Locate(text, index, line, column);
        return UnstorableError(path, format.encoding, encoded.bad, line, column);
    }
    encoded.bytes.append(LineEndBytes(format));
    if (format.byteOrderMark && format.encoding != Encoding::Cp932) {
        encoded.bytes.insert(0, format.encoding == Encoding::Utf8 ? kUtf8Bom : kUtf16leBom);
    }
    return std::move(encoded.bytes);
}

std::uint64_t CountLookAlikes(std::u16string_view text, std::string_view cp932, std::size_t& first,
                              char16_t& becomes) {
    if (const detail::Cp932Table* table = detail::Cp932()) {
        const char16_t* back = table->readsBackAs.data();
        std::uint64_t count = 0;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (back[text[i]] != text[i] && count++ == 0) {
                first = i;
                becomes = back[text[i]];
            }
        }
        return count;
    }
    // Every character of a storable text is one code unit and comes back as
    // one: what differs after the way there and back is a look-alike.
    const Decoded back = Decode(cp932, Encoding::Cp932);
    if (!back.ok || back.text.size() != text.size()) {
        return 0;
    }
    std::uint64_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (back.text[i] != text[i]) {
            if (count++ == 0) {
                first = i;
                becomes = back.text[i];
            }
        }
    }
    return count;
}

std::optional<LookAlikes> FindLookAlikes(std::u16string_view text) {
    Encoded encoded = Encode(text, Encoding::Cp932);
    if (encoded.converterMissing || encoded.bad.count != 0) {
        return std::nullopt;
    }
    LookAlikes found;
    std::size_t first = 0;
    found.count = CountLookAlikes(text, encoded.bytes, first, found.becomes);
    if (found.count == 0) {
        return std::nullopt;
    }
    found.first = text[first];
    Locate(text, first, found.line, found.column);
    return found;
}

files::Result<Document> ReadDocumentFile(const std::string& path, const ReadChoice& choice) {
    files::Result<std::string> bytes = files::ReadWholeFile(path);
    if (!bytes) {
        return bytes.error();
    }
    return DecodeDocument(bytes.value(), choice, path);
}

files::Status WriteDocumentFile(const std::string& path, std::u16string_view text,
                                const TextFormat& format, const files::NewFileRules& rules) {
    files::Result<std::string> bytes = EncodeDocument(text, format, path);
    if (!bytes) {
        return bytes.error();
    }
    return files::WriteFileSafely(path, bytes.value(), rules);
}

}  // namespace solvena::document
