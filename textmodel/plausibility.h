// SPDX-License-Identifier: MIT
#pragma once

// How much a deciphered text looks like what people write, in any script.
//
// A text is measured by the bits an adaptive code spends on it: each unit
// costs -log2 of its probability given the units before it, in two steps.
// First its class (consonant, vowel, letter of a script without vowel
// letters, combining mark, digit, blank, sign ...) after the class before:
// letters follow letters, vowels alternate with consonants, marks follow
// letters, digits stand together, as a prior for every script says and
// the text so far bears out. Then the unit within its class: one seen
// before is cheap in proportion to how often it was seen; a new one costs
// the choice of its Unicode block (cheap once the block is in use, as a
// text keeps to a few) and of a unit there, those that the legacy
// character sets of the world's languages hold being the likelier, and in
// scripts that those sets tell nothing about, the letters most words hold
// (frequent_letters.h). Japanese and English frequencies are mixed into
// the choice of a new unit as far as the text bears them out, which makes
// those texts cheaper still and never another text dearer by more than a
// bit. Units no text holds (controls, unassigned or private-use code
// points, lone surrogates) cost kImpossibleBits.
//
// Nothing here knows a language's words, but the cipher gives a rule of
// its own: a wrong pass number moves the odd units up and the even ones
// down by the same amount, so the two halves of a text no longer share
// their characters, and an adaptive code pays for every one of them twice.
// The right pass number, whatever the script, costs least.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "textmodel/parity_split.h"

namespace solvena::textmodel {

struct TextMeasure {
    double bits = 0;
    std::size_t units = 0;
    std::size_t characters = 0;  // a surrogate pair is one, a CR LF two
    std::size_t impossible = 0;  // units no text holds
    // The same text as characters drawn at random from an alphabet of ASCII
    // (digits, hexadecimal, letters and digits ...), as a password or a key
    // is written; infinite for a text that none holds.
    double randomBits = 0;
};

// Holds the model's tables and working counts; measuring many texts with
// one model saves building them again.
class TextModel {
  public:
    TextModel();
    TextMeasure Measure(std::u16string_view text);

  private:
    void WeighNewUnits();
    void WeighKnownUnits();
    double UnitBits(char16_t unit, std::size_t before, std::size_t cls);
    void Forget();

    static constexpr std::size_t kClasses = 18;
    std::size_t blocks_;
    std::vector<std::uint8_t> classOf_;   // per unit
    std::vector<std::uint16_t> blockOf_;  // per unit
    std::vector<float> choice_;           // per block and class: 1 / its possible units
    std::vector<float> known_;            // per unit: Japanese and English frequency in its class
    std::array<bool, kClasses> knows_{};  // whether known_ gives units of the class
    std::array<std::array<float, kClasses>, kClasses> follows_{};  // prior, times its weight

    // What the text so far holds.
    std::vector<std::uint32_t> seen_;       // per unit
    std::vector<std::uint32_t> blockSeen_;  // distinct units per block
    std::vector<char16_t> touched_;
    std::array<std::array<std::uint32_t, kClasses>, kClasses> followed_{};
    std::array<std::uint32_t, kClasses> left_{};  // units of each class followed by another
    std::array<std::uint32_t, kClasses> classSymbols_{};
    std::size_t distinct_ = 0;
    double knownWeight_ = 0;
    ParitySplit split_;
};

// The bits of a unit no text holds, and what the score counts as no text.
inline constexpr double kImpossibleBits = 24;

// A text that is no text whatever another pass number gives: one unit in
// kGarbageOneIn or more that no text holds (so any one in a short text).
inline constexpr std::size_t kGarbageOneIn = 50;
bool GarbageByItself(const TextMeasure& measure);

// From 0 to 1, for showing: 1 - bits per unit / kImpossibleBits; 1 for no text.
double Score(const TextMeasure& measure);

// Texts shorter than this many characters are too short to tell one pass
// number from another: they are refused only as garbage by themselves.
inline constexpr std::size_t kShortestCompared = 10;

}  // namespace solvena::textmodel
