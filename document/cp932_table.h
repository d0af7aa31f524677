// SPDX-License-Identifier: MIT
#pragma once

// Code page 932 as one table of every single- and double-byte code, built
// once, at first use, by asking the system's converter (glibc's WINDOWS-31J)
// about each code, so that it converts exactly as the converter does; the
// five single bytes Windows maps and the converter rejects are added as
// they are mended everywhere else. Codes the table has no answer for are
// left to the converter itself.

#include <array>
#include <cstdint>
#include <vector>

namespace solvena::document::detail {

// The bytes and characters of the mended single bytes.
struct ByteMapping {
    unsigned char byte;
    char16_t unit;
};
inline constexpr ByteMapping kWindowsSingleBytes[] = {
    {0x80, u'\u0080'}, {0xA0, u'\uF8F0'}, {0xFD, u'\uF8F1'}, {0xFE, u'\uF8F2'}, {0xFF, u'\uF8F3'},
};

struct Cp932Table {
    // Reading: a byte read alone, as its code unit, kLeadByte or kNoUnit;
    // after a lead byte, the code unit of each lead and trail byte pair
    // (index lead * 256 + trail), or kNoUnit.
    static constexpr std::int32_t kNoUnit = -1;
    static constexpr std::int32_t kLeadByte = -2;
    std::array<std::int32_t, 256> single{};
    std::vector<std::int32_t> pair;
    // Lead bytes exactly 0x81..0x9F and 0xE0..0xFC, as code page 932 has them.
    bool usualLeadBytes = false;

    // Writing: the code of each code unit, one byte (0x00..0xFF) or a lead
    // and trail byte (lead * 256 + trail, from 0x8000), or kNoCode.
    static constexpr std::uint16_t kNoCode = 0xFFFF;
    std::vector<std::uint16_t> code;

    // What each code unit reads back as once written: itself, but for the
    // look-alikes (and units without a code).
    std::vector<char16_t> readsBackAs;
};

// The table, or nullptr when the system has no such converter.
const Cp932Table* Cp932();

// Fills the single, pair and code halves of a table; false when there is
// no converter to fill them from. Asks the system's converter, or, in a
// build for a browser (whose C library has no code page 932), copies what
// the build machine's converter answered.
bool FillCodes(Cp932Table& table);

// The code of each code unit that the reading half gives: the first code
// that reads as it, or kNoCode. The writing half differs from it only for
// a few units, so a table carried in a build stores only those.
std::vector<std::uint16_t> FirstCodes(const Cp932Table& table);

}  // namespace solvena::document::detail
