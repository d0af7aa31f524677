// SPDX-License-Identifier: MIT
#include "tests/support/oracles.h"

#include "cipher/alphabet.h"

namespace solvena::testing {

std::u16string WithoutBreaks(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == u'\r') {
            i += 2;
        } else {
            out.push_back(text[i++]);
        }
    }
    return out;
}

namespace {

double Digit(const std::u16string& symbol) {
    return symbol.empty() ? 0.0 : *cipher::ts(symbol);
}

}  // namespace

std::u16string ReferenceDecipher(std::u16string_view raw, std::int16_t pass) {
    const std::u16string text = WithoutBreaks(raw);
    std::u16string out;
    int cycle = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        cycle = cycle + 1 > 20 ? 1 : cycle + 1;
        const std::int32_t groupPass = cycle % 2 == 1 ? -pass : pass;
        const char16_t s1 = text[pos];
        if (s1 == u'Z') {
            break;
        }
        const bool minus = s1 == u'-';
        std::u16string s[5] = {std::u16string(1, s1)};
        for (std::size_t k = 1; k < 5; ++k) {
            s[k] = pos + k < text.size() ? std::u16string(1, text[pos + k]) : u"";
        }
        std::size_t length = 0;
        for (std::size_t k = 1; k < 5 && length == 0; ++k) {
            if (cipher::ts2(s[k]) == "G") {
                length = k;
            }
        }
        double value = 0;
        switch (length) {
            case 1:
                value = Digit(s[0]);
                break;
            case 2:
                value = minus ? -Digit(s[1]) : 43 * Digit(s[0]) + Digit(s[1]);
                break;
            case 3:
                value = minus ? -(43 * Digit(s[1]) + Digit(s[2]))
                              : 1849 * Digit(s[0]) + 43 * Digit(s[1]) + Digit(s[2]);
                break;
            case 4:
                value = -(1849 * Digit(s[1]) + 43 * Digit(s[2]) + Digit(s[3]));
                break;
        }
        if (length != 0) {
            const auto code = static_cast<std::int32_t>(value) + groupPass;
            out.push_back(static_cast<char16_t>(static_cast<std::uint32_t>(code)));
            pos += length;
        }
        pos += 1;
    }
    return out;
}

std::u16string ReadLineByLine(std::u16string_view in) {
    std::u16string text;
    std::size_t i = 0;
    while (i < in.size()) {
        std::u16string line;
        while (i < in.size() && in[i] != u'\r') {
            line += in[i++];
        }
        if (i < in.size()) {
            ++i;
            if (i < in.size() && in[i] == u'\n') {
                ++i;
            }
        }
        text = text.empty() ? line : text + u"\r\n" + line;
    }
    return text;
}

}  // namespace solvena::testing
