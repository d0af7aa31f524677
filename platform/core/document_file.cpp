#include "document_file.h"

#include <utility>

#include "file_io.h"
#include "utf16.h"

namespace solvena::files {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Line and column (both from 1, columns in characters) of a code-unit index,
// counting CR LF, a lone CR and a lone LF each as one line break, as an
// editor shows them.
void Locate(std::u16string_view text, std::size_t index, std::uint64_t& line,
            std::uint64_t& column) {
    line = 1;
    column = 1;
    for (std::size_t i = 0; i < index; ++i) {
        const char16_t c = text[i];
        if (c == kCr || c == kLf) {
            if (c == kCr && i + 1 < index && text[i + 1] == kLf) {
                ++i;
            }
            ++line;
            column = 1;
        } else if (!(IsLowSurrogate(c) && i > 0 && IsHighSurrogate(text[i - 1]))) {
            ++column;
        }
    }
}

FileError InvalidBytes(const std::string& path, std::uint64_t offset, Encoding encoding) {
    FileError error;
    error.kind = FileError::Kind::InvalidBytes;
    error.path = path;
    error.byteOffset = offset;
    error.encoding = EncodingName(encoding);
    return error;
}

FileError ConverterMissing(const std::string& path, Encoding encoding) {
    FileError error;
    error.kind = FileError::Kind::ConverterMissing;
    error.path = path;
    error.encoding = EncodingName(encoding);
    return error;
}

}  // namespace

std::u16string ApplyReadingRule(std::u16string decoded) {
    const std::size_t n = decoded.size();
    bool loneCr = false;
    for (std::size_t i = decoded.find(kCr); i != std::u16string::npos;
         i = decoded.find(kCr, i + 1)) {
        if (i + 1 == n) {
            break;  // the end of the last line
        }
        if (decoded[i + 1] != kLf) {
            loneCr = true;
            break;
        }
    }
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

Result<std::u16string> DecodeDocument(std::string_view bytes, std::optional<Encoding> encoding,
                                      const std::string& path) {
    if (encoding) {
        // A given encoding is taken as it is: a byte-order mark is the
        // character U+FEFF, so that what the writer wrote reads back.
        Decoded decoded = Decode(bytes, *encoding);
        if (decoded.converterMissing) {
            return ConverterMissing(path, *encoding);
        }
        if (!decoded.ok) {
            return InvalidBytes(path, decoded.errorOffset, *encoding);
        }
        return ApplyReadingRule(std::move(decoded.text));
    }
    if (bytes.starts_with(kUtf8Bom)) {
        Decoded decoded = Decode(bytes.substr(kUtf8Bom.size()), Encoding::Utf8);
        if (decoded.converterMissing) {
            return ConverterMissing(path, Encoding::Utf8);
        }
        if (!decoded.ok) {
            return InvalidBytes(path, decoded.errorOffset + kUtf8Bom.size(), Encoding::Utf8);
        }
        return ApplyReadingRule(std::move(decoded.text));
    }
    Decoded cp932 = Decode(bytes, Encoding::Cp932);
    if (cp932.converterMissing) {
        return ConverterMissing(path, Encoding::Cp932);
    }
    if (cp932.ok) {
        return ApplyReadingRule(std::move(cp932.text));
    }
    Decoded utf8 = Decode(bytes, Encoding::Utf8);
    if (utf8.ok) {
        return ApplyReadingRule(std::move(utf8.text));
    }
    // Name the encoding that read furthest: the likelier one.
    if (utf8.errorOffset > cp932.errorOffset) {
        return InvalidBytes(path, utf8.errorOffset, Encoding::Utf8);
    }
    return InvalidBytes(path, cp932.errorOffset, Encoding::Cp932);
}

Result<std::string> EncodeDocument(std::u16string_view text, Encoding encoding,
                                   const std::string& path) {
    Encoded encoded = Encode(text, encoding);
    if (encoded.converterMissing) {
        return ConverterMissing(path, encoding);
    }
    if (encoded.bad.count != 0) {
        FileError error;
        error.kind = FileError::Kind::Unrepresentable;
        error.path = path;
        error.encoding = EncodingName(encoding);
        error.character = encoded.bad.character;
        error.count = encoded.bad.count;
        Locate(text, encoded.bad.index, error.line, error.column);
        return error;
    }
    if (encoding == Encoding::Utf16le) {
        encoded.bytes.append("\r\0\n\0", 4);
    } else {
        encoded.bytes.append("\r\n");
    }
    return std::move(encoded.bytes);
}

Result<std::u16string> ReadDocumentFile(const std::string& path, std::optional<Encoding> encoding) {
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) {
        return bytes.error();
    }
    return DecodeDocument(bytes.value(), encoding, path);
}

Status WriteDocumentFile(const std::string& path, std::u16string_view text, Encoding encoding) {
    Result<std::string> bytes = EncodeDocument(text, encoding, path);
    if (!bytes) {
        return bytes.error();
    }
    return WriteFileSafely(path, bytes.value());
}

}  // namespace solvena::files
