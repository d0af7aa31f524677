// SPDX-License-Identifier: MIT
#include "document/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "document/cp932_blocks.h"
#include "document/cp932_table.h"
#include "document/iconv_converter.h"
#include "document/utf16.h"

namespace solvena::document {
namespace {

using detail::Converter;

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

void DecodeUtf16le(std::string_view bytes, Decoded& result) {
    const std::size_t units = bytes.size() / 2;
    result.text.resize(units);
    std::memcpy(result.text.data(), bytes.data(), units * 2);
    result.ok = bytes.size() % 2 == 0;
    result.errorOffset = result.ok ? 0 : bytes.size() - 1;
    if (!result.ok) {
        result.text.clear();
    }
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

// Counts the character at text[index] (two units for a surrogate pair
// within `end`) as one the encoding cannot hold; returns its units.
std::size_t CountUnencoded(std::u16string_view text, std::size_t index, std::size_t end,
                           Encoded& result) {
    const char16_t unit = text[index];
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
    return units;
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
        if (error == E2BIG) {
            // Out of room is no character the encoding lacks: make more.
            const std::size_t written = static_cast<std::size_t>(out - result.bytes.data());
            result.bytes.resize(result.bytes.size() * 2 + 16);
            out = result.bytes.data() + written;
            outLeft = result.bytes.size() - written;
            continue;
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
        const std::size_t units = CountUnencoded(text, index, end, result);
        in += units * 2;
        inLeft -= units * 2;
        converter.Reset();
    }
}

// Code page 932 through the table; the converter takes over at the first
// code the table has no answer for, and finds the error where it always did.
void DecodeCp932(std::string_view bytes, const detail::Cp932Table& table, Decoded& result) {
    using detail::Cp932Table;
    result.text.resize(bytes.size());
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t size = bytes.size();
    char16_t* out = result.text.data();
    const auto rest = [&](std::size_t from) {
        Converter converter("UTF-16LE", "WINDOWS-31J");
        if (!converter.valid()) {
            // A table carried in the build is all there is: no code there.
            result.errorOffset = from;
            result.text.clear();
            return;
        }
        DecodeRest(converter, bytes, from, Encoding::Cp932, result, out);
    };
    // 64 bytes at a time, the byte after the block read too.
    std::size_t block = 0;
    bool trailFirst = false;
    for (; size - block > 64; block += 64) {
        if (!trailFirst && blocks::SinglesOnly(in + block, table, out)) {
            out += 64;
            continue;
        }
        const std::uint64_t pairLeads =
            blocks::PairLeads(blocks::LeadBytes(in + block, table), trailFirst);
        const std::size_t failed =
            blocks::DecodeBlock(in, block, pairLeads, trailFirst, table, out);
        if (failed != blocks::kAllRead) {
            rest(failed);
            return;
        }
        trailFirst = (pairLeads >> 63) != 0;
    }
    for (std::size_t i = block + (trailFirst ? 1 : 0); i < size;) {
        const std::int32_t single = table.single[in[i]];
        const std::int32_t pair = single == Cp932Table::kLeadByte && i + 1 < size
                                      ? table.pair[in[i] * 256u + in[i + 1]]
                                      : Cp932Table::kNoUnit;
        const std::int32_t unit = single == Cp932Table::kLeadByte ? pair : single;
        if (unit < 0) {
            rest(i);
            return;
        }
        *out++ = static_cast<char16_t>(unit);
        i += single == Cp932Table::kLeadByte ? 2 : 1;
    }
    result.text.resize(static_cast<std::size_t>(out - result.text.data()));
    result.ok = true;
}

// Code page 932 through the table; each character it has no code for goes
// to the converter, which writes or counts it as it always did.
Encoded EncodeCp932(std::u16string_view text, const detail::Cp932Table& table) {
    using detail::Cp932Table;
    Encoded result;
    result.bytes.resize(text.size() * 2);
    char* out = result.bytes.data();
    std::unique_ptr<Converter> converter;
    const char16_t* const units = text.data();
    const std::uint16_t* const codes = table.code.data();
    for (std::size_t i = 0; i < text.size();) {
        const unsigned code = codes[units[i]];
        if (code != Cp932Table::kNoCode) {
            // Both bytes written either way, without a branch on the length.
            const unsigned two = code > 0xFF ? 1 : 0;
            out[0] = static_cast<char>(code >> (8 * two));
            out[1] = static_cast<char>(code);
            out += 1 + two;
            ++i;
        } else {
            if (converter == nullptr) {
                converter = std::make_unique<Converter>("WINDOWS-31J", "UTF-16LE");
            }
            const bool pair =
                IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1]);
            const std::size_t end = i + (pair ? 2 : 1);
            if (converter->valid()) {
                // A copy whose address may escape, so that `out` stays in a register.
                char* converted = out;
                EncodeRange(*converter, text, i, end, Encoding::Cp932, result, converted);
                out = converted;
            } else {
                CountUnencoded(text, i, end, result);  // the table is all there is
            }
            i = end;
        }
    }
    result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
    return result;
}

}  // namespace

Decoded Decode(std::string_view bytes, Encoding encoding) {
    Decoded result;
    Decode(bytes, encoding, result);
    return result;
}

void Decode(std::string_view bytes, Encoding encoding, Decoded& result) {
    result.ok = false;
    result.errorOffset = 0;
    result.converterMissing = false;
    if (encoding == Encoding::Utf16le) {
        DecodeUtf16le(bytes, result);
        return;
    }
    if (encoding == Encoding::Cp932) {
        if (const detail::Cp932Table* table = detail::Cp932()) {
            DecodeCp932(bytes, *table, result);
            return;
        }
    }
    Converter converter("UTF-16LE", EntryOf(encoding).iconvName);
    if (!converter.valid()) {
        result.converterMissing = true;
        return;
    }
    // No encoding tried here yields more code units than it has bytes.
    result.text.resize(bytes.size());
    DecodeRest(converter, bytes, 0, encoding, result, result.text.data());
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
    Converter converter(EntryOf(encoding).iconvName, "UTF-16LE");
    if (!converter.valid()) {
        result.converterMissing = true;
        return result;
    }
    // Room for the most each unit can become: the converter never runs out.
    result.bytes.resize(text.size() * EntryOf(encoding).mostBytesPerUnit);
    char* out = result.bytes.data();
    EncodeRange(converter, text, 0, text.size(), encoding, result, out);
    result.bytes.resize(static_cast<std::size_t>(out - result.bytes.data()));
    return result;
}

}  // namespace solvena::document
