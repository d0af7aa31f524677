// SPDX-License-Identifier: MIT
#include "tests/support/random_text.h"

#include <codecvt>
#include <locale>

namespace solvena::testing {

std::u16string RandomUnits(std::mt19937& rng, std::size_t length) {
    static constexpr char16_t kSpecial[] = {u'\r',  u'\n',  0,      0xD800, 0xDBFF,
                                            0xDC00, 0xDFFF, 0xFFFF, 0x8000, 0x7FFF};
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    std::uniform_int_distribution<int> pick(0, 9);
    std::u16string text;
    text.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        // Favour the units with a meaning of their own now and then.
        switch (pick(rng)) {
            case 0:
                text.push_back(kSpecial[static_cast<std::size_t>(unit(rng)) % std::size(kSpecial)]);
                break;
            default:
                text.push_back(static_cast<char16_t>(unit(rng)));
        }
    }
    return text;
}

std::u16string RandomJapanese(std::mt19937& rng, std::size_t length) {
    static constexpr char16_t kCommon[] =
        u"のにはをたがでてとしれさいあるなもかうょっんこ日本語文字暗号化解読読書"
        u"東京都市時間問題開発者責任負機能確認保存新規作成終了"
        u"、。「」・ー";
    std::uniform_int_distribution<int> kind(0, 19);
    std::uniform_int_distribution<int> common(0, static_cast<int>(std::size(kCommon)) - 2);
    std::uniform_int_distribution<int> kanji(0x4E00, 0x9FFF);
    std::uniform_int_distribution<int> ascii(0x20, 0x7E);
    std::u16string text;
    text.reserve(length + 1);
    while (text.size() < length) {
        const int k = kind(rng);
        if (k < 10) {
            text.push_back(kCommon[common(rng)]);
        } else if (k < 15) {
            text.push_back(static_cast<char16_t>(kanji(rng)));
        } else if (k < 19) {
            text.push_back(static_cast<char16_t>(ascii(rng)));
        } else if (text.size() + 2 <= length) {
            text += u"\r\n";
        }
    }
    return text;
}

// std::wstring_convert is deprecated but still the shortest exact converter
// in the standard library for test inputs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
std::u16string FromUtf8(std::string_view utf8) {
    std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> convert;
    return convert.from_bytes(utf8.data(), utf8.data() + utf8.size());
}

std::string ToUtf8(std::u16string_view text) {
    std::wstring_convert<std::codecvt_utf8_utf16<char16_t>, char16_t> convert;
    return convert.to_bytes(text.data(), text.data() + text.size());
}
#pragma GCC diagnostic pop

}  // namespace solvena::testing
