// SPDX-License-Identifier: MIT
#include "textmodel/frequent_letters.h"

#include <string_view>

namespace solvena::textmodel {
namespace {

constexpr float kFrequent = 4;
constexpr float kRare = 0.25f;

// The letters and signs most words hold, and those few words do (historic
// letters, accents of old texts, letters of transliteration), in scripts
// that no legacy set holds or that one holds whole, so that those sets
// tell nothing about them. Without this a short text in them costs no less
// than its neighbour under a pass number one off, which moves each letter
// to the next one in the block.
struct Script {
    char16_t first;
    char16_t last;
    std::u16string_view frequent;
    std::u16string_view rare;
};
constexpr Script kScripts[] = {
    // Punctuation of every script, ahead of the rest of ASCII's signs
    {0x0021, 0x007E, u".,-:;!?()'\"/", u""},
    {0x0400, 0x04FF, u"оеаинтсрвлкмдпуяыіОЕАИНТСРВЛКМДПУ", u""},
    {0x0530, 0x058F, u"անրեիոստկլմւհդԱՆՐԵԻՈՍՏԿԼՄՀԴ", u""},
    // Devanagari's own: Vedic accents, vocalic l, letters of transliteration
    {0x0900, 0x097F, u"",
     u"\u0900\u0904\u090C\u090E\u0912\u0929\u0934\u093A\u093B\u0944\u0946\u094A\u094E\u094F"
     u"\u0951\u0952\u0953\u0954\u0955\u0956\u0957\u0960\u0961\u0962\u0963\u0971\u0973\u0974"
     u"\u0975\u0976\u0977\u0978\u0979\u097A\u097B\u097C\u097D\u097E\u097F"},
    {0x0D80, 0x0DFF,
     u"\u0D82\u0D9A\u0D9C\u0DAD\u0DAF\u0DB1\u0DB4\u0DB8\u0DBA\u0DBB\u0DBD\u0DC0\u0DC3\u0DC4"
     u"\u0DCA\u0DCF\u0DD2\u0DD4\u0DD9",
     u""},
    // Tibetan: the syllable dot and the stroke, root letters, vowel signs
    // and the subjoined ya and ra
    {0x0F00, 0x0FFF,
     u"\u0F0B\u0F0D\u0F42\u0F44\u0F51\u0F53\u0F54\u0F56\u0F58\u0F60\u0F62\u0F63\u0F66"
     u"\u0F72\u0F74\u0F7A\u0F7C\u0FB1\u0FB2",
     u""},
    {0x1000, 0x109F,
     u"\u1000\u1004\u1010\u1014\u1015\u1019\u101A\u101B\u101C\u101E\u1021"
     u"\u102C\u102D\u102F\u1031\u1036\u1037\u1038\u103A\u103B",
     u""},
    // Ethiopic: the word space, the full stop; its combining marks are rare
    {0x1200, 0x137F, u"\u1361\u1362", u"\u135D\u135E\u135F"},
    // Khmer: the subscript sign, common consonants, vowel signs and signs
    {0x1780, 0x17FF,
     u"\u17D2\u1780\u1784\u1785\u178A\u178F\u1791\u1793\u1794\u1796\u1798\u1799\u179A\u179B"
     u"\u179C\u179F\u17A2\u17B6\u17B7\u17B8\u17BB\u17BC\u17BD\u17BE\u17C1\u17C2\u17C4\u17C5"
     u"\u17C6\u17C7\u17CB",
     u""},
    // The zero-width space, which parts words in Khmer, Thai, Myanmar and
    // Tibetan writing, ahead of the marks of direction beside it
    {0x2000, 0x206F, u"\u200B", u""},
};

// The Indic blocks from Devanagari to Malayalam share one layout, so one
// list of places within a block names their common letters: ka, ga, ja,
// ta, da, na, pa, ba, ma, ya, ra, la, va, sa, ha, the virama, the signs of
// aa, i, ii, u, e and o, and the anusvara; and their rare ones: the Vedic
// accents' places and the vocalic l and ll.
constexpr std::u16string_view kFrequentIndic =
    u"\x15\x17\x1C\x24\x26\x28\x2A\x2C\x2E\x2F\x30\x32\x35\x38\x39\x4D\x3E\x3F\x40\x41\x47\x4B\x02";
constexpr std::u16string_view kRareIndic = u"\x0C\x44\x51\x52\x53\x54\x60\x61\x62\x63";
constexpr char16_t kFirstIndic = 0x0900;
constexpr char16_t kEndIndic = 0x0D80;

// Ethiopic syllables: each row of eight spells a consonant with the vowels
// in turn, of which the first and the sixth are the commonest and the
// eighth (a w glide) rare; some consonants are common, the rows of
// labialised ones rare.
constexpr std::u16string_view kCommonEthiopicRows =
    u"\u1208\u1218\u1228\u1230\u1260\u1270"
    u"\u1290\u12A0\u12A8\u12C8\u12E8\u12F0\u1308";
constexpr std::u16string_view kRareEthiopicRows =
    u"\u1248\u1258\u1288\u12B0\u12C0\u12F8\u1310\u1318\u1358";

float EthiopicWeight(char16_t unit) {
    const auto row = static_cast<char16_t>(unit - unit % 8);
    const int vowel = unit % 8;
    const float rowWeight = kCommonEthiopicRows.find(row) != std::u16string_view::npos ? 2.0f
                            : kRareEthiopicRows.find(row) != std::u16string_view::npos ? 0.5f
                                                                                       : 1.0f;
    return rowWeight * (vowel == 0 || vowel == 5 ? 2.0f : vowel == 7 ? 0.5f : 1.0f);
}

bool Holds(std::u16string_view units, char16_t unit) {
    return units.find(unit) != std::u16string_view::npos;
}

}  // namespace

float FrequentLetterWeight(char16_t unit) {
    float weight = 1;
    if (unit >= kFirstIndic && unit < kEndIndic) {
        const auto place = static_cast<char16_t>(unit % 0x80);
        weight = Holds(kFrequentIndic, place) ? kFrequent : Holds(kRareIndic, place) ? kRare : 1;
    }
    if (unit >= 0x1200 && unit < 0x1360) {
        weight = EthiopicWeight(unit);
    }
    for (const Script& script : kScripts) {
        if (unit >= script.first && unit <= script.last) {
            if (Holds(script.frequent, unit)) {
                return kFrequent;
            }
            if (Holds(script.rare, unit)) {
                return kRare;
            }
        }
    }
    return weight;
}

}  // namespace solvena::textmodel
