// SPDX-License-Identifier: MIT
#pragma once

// The encodings a document file can have, and everything said of each: an
// encoding is added here, and every name the programs, zkt and the page
// give it is found in its entry.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace solvena::document {

enum class Encoding { Cp932, Utf8, Utf16le };

struct EncodingEntry {
    Encoding encoding;
    std::string_view key;          // zkt's and the page's: "cp932"
    const char* name;              // in messages: "CP932"
    const char* iconvName;         // the system converter's
    std::u16string_view label;     // the windows' and the page's lists
    std::size_t mostBytesPerUnit;  // the most one UTF-16 code unit becomes
    bool offered;  // in the lists to open and save with; else kept only as a document's own
};

// In the order of the enum.
inline constexpr std::array<EncodingEntry, 3> kEncodings{{
    {Encoding::Cp932, "cp932", "CP932", "WINDOWS-31J", u"Shift_JIS", 2, true},
    {Encoding::Utf8, "utf-8", "UTF-8", "UTF-8", u"UTF-8", 3, true},
    {Encoding::Utf16le, "utf-16le", "UTF-16LE", "UTF-16LE", u"UTF-16", 2, false},
}};

constexpr bool InEnumOrder(const auto& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (static_cast<std::size_t>(table[i].encoding) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumOrder(kEncodings), "an entry's place is its encoding's value");

constexpr const EncodingEntry& EntryOf(Encoding encoding) {
    return kEncodings[static_cast<std::size_t>(encoding)];
}

inline const char* EncodingName(Encoding encoding) {
    return EntryOf(encoding).name;
}

// The encoding of a key, in any case ("UTF-8" as "utf-8"), or nothing.
std::optional<Encoding> EncodingKeyed(std::string_view key);

enum class LineEnd { CrLf, Lf };

struct LineEndEntry {
    LineEnd lineEnd;
    std::string_view key;       // zkt's and the page's: "crlf"
    std::u16string_view label;  // in the lists: "CR LF"
};

// In the order of the enum.
inline constexpr std::array<LineEndEntry, 2> kLineEnds{{
    {LineEnd::CrLf, "crlf", u"CR LF"},
    {LineEnd::Lf, "lf", u"LF"},
}};

static_assert(static_cast<std::size_t>(kLineEnds[0].lineEnd) == 0 &&
                  static_cast<std::size_t>(kLineEnds[1].lineEnd) == 1,
              "an entry's place is its line end's value");

constexpr const LineEndEntry& EntryOf(LineEnd lineEnd) {
    return kLineEnds[static_cast<std::size_t>(lineEnd)];
}

// The line end of a key (exactly: "crlf", "lf"), or nothing.
std::optional<LineEnd> LineEndKeyed(std::string_view key);

}  // namespace solvena::document
