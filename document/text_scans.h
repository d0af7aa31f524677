// SPDX-License-Identifier: MIT
#pragma once

// Quick looks at bytes and code units for the piecewise reader: where the
// first non-ASCII byte or line break stands, whether a sequence is UTF-8,
// whether every CR has its LF. Private to the file layer.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace solvena::document::scans {

inline constexpr char16_t kCr = u'\r';
inline constexpr char16_t kLf = u'\n';
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// Windows Notepad's "Unicode" files begin with the little-endian mark; the
// big-endian one names an encoding documents are never read in.
inline constexpr std::string_view kUtf16leBom = "\xFF\xFE";
inline constexpr std::string_view kUtf16beBom = "\xFE\xFF";

// The first `unit` (CR or LF) at or after `from`, or npos: the C library's
// byte search for its low byte, far quicker than a loop over the units on
// texts with no line break at all, such as enciphered text.
inline std::size_t FindUnit(std::u16string_view text, char16_t unit, std::size_t from = 0) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size() * 2;
    for (std::size_t at = from * 2; at < size;) {
        const void* found = std::memchr(bytes + at, unit, size - at);
        if (found == nullptr) {
            break;
        }
        const auto offset =
            static_cast<std::size_t>(static_cast<const unsigned char*>(found) - bytes);
        // Either byte of a unit may be the one sought; the unit tells.
        if (text[offset / 2] == unit) {
            return offset / 2;
        }
        at = offset + 1;
    }
    return std::u16string_view::npos;
}

// The first byte from 0x80 on, or the size; 64 bytes at a time without an
// early exit inside, as almost all of such bytes are ASCII.
inline std::size_t FirstNonAscii(std::string_view bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t i = 0;
    for (; i + 64 <= bytes.size(); i += 64) {
        unsigned char any = 0;
        for (std::size_t k = 0; k < 64; ++k) {
            any |= p[i + k];
        }
        if (any >= 0x80) {
            break;
        }
    }
    while (i < bytes.size() && p[i] < 0x80) {
        ++i;
    }
    return i;
}

inline bool IsAscii(std::string_view bytes) {
    return FirstNonAscii(bytes) == bytes.size();
}

// The length of the UTF-8 sequence that `lead` starts, 0 for a byte that
// starts none.
inline std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

// Whether the bytes (a whole sequence, by its lead) are one UTF-8 character.
inline bool IsUtf8Sequence(std::string_view bytes) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    for (std::size_t k = 1; k < bytes.size(); ++k) {
        const auto b = static_cast<unsigned char>(bytes[k]);
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (k == 1) {
            // Neither overlong forms nor surrogates nor beyond U+10FFFF.
            low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        }
        if (b < low || b > high) {
            return false;
        }
    }
    return true;
}

// The first line break from `from` on (a CR, or with `lf` an LF too), or
// the end; sixteen units at a time, as most of a line holds none.
inline std::size_t NextBreak(std::u16string_view units, std::size_t from, bool lf) {
    const char16_t* p = units.data();
    const std::size_t n = units.size();
    std::size_t i = from;
    for (; i + 16 <= n; i += 16) {
        unsigned any = 0;
        for (std::size_t k = 0; k < 16; ++k) {
            any |= static_cast<unsigned>(p[i + k] == kCr) |
                   static_cast<unsigned>(lf && p[i + k] == kLf);
        }
        if (any != 0) {
            break;
        }
    }
    while (i < n && p[i] != kCr && (p[i] != kLf || !lf)) {
        ++i;
    }
    return i;
}

// Whether every CR but one at the very end has an LF after it: a loop
// without an early exit, which the compiler runs in vector lanes.
inline bool EveryCrBeforeLf(std::u16string_view units) {
    unsigned lone = 0;
    for (std::size_t i = 0; i + 1 < units.size(); ++i) {
        lone |= static_cast<unsigned>(units[i] == kCr) & static_cast<unsigned>(units[i + 1] != kLf);
    }
    return lone == 0;
}

inline bool IsCp932Lead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

}  // namespace solvena::document::scans
