#include "codepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>

#include "utf16.h"

namespace solvena::files {
namespace {

static_assert(std::endian::native == std::endian::little,
              "UTF-16LE buffers are handed to the converter as they are");

// Single bytes that Windows reads in code page 932 but the converter does not.
struct ByteMapping {
    unsigned char byte;
    char16_t unit;
};
constexpr ByteMapping kWindowsSingleBytes[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'},
};

bool WindowsByteToUnit(unsigned char byte, char16_t& unit) {
    for (const ByteMapping& m : kWindowsSingleBytes) {
        if (m.byte == byte) {
            unit = m.unit;
            return true;
        }
    }
    return false;
}

bool WindowsUnitToByte(char16_t unit, char& byte) {
    for (const ByteMapping& m : kWindowsSingleBytes) {
        if (m.unit == unit) {
            byte = static_cast<char>(m.byte);
            return true;
        }
    }
    return false;
}

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // One call of iconv; returns errno (0 on success).
    int Convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        char* inPtr = const_cast<char*>(in);
        const std::size_t result = iconv(cd_, &inPtr, &inLeft, &out, &outLeft);
        in = inPtr;
        return result == static_cast<std::size_t>(-1) ? errno : 0;
    }

    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t cd_;
};

const char* IconvName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Cp932:
            return "WINDOWS-31J";
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Utf16le:
            return "UTF-16LE";
    }
    return "UTF-8";
}

Decoded DecodeUtf16le(std::string_view bytes) {
    Decoded result;
    const std::size_t units = bytes.size() / 2;
    result.text.resize(units);
    std::memcpy(result.text.data(), bytes.data(), units * 2);
    result.ok = bytes.size() % 2 == 0;
    result.errorOffset = result.ok ? 0 : bytes.size() - 1;
    if (!result.ok) {
        result.text.clear();
    }
    return result;
}

}  // namespace

const char* EncodingName(Encoding encoding) {
    switch (encoding) {
        case Encoding::Cp932:
            return "CP932";
        case Encoding::Utf8:
            return "UTF-8";
        case Encoding::Utf16le:
            return "UTF-16LE";
    }
    return "";
}

Decoded Decode(std::string_view bytes, Encoding encoding) {
    if (encoding == Encoding::Utf16le) {
        return DecodeUtf16le(bytes);
    }
    Decoded result;
    Converter converter("UTF-16LE", IconvName(encoding));
    if (!converter.valid()) {
        result.converterMissing = true;
        return result;
    }
    // No encoding tried here yields more code units than it has bytes.
    result.text.resize(bytes.size());
    const char* in = bytes.data();
    std::size_t inLeft = bytes.size();
    char* const outBegin = reinterpret_cast<char*>(result.text.data());
    char* out = outBegin;
    std::size_t outLeft = result.text.size() * 2;
    while (inLeft > 0) {
        const int error = converter.Convert(in, inLeft, out, outLeft);
        if (error == 0) {
            break;
        }
        char16_t unit = 0;
        if (error == EILSEQ && encoding == Encoding::Cp932 &&
            WindowsByteToUnit(static_cast<unsigned char>(*in), unit)) {
            std::memcpy(out, &unit, 2);
            out += 2;
            outLeft -= 2;
            ++in;
            --inLeft;
            converter.Reset();
            continue;
        }
        // EILSEQ: an invalid sequence; EINVAL: a sequence cut off at the end.
        result.errorOffset = static_cast<std::uint64_t>(in - bytes.data());
        result.text.clear();
        return result;
    }
    result.text.resize(static_cast<std::size_t>(out - outBegin) / 2);
    result.ok = true;
    return result;
}

Encoded Encode(std::u16string_view text, Encoding encoding) {
    Encoded result;
    if (encoding == Encoding::Utf16le) {
        result.bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        return result;
    }
    Converter converter(IconvName(encoding), "UTF-16LE");
    if (!converter.valid()) {
        result.converterMissing = true;
        return result;
    }
    // CP932 takes at most two bytes per code unit, UTF-8 at most three.
    const std::size_t perUnit = encoding == Encoding::Utf8 ? 3 : 2;
    result.bytes.resize(text.size() * perUnit);
    const char* const inBegin = reinterpret_cast<const char*>(text.data());
    const char* in = inBegin;
    std::size_t inLeft = text.size() * 2;
    char* const outBegin = result.bytes.data();
    char* out = outBegin;
    std::size_t outLeft = result.bytes.size();
    while (inLeft > 0) {
        const int error = converter.Convert(in, inLeft, out, outLeft);
        if (error == 0) {
            break;
        }
        const std::size_t index = static_cast<std::size_t>(in - inBegin) / 2;
        const char16_t unit = text[index];
        char byte = 0;
        if (error == EILSEQ && encoding == Encoding::Cp932 && WindowsUnitToByte(unit, byte)) {
            *out++ = byte;
            --outLeft;
            in += 2;
            inLeft -= 2;
            converter.Reset();
            continue;
        }
        // A character the encoding cannot hold: count it and go on, so that
        // the caller can say how many there are.
        std::size_t units = 1;
        char32_t character = unit;
        if (IsHighSurrogate(unit) && index + 1 < text.size() && IsLowSurrogate(text[index + 1])) {
            units = 2;
            character = 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (text[index + 1] - 0xDC00);
        }
        if (result.bad.count == 0) {
            result.bad.index = index;
            result.bad.character = character;
        }
        ++result.bad.count;
        in += units * 2;
        inLeft -= units * 2;
        converter.Reset();
    }
    result.bytes.resize(static_cast<std::size_t>(out - outBegin));
    return result;
}

}  // namespace solvena::files
