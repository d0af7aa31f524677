#include "codepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>

#include "cp932_table.h"
#include "utf16.h"

namespace solvena::files {
namespace {

static_assert(std::endian::native == std::endian::little,
              "UTF-16LE buffers are handed to the converter as they are");

bool WindowsByteToUnit(unsigned char byte, char16_t& unit) {
    for (const detail::ByteMapping& m : detail::kWindowsSingleBytes) {
        if (m.byte == byte) {
            unit = m.unit;
            return true;
        }
    }
    return false;
}

bool WindowsUnitToByte(char16_t unit, char& byte) {
    for (const detail::ByteMapping& m : detail::kWindowsSingleBytes) {
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

// Decodes bytes[from..] with the converter into result.text from `out` on,
// which has room for it; at the first invalid sequence, records its offset.
void DecodeRest(Converter& converter, std::string_view bytes, std::size_t from, Encoding encoding,
                Decoded& result, char16_t* outUnits) {
    const char* in = bytes.data() + from;
    std::size_t inLeft = bytes.size() - from;
    char* const outBegin = reinterpret_cast<char*>(result.text.data());
    char* out = reinterpret_cast<char*>(outUnits);
    std::size_t outLeft = result.text.size() * 2 - static_cast<std::size_t>(out - outBegin);
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
        return;
    }
    result.text.resize(static_cast<std::size_t>(out - outBegin) / 2);
    result.ok = true;
}

// Encodes text[begin..end) with the converter from `out` on, counting the
// characters it cannot hold.
void EncodeRange(Converter& converter, std::u16string_view text, std::size_t begin, std::size_t end,
                 Encoding encoding, Encoded& result, char*& out) {
    const char* const inBegin = reinterpret_cast<const char*>(text.data());
    const char* in = inBegin + begin * 2;
    std::size_t inLeft = (end - begin) * 2;
    std::size_t outLeft = result.bytes.size() - static_cast<std::size_t>(out - result.bytes.data());
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
        if (IsHighSurrogate(unit) && index + 1 < end && IsLowSurrogate(text[index + 1])) {
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
}

// Eight bytes below 0x80, read as eight code units of the same value.
inline bool WidenAscii(const unsigned char* in, char16_t* out) {
    std::uint64_t word = 0;
    std::memcpy(&word, in, 8);
    if ((word & 0x8080808080808080u) != 0) {
        return false;
    }
    for (int k = 0; k < 8; ++k) {
        out[k] = in[k];
    }
    return true;
}

// Code page 932 through the table; the converter takes over at the first
// code the table has no answer for, and finds the error where it always did.
Decoded DecodeCp932(std::string_view bytes, const detail::Cp932Table& table) {
    using detail::Cp932Table;
    Decoded result;
    result.text.resize(bytes.size());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    char16_t* out = result.text.data();
    std::size_t i = 0;
    while (i < size) {
        if (table.asciiAsItIs && size - i >= 8 && WidenAscii(in + i, out)) {
            i += 8;
            out += 8;
            continue;
        }
        const std::int32_t single = table.single[in[i]];
        if (single >= 0) {
            *out++ = static_cast<char16_t>(single);
            ++i;
            continue;
        }
        const std::int32_t pair = single == Cp932Table::kLeadByte && i + 1 < size
                                      ? table.pair[in[i] * 256u + in[i + 1]]
                                      : Cp932Table::kNoUnit;
        if (pair < 0) {
            Converter converter("UTF-16LE", "WINDOWS-31J");
            DecodeRest(converter, bytes, i, Encoding::Cp932, result, out);
            return result;
        }
        *out++ = static_cast<char16_t>(pair);
        i += 2;
    }
    result.text.resize(static_cast<std::size_t>(out - result.text.data()));
    result.ok = true;
    return result;
}

// Code page 932 through the table; each character it has no code for goes
// to the converter, which writes or counts it as it always did.
Encoded EncodeCp932(std::u16string_view text, const detail::Cp932Table& table) {
    using detail::Cp932Table;
    Encoded result;
    result.bytes.resize(text.size() * 2);
    char* out = result.bytes.data();
    std::unique_ptr<Converter> converter;
    for (std::size_t i = 0; i < text.size();) {
        const std::uint16_t code = table.code[text[i]];
        if (code < 0x100) {
            *out++ = static_cast<char>(code);
            ++i;
        } else if (code != Cp932Table::kNoCode) {
            out[0] = static_cast<char>(code >> 8);
            out[1] = static_cast<char>(code);
            out += 2;
            ++i;
        } else {
            if (converter == nullptr) {
                converter = std::make_unique<Converter>("WINDOWS-31J", "UTF-16LE");
            }
            const bool pair =
                IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
            const std::size_t end = i + (pair ? 2 : 1);
            EncodeRange(*converter, text, i, end, Encoding::Cp932, result, out);
            i = end;
        }
    }
    result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
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
    if (encoding == Encoding::Cp932) {
        if (const detail::Cp932Table* table = detail::Cp932()) {
            return DecodeCp932(bytes, *table);
        }
    }
    Decoded result;
    Converter converter("UTF-16LE", IconvName(encoding));
    if (!converter.valid()) {
        result.converterMissing = true;
        return result;
    }
    // No encoding tried here yields more code units than it has bytes.
    result.text.resize(bytes.size());
    DecodeRest(converter, bytes, 0, encoding, result, result.text.data());
    return result;
}

Encoded Encode(std::u16string_view text, Encoding encoding) {
    Encoded result;
    if (encoding == Encoding::Utf16le) {
        result.bytes.assign(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        return result;
    }
    if (encoding == Encoding::Cp932) {
        if (const detail::Cp932Table* table = detail::Cp932()) {
            return EncodeCp932(text, *table);
        }
    }
    Converter converter(IconvName(encoding), "UTF-16LE");
    if (!converter.valid()) {
        result.converterMissing = true;
        return result;
    }
    // CP932 takes at most two bytes per code unit, UTF-8 at most three.
    const std::size_t perUnit = encoding == Encoding::Utf8 ? 3 : 2;
    result.bytes.resize(text.size() * perUnit);
    char* out = result.bytes.data();
    EncodeRange(converter, text, 0, text.size(), encoding, result, out);
    result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
    return result;
}

}  // namespace solvena::files
