// SPDX-License-Identifier: MIT
#pragma once

// How each unit of a text counts, and a count of a whole text a piece at a
// time: enough to tell garbage by itself (GarbageByItself) in a text of any
// length, where measuring its bits would take too long.

#include <cstdint>
#include <string_view>
#include <vector>

#include "textmodel/plausibility.h"
#include "textmodel/unit_class.h"

namespace solvena::textmodel {

// The class a unit counts as in a text, given its own, the unit after it
// (0 at the end) and its class, and the class counted before it: a CR LF is
// one line break (`pair`: the LF goes with it), ESC followed by "[" is a
// terminal's escape sequence as logs keep them, and half a surrogate pair
// without its other half is no text.
struct CountedUnit {
    UnitClass cls;
    bool pair = false;
};
CountedUnit CountUnit(UnitClass own, char16_t unit, char16_t next, UnitClass nextClass,
                      UnitClass before);

class UnitCensus {
  public:
    UnitCensus();
    void Feed(std::u16string_view piece);
    // The units, characters and impossible units of the whole text; no bits.
    TextMeasure Finish();

  private:
    // Counts `unit`; true when `next` is the LF of its CR LF.
    bool Count(char16_t unit, char16_t next);

    std::vector<std::uint8_t> classOf_;
    // Units that count as one character of their class whatever stands
    // around them: all but line breaks, halves of surrogate pairs, ESC and
    // those no text holds.
    std::vector<std::uint8_t> plain_;
    char16_t held_ = 0;  // the last unit fed, which needs the next one to count
    bool holding_ = false;
    UnitClass before_ = UnitClass::LineFeed;
    TextMeasure counted_;
};

}  // namespace solvena::textmodel
