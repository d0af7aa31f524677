// SPDX-License-Identifier: MIT
#include "app/search_folding.h"

#include <QChar>
#include <array>
#include <cstdint>
#include <memory>

namespace solvena::app {
namespace {

using Table = std::array<char16_t, 0x10000>;

// The half-width katakana and signs U+FF61..U+FF9F as full-width ones.
constexpr char16_t kHalfWidthKana[] =
    u"。「」、・ヲァィゥェォャュョッーアイウエオカキクケコサシスセソタチツテトナニヌネノ"
    u"ハヒフヘホマミムメモヤユヨラリルレロワン゛゜";
static_assert(std::size(kHalfWidthKana) - 1 == 0xFF9F - 0xFF61 + 1);

constexpr char16_t kVoicedMark = 0xFF9E;
constexpr char16_t kSemiVoicedMark = 0xFF9F;

struct Composition {
    char16_t kana;  // full-width
    char16_t voiced;
    char16_t semiVoiced;
};
constexpr Composition kCompositions[] = {
    {u'カ', u'ガ', 0},     {u'キ', u'ギ', 0},     {u'ク', u'グ', 0},     {u'ケ', u'ゲ', 0},
    {u'コ', u'ゴ', 0},     {u'サ', u'ザ', 0},     {u'シ', u'ジ', 0},     {u'ス', u'ズ', 0},
    {u'セ', u'ゼ', 0},     {u'ソ', u'ゾ', 0},     {u'タ', u'ダ', 0},     {u'チ', u'ヂ', 0},
    {u'ツ', u'ヅ', 0},     {u'テ', u'デ', 0},     {u'ト', u'ド', 0},     {u'ハ', u'バ', u'パ'},
    {u'ヒ', u'ビ', u'ピ'}, {u'フ', u'ブ', u'プ'}, {u'ヘ', u'ベ', u'ペ'}, {u'ホ', u'ボ', u'ポ'},
    {u'ウ', u'ヴ', 0},     {u'ワ', u'ヷ', 0},     {u'ヲ', u'ヺ', 0},
};

char16_t FullWidth(char16_t unit) {
    if (unit >= 0xFF01 && unit <= 0xFF5E) {
        return static_cast<char16_t>(unit - 0xFEE0);
    }
    if (unit == 0x3000) {
        return u' ';
    }
    if (unit >= 0xFF61 && unit <= 0xFF9F) {
        return kHalfWidthKana[unit - 0xFF61];
    }
    // ￠ ￡ ￢ ￣ ￤ ￥ ￦
    constexpr char16_t kSigns[] = {0x00A2, 0x00A3, 0x00AC, 0x00AF, 0x00A6, 0x00A5, 0x20A9};
    if (unit >= 0xFFE0 && unit <= 0xFFE6) {
        return kSigns[unit - 0xFFE0];
    }
    return unit;
}

char16_t CaseFolded(char16_t unit) {
    if (QChar::isSurrogate(unit)) {
        return unit;
    }
    return static_cast<char16_t>(QChar::toCaseFolded(static_cast<char32_t>(unit)));
}

std::unique_ptr<Table> MakeTable(bool foldsCase, bool foldsWidth) {
    auto table = std::make_unique<Table>();
    for (std::uint32_t u = 0; u < table->size(); ++u) {
        char16_t unit = static_cast<char16_t>(u);
        unit = foldsWidth ? FullWidth(unit) : unit;
        (*table)[u] = foldsCase ? CaseFolded(unit) : unit;
    }
    return table;
}

const char16_t* TableFor(bool foldsCase, bool foldsWidth) {
    // Each made once, the first time a search needs it.
    if (foldsCase && foldsWidth) {
        static const std::unique_ptr<Table> caseAndWidth = MakeTable(true, true);
        return caseAndWidth->data();
    }
    if (foldsCase) {
        static const std::unique_ptr<Table> caseOnly = MakeTable(true, false);
        return caseOnly->data();
    }
    if (foldsWidth) {
        static const std::unique_ptr<Table> widthOnly = MakeTable(false, true);
        return widthOnly->data();
    }
    return nullptr;
}

}  // namespace

Folding::Folding(SearchOptions options)
    : foldsCase_(!options.matchCase), foldsWidth_(!options.matchWidth) {
    table_ = TableFor(foldsCase_, foldsWidth_);
}

char32_t Folding::Point(char32_t point) const {
    return foldsCase_ ? QChar::toCaseFolded(point) : point;
}

char16_t Folding::Composed(char16_t kana, char16_t mark) const {
    if (!foldsWidth_ || kana < 0xFF61 || kana > 0xFF9D ||
        (mark != kVoicedMark && mark != kSemiVoicedMark)) {
        return 0;
    }
    const char16_t full = FullWidth(kana);
    for (const Composition& composition : kCompositions) {
        if (composition.kana == full) {
            return mark == kVoicedMark ? composition.voiced : composition.semiVoiced;
        }
    }
    return 0;
}

std::vector<char16_t> Folding::Preimage(char16_t folded) const {
    std::vector<char16_t> units;
    if (table_ == nullptr) {
        return {folded};
    }
    for (std::uint32_t u = 0; u < 0x10000; ++u) {
        const auto unit = static_cast<char16_t>(u);
        if (table_[u] == folded || Composed(unit, kVoicedMark) == folded ||
            Composed(unit, kSemiVoicedMark) == folded) {
            units.push_back(unit);
        }
    }
    return units;
}

}  // namespace solvena::app
