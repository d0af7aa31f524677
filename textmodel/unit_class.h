// SPDX-License-Identifier: MIT
#pragma once

// What kind of character each UTF-16 code unit is, as the text model sees
// it: its general category in the Unicode Character Database, folded into
// eighteen classes (tools/make_unicode_tables.cpp writes the table at build
// time).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace solvena::textmodel {

enum class UnitClass : std::uint8_t {
    Impossible,   // controls, unassigned, private use, noncharacters: never in a text
    Upper,        // capital and title-case letters but vowels
    Lower,        // small letters but vowels
    UpperVowel,   // the vowels of Latin, Cyrillic, Greek and Armenian, which
    LowerVowel,   // alternate with the other letters in every language
    Letter,       // letters without case: Han, kana, Hangul, Arabic, Thai ...
    Mark,         // a combining mark, written on the character before
    SpacingMark,  // a vowel sign that takes room of its own, after its consonant
    Format,       // invisible joiners and direction marks
    Digit,        // decimal digits of every script
    Blank,        // spaces of every width
    Punct,
    Symbol,  // symbols and the other numbers
    CarriageReturn,
    LineFeed,  // and the line and paragraph separators
    Tab,       // and the form feed of source files
    HighSurrogate,
    LowSurrogate,
};

inline constexpr int kUnitClassCount = 18;

UnitClass ClassOf(char16_t unit);

// The Unicode blocks of the Basic Multilingual Plane, numbered from 0 in
// the order of their code points.
std::size_t BlockCount();

// Every unit's class and block, 65536 of each, faster than one by one.
void FillClassesAndBlocks(std::vector<std::uint8_t>& classes, std::vector<std::uint16_t>& blocks);

}  // namespace solvena::textmodel
