// SPDX-License-Identifier: MIT
// Code page 932 through the table against the system's converter itself,
// asked plainly, one whole input at a time: every single- and double-byte
// code and every code unit, then random mixtures with invalid bytes and
// characters the code page cannot hold.

#include <iconv.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "document/codepage.h"

namespace solvena::document {
namespace {

// The five single bytes Windows maps and the converter rejects.
bool Mended(unsigned char byte, char16_t& unit) {
    const std::pair<unsigned char, char16_t> mended[] = {
        {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'},
        {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'},
    };
    for (const auto& [b, u] : mended) {
        if (b == byte) {
            unit = u;
        }
    }
    return byte == 0x80 || byte == 0xA0 || byte >= 0xFD;
}

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() { iconv_close(cd_); }
    // Converts from `in` on into `out`; returns errno, 0 when all went.
    int Convert(const char*& in, std::size_t& left, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char buffer[4096];
        char* to = buffer;
        std::size_t room = sizeof buffer;
        char* from = const_cast<char*>(in);
        const std::size_t result = iconv(cd_, &from, &left, &to, &room);
        const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
        in = from;
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        return error;
    }

  private:
    iconv_t cd_;
};

Decoded ConverterDecode(std::string_view bytes) {
    Converter converter("UTF-16LE", "WINDOWS-31J");
    std::string units;
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    Decoded result;
    while (left > 0) {
        const int error = converter.Convert(in, left, units);
        char16_t unit = 0;
        if (error == 0) {
            break;
        }
        if (error == EILSEQ && Mended(static_cast<unsigned char>(*in), unit)) {
            units.append(reinterpret_cast<const char*>(&unit), 2);
            ++in;
            --left;
            continue;
        }
        result.errorOffset = static_cast<std::uint64_t>(in - bytes.data());
        return result;
    }
    result.text.assign(reinterpret_cast<const char16_t*>(units.data()), units.size() / 2);
    result.ok = true;
    return result;
}

void ExpectDecodesAsTheConverter(std::string_view bytes) {
    const Decoded expected = ConverterDecode(bytes);
    const Decoded decoded = Decode(bytes, Encoding::Cp932);
    ASSERT_EQ(decoded.ok, expected.ok) << testing::PrintToString(std::string(bytes));
    ASSERT_EQ(decoded.errorOffset, expected.errorOffset);
    ASSERT_EQ(decoded.text, expected.text);
}

// One character at a time, as the converter sees it: its bytes, or a count
// of one character it cannot hold.
void ExpectEncodesAsTheConverter(std::u16string_view text) {
    Converter converter("WINDOWS-31J", "UTF-16LE");
    std::string bytes;
    std::uint64_t bad = 0;
    std::size_t firstBad = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() &&
                          text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
        const char* in = reinterpret_cast<const char*>(text.data() + i);
        std::size_t left = pair ? 4 : 2;
        const std::pair<char16_t, char> mended[] = {
            {u'\u0080', '\x80'}, {u'\uF8F0', '\xA0'}, {u'\uF8F1', '\xFD'},
            {u'\uF8F2', '\xFE'}, {u'\uF8F3', '\xFF'},
        };
        if (converter.Convert(in, left, bytes) != 0) {
            bool found = false;
            for (const auto& [unit, byte] : mended) {
                if (unit == text[i]) {
                    bytes += byte;
                    found = true;
                }
            }
            if (!found && bad++ == 0) {
                firstBad = i;
            }
        }
        i += pair ? 1 : 0;
    }
    const Encoded encoded = Encode(text, Encoding::Cp932);
    ASSERT_EQ(encoded.bad.count, bad);
    if (bad == 0) {
        ASSERT_EQ(encoded.bytes, bytes);
    } else {
        ASSERT_EQ(encoded.bad.index, firstBad);
    }
}

TEST(CodePageTableTest, EverySingleAndDoubleByteCodeReadsAsTheConverterReadsIt) {
    for (int first = 0; first < 256; ++first) {
        const std::string single(1, static_cast<char>(first));
        ExpectDecodesAsTheConverter(single);
        ExpectDecodesAsTheConverter("ab" + single);
        for (int second = 0; second < 256; ++second) {
            ExpectDecodesAsTheConverter(single + static_cast<char>(second));
        }
    }
}

TEST(CodePageTableTest, EveryCodeUnitIsWrittenAsTheConverterWritesIt) {
    for (char32_t u = 0; u < 0x10000; ++u) {
        const char16_t unit = static_cast<char16_t>(u);
        ExpectEncodesAsTheConverter(std::u16string_view(&unit, 1));
    }
    ExpectEncodesAsTheConverter(u"\U0001F600\U00020B9F");
}

// Characters are found 64 bytes at a time; an invalid byte, a lead byte
// without its trail byte or a mended byte at every place of a long text
// must be read where the converter reads it, across the blocks' seams; in
// a mixed text and in ASCII, whose blocks are read by a quicker way.
TEST(CodePageTableTest, OneOddByteAtEveryPlaceOfALongText) {
    std::string mixed;
    while (mixed.size() < 300) {
        mixed +=
            "\x88\x9F\x81\x81"
            "ab\x82\xA0\xB1\xE0\xE0";
    }
    std::string ascii;
    for (int b = 0; ascii.size() < 300; b = (b + 1) % 128) {
        ascii += static_cast<char>(b);
    }
    for (const std::string& text : {mixed, ascii}) {
        for (const char odd : {'\x85', '\x81', '\xFD', '\xA0', '\x00'}) {
            for (std::size_t at = 0; at < text.size(); ++at) {
                std::string bytes = text;
                bytes[at] = odd;
                ExpectDecodesAsTheConverter(bytes);
                ExpectDecodesAsTheConverter(bytes.substr(0, at + 1));
            }
        }
    }
}

TEST(CodePageTableTest, MixturesAgreeWithTheConverter) {
    std::mt19937 rng(932);
    std::uniform_int_distribution<int> length(0, 150);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> stray(0, 60);
    const char16_t units[] = {u'a',   u'\r',  u'あ',     u'語',     u'\u00E9', u'\uF8F1',
                              0xD800, 0xDC00, u'\u301C', u'\uFFFF', u'\uE000', u'ｱ'};
    std::uniform_int_distribution<std::size_t> unit(0, std::size(units) - 1);
    for (int round = 0; round < 10000; ++round) {
        std::string bytes;
        std::u16string text;
        const int n = length(rng);
        for (int i = 0; i < n; ++i) {
            // Valid text, or with a stray byte now and then; trail bytes
            // that look like lead bytes make long runs of them.
            const std::string valid[] = {"a",        "\x82\xA0", "\x8C\xEA", "\xB1",
                                         "\xFD",     "\xF0\x40", "\x81\x81", "\x88\x9F",
                                         "\xE0\xE0", "\x9F\xFC"};
            bytes += round % 2 == 1 && stray(rng) == 0
                         ? std::string(1, static_cast<char>(byte(rng)))
                         : valid[static_cast<std::size_t>(byte(rng)) % std::size(valid)];
            text += units[unit(rng)];
        }
        ExpectDecodesAsTheConverter(bytes);
        ExpectEncodesAsTheConverter(text);
    }
}

}  // namespace
}  // namespace solvena::document
