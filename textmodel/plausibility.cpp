// SPDX-License-Identifier: MIT
#include "textmodel/plausibility.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "textmodel/frequent_letters.h"
#include "textmodel/unit_census.h"
#include "textmodel/unit_class.h"

namespace solvena::textmodel {
namespace {

constexpr std::uint8_t kWrittenBits[] = {
#include "textmodel/written_units.inc"
};

constexpr bool Written(char32_t u) {
    return ((kWrittenBits[u / 8] >> (u % 8)) & 1) != 0;
}

constexpr std::uint8_t kCp932KindBytes[] = {
#include "textmodel/cp932_kinds.inc"
};

enum Cp932Kind { kNotCp932 = 0, kCp932Other = 1, kCommonKanji = 2, kRareKanji = 3 };

constexpr int Cp932KindOf(char16_t u) {
    return (kCp932KindBytes[u / 4] >> (2 * (u % 4))) & 3;
}

constexpr bool In(char32_t u, char32_t first, char32_t last) {
    return u >= first && u <= last;
}

using C = UnitClass;
static_assert(kUnitClassCount == 18);
constexpr std::size_t kClasses = kUnitClassCount;

// How sure the model is that a unit of its class seen before comes again
// rather than a new one; that a new unit's block is one already in use;
// and that a class follows another as the prior below says rather than as
// the text so far does.
constexpr double kRepeatWeight = 48;
constexpr double kBlockWeight = 1.5;
constexpr double kFollowWeight = 8;
// The share of a new unit's probability that Japanese and English
// frequencies give, in the classes where they know units.
constexpr double kKnownShare = 0.5;
// The share of a new unit's probability, within its block and class, that
// goes to the units some legacy character set holds (where any does).
constexpr double kWrittenShare = 0.9;
// A text of random characters, as a password, a key or a number is, is
// drawn from one of the alphabets of ASCII that programs draw from.
struct Alphabet {
    unsigned bit;
    double bits;  // log2 of its size
};
constexpr unsigned kDigits = 1, kLowerHex = 2, kUpperHex = 4, kLowerDigits = 8, kUpperDigits = 16,
                   kLettersDigits = 32, kBase64 = 64, kPrintable = 128;
constexpr unsigned kAllAlphabets = 255;
constexpr Alphabet kAlphabets[] = {
    {kDigits, 3.321928},         // 10
    {kLowerHex, 4},              // 16
    {kUpperHex, 4},              // 16
    {kLowerDigits, 5.169925},    // 36
    {kUpperDigits, 5.169925},    // 36
    {kLettersDigits, 5.954196},  // 62
    {kBase64, 6.022368},         // 65, with its padding
    {kPrintable, 6.569856},      // 95
};
constexpr double kAlphabetChoiceBits = 3;  // one of eight

constexpr unsigned AlphabetsHolding(char16_t u) {
    const bool digit = In(u, '0', '9');
    const bool lower = In(u, 'a', 'z');
    const bool upper = In(u, 'A', 'Z');
    unsigned in = 0;
    in |= digit ? kDigits : 0;
    in |= digit || In(u, 'a', 'f') ? kLowerHex : 0;
    in |= digit || In(u, 'A', 'F') ? kUpperHex : 0;
    in |= digit || lower ? kLowerDigits : 0;
    in |= digit || upper ? kUpperDigits : 0;
    in |= digit || lower || upper ? kLettersDigits : 0;
    in |= digit || lower || upper || u == '+' || u == '/' || u == '=' ? kBase64 : 0;
    in |= In(u, 0x20, 0x7E) ? kPrintable : 0;
    return in;
}

// How often a class follows another in writing of any script, relatively:
// letters follow letters, a vowel oftener follows a consonant than another
// vowel and a consonant oftener a vowel, marks follow letters, digits stand
// together, blanks and signs stand between words. A lone CR, or a combining
// mark after a blank or a sign, is rare everywhere. (Rows: the class
// before; a line break stands before the first unit. A low surrogate
// always follows a high one.)
// clang-format off
constexpr float kFollows[kClasses][kClasses] = {
    //  Imp  Up   Low  UpV  LowV Let  Mark SpM  Fmt  Dig  Bl   Pun  Sym  CR   LF   Tab  Hi   Lo
    {0,   .9f, .6f, .6f, .4f, 2,   .02f,.02f,.05f,.5f, .8f, 1,   .3f, .02f,.8f, .5f, .1f, 0},  // Imp
    {0,   2,   3,   1,   5,   .3f, .5f, .05f,.1f, .3f, 1,   1,   .2f, .02f,.3f, .05f,.05f,0},  // Up
    {0,   .2f, 5,   .1f, 7,   .1f, .5f, .05f,.1f, .2f, 2,   1,   .1f, .02f,.3f, .05f,.05f,0},  // Low
    {0,   2,   6,   1,   2,   .3f, .5f, .05f,.1f, .3f, 1,   1,   .2f, .02f,.3f, .05f,.05f,0},  // UpV
    {0,   .2f, 9,   .1f, 3,   .1f, .5f, .05f,.1f, .2f, 2,   1,   .1f, .02f,.3f, .05f,.05f,0},  // LowV
    {0,   .06f,.06f,.04f,.04f,10,  2,   1.5f,.3f, .2f, 1.5f,1,   .2f, .02f,.3f, .05f,.1f, 0},  // Let
    {0,   .06f,.3f, .04f,.2f, 8,   1,   .5f, .3f, .1f, 1.5f,1,   .2f, .02f,.3f, .05f,.05f,0},  // Mark
    {0,   .06f,.06f,.04f,.04f,8,   1,   .5f, .3f, .1f, 1.5f,1,   .2f, .02f,.3f, .05f,.05f,0},  // SpM
    {0,   .3f, .6f, .2f, .4f, 5,   .5f, .2f, .1f, .2f, .5f, .3f, .5f, .02f,.2f, .05f,1,   0},  // Fmt
    {0,   .2f, .3f, .1f, .2f, .5f, .02f,.02f,.05f,8,   1.5f,2,   .5f, .02f,.3f, .1f, .05f,0},  // Dig
    {0,   .9f, 1.8f,.6f, 1.2f,3,   .02f,.02f,.05f,.8f, 1,   .8f, .3f, .02f,.2f, .1f, .1f, 0},  // Bl
    {0,   .6f, .6f, .4f, .4f, 1.5f,.02f,.02f,.05f,.6f, 3,   1.5f,.3f, .02f,.6f, .1f, .1f, 0},  // Pun
    {0,   .3f, .3f, .2f, .2f, .8f, .2f, .02f,.3f, .5f, 2,   1,   1.5f,.02f,.4f, .1f, .5f, 0},  // Sym
    {0,   .9f, .6f, .6f, .4f, 2,   .02f,.02f,.05f,.5f, .8f, 1,   .3f, .02f,.8f, .5f, .1f, 0},  // CR
    {0,   .9f, .6f, .6f, .4f, 2,   .02f,.02f,.05f,.5f, .8f, 1,   .3f, .02f,.8f, .5f, .1f, 0},  // LF
    {0,   .6f, .6f, .4f, .4f, 1,   .02f,.02f,.05f,.5f, .3f, 1,   .3f, .02f,.2f, 1,   .05f,0},  // Tab
    {0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   1},  // Hi
    {0,   .3f, .3f, .2f, .2f, .8f, .5f, .02f,.5f, .5f, 2,   1,   1.5f,.02f,.4f, .1f, 1,   0},  // Lo
};
// clang-format on

struct Tier {
    std::u16string_view units;
    double bits;
};
// Frequent characters, cheaper than their blocks.
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

// Bits of a unit in Japanese and English writing by its block, or 0 where
// they give none; kTiers holds the frequent ones.
double KnownBits(char16_t u) {
    if (In(u, 0x21, 0x7E)) {
        return 10;
    }
    if (In(u, 0x3041, 0x3096)) {
        return 8.5;  // hiragana
    }
    if (In(u, 0x30A1, 0x30FA) || u == 0x30FC) {
        return 9.5;  // katakana
    }
    const int kind = Cp932KindOf(u);
    if (In(u, 0x3400, 0x4DBF) || In(u, 0x4E00, 0x9FFF) || In(u, 0xF900, 0xFAFF)) {
        return kind == kCommonKanji ? 11 : kind == kRareKanji ? 14 : 0;
    }
    if (In(u, 0xFF10, 0xFF19)) {
        return 9;  // full-width digits
    }
    if (In(u, 0xFF66, 0xFF9F)) {
        return 10;  // half-width katakana, as older systems wrote kana
    }
    if (kind != kNotCp932 && u >= 0x80) {
        return 11.5;  // symbols, Greek, Cyrillic, full-width forms
    }
    return In(u, 0xC0, 0x24F) ? 12.5 : 0;  // accented Latin letters
}

}  // namespace

TextModel::TextModel()
    : blocks_(BlockCount()),
      choice_(0x10000),
      known_(0x10000),
      seen_(0x10000),
      blockSeen_(blocks_),
      split_(blocks_) {
    FillClassesAndBlocks(classOf_, blockOf_);
    WeighNewUnits();
    WeighKnownUnits();
    for (std::size_t j = 0; j < kClasses; ++j) {
        float total = 0;
        for (std::size_t k = 0; k < kClasses; ++k) {
            total += kFollows[j][k];
        }
        for (std::size_t k = 0; k < kClasses; ++k) {
            follows_[j][k] = static_cast<float>(kFollowWeight * kFollows[j][k] / total);
        }
    }
}

void TextModel::WeighNewUnits() {
    // Per block and class: the weight of the units there are, and of those
    // legacy sets hold. Frequent letters weigh more; a rare one takes less
    // than an ordinary one's share and leaves the rest unused, so that it
    // stays rare where all of its class are rare.
    std::vector<double> possible(blocks_ * kClasses);
    std::vector<double> written(blocks_ * kClasses);
    std::vector<float> weights(0x10000);
    for (char32_t u = 0; u < 0x10000; ++u) {
        const std::size_t k = blockOf_[u] * kClasses + classOf_[u];
        weights[u] = FrequentLetterWeight(static_cast<char16_t>(u));
        const double share = std::max(1.0f, weights[u]);
        possible[k] += share;
        written[k] += Written(u) ? share : 0;
    }
    for (char32_t u = 0; u < 0x10000; ++u) {
        const std::size_t k = blockOf_[u] * kClasses + classOf_[u];
        const double weight = weights[u];
        const double uniform = weight / possible[k];
        const double held = Written(u) ? kWrittenShare * weight / written[k] : 0.0;
        choice_[u] =
            static_cast<float>(written[k] == 0 ? uniform : held + (1 - kWrittenShare) * uniform);
    }
}

void TextModel::WeighKnownUnits() {
    for (char32_t u = 0; u < 0x10000; ++u) {
        const double bits = KnownBits(static_cast<char16_t>(u));
        known_[u] = bits > 0 ? static_cast<float>(std::exp2(-bits)) : 0.0f;
    }
    for (const Tier& tier : kTiers) {
        for (char16_t u : tier.units) {
            known_[u] = static_cast<float>(std::exp2(-tier.bits));
        }
    }
    std::array<double, kClasses> mass{};
    for (char32_t u = 0; u < 0x10000; ++u) {
        mass[classOf_[u]] += known_[u];
    }
    for (char32_t u = 0; u < 0x10000; ++u) {
        const double m = mass[classOf_[u]];
        known_[u] = m > 0 ? static_cast<float>(known_[u] / m) : 0.0f;
        knows_[classOf_[u]] = m > 0;
    }
}

void TextModel::Forget() {
    for (char16_t u : touched_) {
        seen_[u] = 0;
        blockSeen_[blockOf_[u]] = 0;
    }
    touched_.clear();
    followed_ = {};
    left_ = {};
    classSymbols_ = {};
    distinct_ = 0;
    knownWeight_ = kKnownShare;
}

double TextModel::UnitBits(char16_t unit, std::size_t before, std::size_t cls) {
    const double follow = (static_cast<double>(followed_[before][cls]) + follows_[before][cls]) /
                          (static_cast<double>(left_[before]) + kFollowWeight);
    ++followed_[before][cls];
    ++left_[before];

    const std::uint16_t block = blockOf_[unit];
    const double inBlock = (blockSeen_[block] + kBlockWeight / static_cast<double>(blocks_)) /
                           (static_cast<double>(distinct_) + kBlockWeight);
    const double generic = inBlock * choice_[unit];
    // Japanese and English frequencies weigh as much as the new units of
    // the text so far bear them out.
    const double fresh =
        knows_[cls] ? knownWeight_ * known_[unit] + (1 - knownWeight_) * generic : generic;
    const std::uint32_t seen = seen_[unit];
    const double p =
        (seen + kRepeatWeight * fresh) / (static_cast<double>(classSymbols_[cls]) + kRepeatWeight);
    if (seen == 0) {
        if (knows_[cls]) {
            knownWeight_ = std::clamp(knownWeight_ * known_[unit] / fresh, 0.02, 0.98);
        }
        touched_.push_back(unit);
        ++blockSeen_[block];
        ++distinct_;
    }
    ++seen_[unit];
    ++classSymbols_[cls];
    return -std::log2(follow * p);
}

TextMeasure TextModel::Measure(std::u16string_view text) {
    Forget();
    TextMeasure m;
    unsigned alphabets = kAllAlphabets;
    m.units = text.size();
    auto before = static_cast<std::size_t>(C::LineFeed);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        split_.Add(blockOf_[u], i);
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        const CountedUnit counted =
            CountUnit(static_cast<C>(classOf_[u]), u, next, static_cast<C>(classOf_[next]),
                      static_cast<C>(before));
        const C cls = counted.cls;
        if (counted.pair) {
            ++i;  // the LF of a CR LF costs nothing more
            ++m.characters;
        }
        if (cls == C::Impossible) {
            ++m.impossible;
            m.bits += kImpossibleBits;
            before = static_cast<std::size_t>(C::Impossible);
        } else {
            m.bits += UnitBits(u, before, static_cast<std::size_t>(cls));
            before = static_cast<std::size_t>(cls);
        }
        m.characters += cls == C::LowSurrogate ? 0 : 1;
        if (alphabets != 0) {
            alphabets &= AlphabetsHolding(u);
        }
    }
    m.bits += split_.TakeExcessBits();
    m.randomBits = std::numeric_limits<double>::infinity();
    for (const Alphabet& alphabet : kAlphabets) {
        if ((alphabets & alphabet.bit) != 0) {
            m.randomBits = std::min(m.randomBits, static_cast<double>(text.size()) * alphabet.bits +
                                                      kAlphabetChoiceBits);
        }
    }
    return m;
}

bool GarbageByItself(const TextMeasure& measure) {
    return measure.impossible > 0 && measure.impossible * kGarbageOneIn >= measure.units;
}

double Score(const TextMeasure& measure) {
    if (measure.units == 0) {
        return 1.0;
    }
    const double mean = measure.bits / static_cast<double>(measure.units);
    return std::max(0.0, 1.0 - mean / kImpossibleBits);
}

}  // namespace solvena::textmodel
