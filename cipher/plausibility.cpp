// SPDX-License-Identifier: MIT
#include "plausibility.h"

#include <array>
#include <string_view>

namespace solvena::cipher {
namespace {

constexpr std::uint8_t kCp932KindBytes[] = {
#include "cp932_kinds.inc"
};

enum Cp932Kind { kNotCp932 = 0, kCp932Other = 1, kCommonKanji = 2, kRareKanji = 3 };

constexpr int Cp932KindOf(char16_t u) {
    return (kCp932KindBytes[u / 4] >> (2 * (u % 4))) & 3;
}

// Bits to quarter bits.
constexpr std::uint8_t Bits(double bits) {
    return static_cast<std::uint8_t>(bits * 4 + 0.5);
}

// Units whose cost depends on their neighbours.
constexpr std::uint8_t kContextual = 0xFF;
constexpr std::uint8_t kWorst = kMaxUnitCost;
constexpr std::uint8_t kLineBreakUnit = Bits(6);
constexpr std::uint8_t kLoneLineFeed = Bits(9);
constexpr std::uint8_t kPairedSurrogate = Bits(13);

constexpr bool In(char16_t u, char16_t first, char16_t last) {
    return u >= first && u <= last;
}

// The cost of a unit by its block and by whether code page 932 holds it.
constexpr std::uint8_t BlockCost(char16_t u) {
    const int kind = Cp932KindOf(u);
    if (u == u'\r' || u == u'\n' || In(u, 0xD800, 0xDFFF)) {
        return kContextual;
    }
    if (u < 0x20 || In(u, 0x7F, 0x9F) || In(u, 0xE000, 0xF8FF) || u >= 0xFFF0) {
        return u == u'\t' ? Bits(9) : kWorst;
    }
    if (u < 0x7F) {
        return Bits(10);  // ASCII symbols; letters, digits and the common ones below
    }
    if (In(u, 0x3041, 0x3096)) {
        return Bits(8.5);  // hiragana
    }
    if (In(u, 0x30A1, 0x30FA) || u == 0x30FC) {
        return Bits(9.5);  // katakana
    }
    if (In(u, 0x4E00, 0x9FFF) || In(u, 0x3400, 0x4DBF) || In(u, 0xF900, 0xFAFF)) {
        switch (kind) {
            case kCommonKanji:
                return Bits(11);
            case kRareKanji:
                return Bits(14);
            default:
                return Bits(17);
        }
    }
    if (In(u, 0xFF10, 0xFF19)) {
        return Bits(9);  // full-width digits
    }
    if (In(u, 0xFF66, 0xFF9F)) {
        return Bits(10);  // half-width katakana, as older systems wrote kana
    }
    if (kind != kNotCp932) {
        return Bits(11.5);  // symbols, Greek, Cyrillic, full-width and half-width forms
    }
    if (In(u, 0xC0, 0x24F)) {
        return Bits(12.5);  // accented Latin letters
    }
    if (In(u, 0xA0, 0xBF) || In(u, 0x2000, 0x206F)) {
        return Bits(14);
    }
    return Bits(17);  // any other script, and unassigned units
}

struct Tier {
    std::u16string_view units;
    double bits;
};

// Frequent characters of English and Japanese writing, cheaper than their
// blocks.
constexpr Tier kTiers[] = {
    {u" ", 2.7},
    {u"e", 3.6},
    {u"taoinshr", 4.2},
    {u"dl", 5},
    {u"/", 5.25},  // dates and paths in notes
    {u"cumwfgyp.,", 5.6},
    {u"b", 6.2},
    {u"0123456789", 5},
    {u"vk", 7},
    {u"TASIMCBPWHDENLROFGYU-'\"():;!?", 8},
    {u"jxqzKVJQXZ", 9.5},
    {u"のにはをたがでてとしいかるな、。", 5},
    {u"もうっんこれさすまらりくきだつよあえおけせそちどねみめやわじろょゃゅべば", 6.5},
    {u"ぁぃぅぇぉゎゐゑゔゕゖ", 12},
    {u"ーントスルアイクリラタテシドカレプフッジマメコキロオサグブディャュョ・「」", 8},
    {u"ヰヱヴヵヶヮァゥォヷヸヹヺ", 11},
    {u"　", 8},
};

constexpr std::array<std::uint8_t, 0x10000> MakeCosts() {
    std::array<std::uint8_t, 0x10000> costs{};
    for (char32_t u = 0; u < 0x10000; ++u) {
        costs[u] = BlockCost(static_cast<char16_t>(u));
    }
    for (const Tier& tier : kTiers) {
        for (char16_t u : tier.units) {
            costs[u] = Bits(tier.bits);
        }
    }
    return costs;
}

constexpr std::array<std::uint8_t, 0x10000> kCosts = MakeCosts();

// Writing keeps to one kind of character for a while: digits stand together,
// letters make words, kana and kanji alternate in runs. A unit of another
// kind than the last one (blanks and line breaks aside) costs a little more,
// which tells "0120444444" from the "103/535353" of a pass number off by one.
enum UnitKind : std::uint8_t { kBlank, kDigit, kLetter, kSign, kKana, kKanji, kOther };
constexpr std::uint8_t kSwitchCost = Bits(1);

constexpr UnitKind KindOf(char16_t u) {
    if (u == u' ' || u == u'\t' || u == u'\r' || u == u'\n' || u == 0x3000) {
        return kBlank;
    }
    if (In(u, u'0', u'9') || In(u, 0xFF10, 0xFF19)) {
        return kDigit;
    }
    if (In(u, u'A', u'Z') || In(u, u'a', u'z') || In(u, 0xC0, 0x24F)) {
        return kLetter;
    }
    if (u < 0x80 || In(u, 0x3001, 0x303F) || In(u, 0xFF01, 0xFF0F) || In(u, 0x2010, 0x206F)) {
        return kSign;
    }
    if (In(u, 0x3041, 0x30FF) || In(u, 0xFF66, 0xFF9F)) {
        return kKana;
    }
    if (In(u, 0x4E00, 0x9FFF) || In(u, 0x3400, 0x4DBF) || In(u, 0xF900, 0xFAFF)) {
        return kKanji;
    }
    return kOther;
}

constexpr std::array<UnitKind, 0x10000> MakeKinds() {
    std::array<UnitKind, 0x10000> kinds{};
    for (char32_t u = 0; u < 0x10000; ++u) {
        kinds[u] = KindOf(static_cast<char16_t>(u));
    }
    return kinds;
}

constexpr std::array<UnitKind, 0x10000> kKinds = MakeKinds();

constexpr bool IsHighSurrogate(char16_t u) {
    return In(u, 0xD800, 0xDBFF);
}
constexpr bool IsLowSurrogate(char16_t u) {
    return In(u, 0xDC00, 0xDFFF);
}

std::uint8_t ContextualCost(std::u16string_view text, std::size_t i) {
    const char16_t u = text[i];
    const char16_t before = i > 0 ? text[i - 1] : 0;
    const char16_t after = i + 1 < text.size() ? text[i + 1] : 0;
    if (u == u'\r') {
        return after == u'\n' ? kLineBreakUnit : kWorst;
    }
    if (u == u'\n') {
        return before == u'\r' ? kLineBreakUnit : kLoneLineFeed;
    }
    const bool paired = IsHighSurrogate(u) ? IsLowSurrogate(after) : IsHighSurrogate(before);
    return paired ? kPairedSurrogate : kWorst;
}

}  // namespace

std::int64_t TextCost(std::u16string_view text) {
    std::int64_t cost = 0;
    UnitKind last = kBlank;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        const std::uint8_t c = kCosts[u];
        cost += c != kContextual ? c : ContextualCost(text, i);
        const UnitKind kind = kKinds[u];
        if (kind != kBlank) {
            cost += last != kBlank && kind != last ? kSwitchCost : 0;
            last = kind;
        }
    }
    return cost;
}

double ScoreOfCost(std::int64_t cost, std::size_t units) {
    if (units == 0) {
        return 1.0;
    }
    const double mean = static_cast<double>(cost) / static_cast<double>(units);
    return 1.0 - mean / kMaxUnitCost;
}

double TextScore(std::u16string_view text) {
    return ScoreOfCost(TextCost(text), text.size());
}

}  // namespace solvena::cipher
