// SPDX-License-Identifier: MIT
// Writes the tables the text model needs from the Unicode Character
// Database (Debian's unicode-data): the class of every UTF-16 code unit
// (see unit_class.h), as runs of equal class, and where each block of the
// Basic Multilingual Plane starts.
// Usage: make_unicode_tables UnicodeData.txt Blocks.txt OUTPUT

#include <array>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>

#include "textmodel/unit_class.h"

namespace {

using solvena::textmodel::UnitClass;

UnitClass FromCategory(const std::string& category, unsigned u) {
    switch (category[0]) {
        case 'L':
            return category == "Lu" || category == "Lt" ? UnitClass::Upper
                   : category == "Ll"                   ? UnitClass::Lower
                                                        : UnitClass::Letter;
        case 'M':
            return category == "Mc" ? UnitClass::SpacingMark : UnitClass::Mark;
        case 'N':
            return category == "Nd" ? UnitClass::Digit : UnitClass::Symbol;
        case 'P':
            return UnitClass::Punct;
        case 'S':
            return UnitClass::Symbol;
        case 'Z':
            return category == "Zs" ? UnitClass::Blank : UnitClass::LineFeed;
        default:
            break;
    }
    if (category == "Cf") {
        return UnitClass::Format;
    }
    if (category == "Cs") {
        // High surrogates from U+DB80 start the private-use planes.
        return u >= 0xDC00  ? UnitClass::LowSurrogate
               : u < 0xDB80 ? UnitClass::HighSurrogate
                            : UnitClass::Impossible;
    }
    switch (u) {
        case '\t':
        case '\f':
            return UnitClass::Tab;
        case '\n':
            return UnitClass::LineFeed;
        case '\r':
            return UnitClass::CarriageReturn;
        default:
            return UnitClass::Impossible;  // other controls and private use
    }
}

// The letters of Latin, Cyrillic, Greek and Armenian that spell vowels in
// their languages, by the name of their base letter in the database.
constexpr std::pair<std::string_view, std::string_view> kVowels[] = {
    {"LATIN", "|A|E|I|O|U|Y|AE|OE|DOTLESS I|SCHWA|"},
    {"CYRILLIC",
     "|A|IE|I|O|U|YERU|E|YU|YA|IO|UKRAINIAN IE|BYELORUSSIAN-UKRAINIAN I|YI|SCHWA|BARRED O|"
     "STRAIGHT U|"},
    {"GREEK", "|ALPHA|EPSILON|ETA|IOTA|OMICRON|UPSILON|OMEGA|"},
    {"ARMENIAN", "|AYB|ECH|EH|ET|INI|VO|OH|"},
};

// Whether a letter named `name` (such as LATIN SMALL LETTER A WITH GRAVE
// or FULLWIDTH LATIN CAPITAL LETTER E) is a vowel.
bool IsVowel(std::string_view name) {
    for (std::string_view kind :
         {" SMALL LETTER ", " CAPITAL LETTER ", " SMALL LIGATURE ", " CAPITAL LIGATURE "}) {
        const std::size_t at = name.find(kind);
        if (at == std::string_view::npos) {
            continue;
        }
        std::string_view base = name.substr(at + kind.size());
        base = base.substr(0, base.find(" WITH "));
        std::string_view script = name.substr(0, at);
        script = script.substr(script.rfind(' ') + 1);  // FULLWIDTH LATIN is LATIN
        for (const auto& [vowelScript, vowels] : kVowels) {
            if (script != vowelScript) {
                continue;
            }
            // The list is |-separated with a | at either end.
            for (std::size_t from = 1; from < vowels.size();) {
                const std::size_t to = vowels.find('|', from);
                if (vowels.substr(from, to - from) == base) {
                    return true;
                }
                from = to + 1;
            }
        }
    }
    return false;
}

bool ReadClasses(const char* path, std::array<UnitClass, 0x10000>& classes) {
    std::ifstream in(path);
    std::string line;
    unsigned rangeStart = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string code, name, category;
        std::getline(fields, code, ';');
        std::getline(fields, name, ';');
        std::getline(fields, category, ';');
        const unsigned u = static_cast<unsigned>(std::stoul(code, nullptr, 16));
        if (u > 0xFFFF || category.empty()) {
            continue;
        }
        // Ranges such as the Han ideographs are given by their ends.
        if (name.ends_with(", First>")) {
            rangeStart = u;
            continue;
        }
        const unsigned first = name.ends_with(", Last>") ? rangeStart : u;
        for (unsigned v = first; v <= u; ++v) {
            classes[v] = FromCategory(category, v);
        }
        if (IsVowel(name)) {
            classes[u] = classes[u] == UnitClass::Upper   ? UnitClass::UpperVowel
                         : classes[u] == UnitClass::Lower ? UnitClass::LowerVowel
                                                          : classes[u];
        }
    }
    return !in.bad() && classes['B'] == UnitClass::Upper;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_unicode_tables UnicodeData.txt Blocks.txt OUTPUT\n");
        return 2;
    }
    std::array<UnitClass, 0x10000> classes{};  // unlisted units are Impossible
    if (!ReadClasses(argv[1], classes)) {
        std::fprintf(stderr, "make_unicode_tables: cannot read %s\n", argv[1]);
        return 1;
    }
    std::ifstream blocks(argv[2]);
    std::FILE* out = std::fopen(argv[3], "w");
    if (!blocks || out == nullptr) {
        std::perror(out == nullptr ? argv[3] : argv[2]);
        return 1;
    }
    std::fprintf(out, "// Generated by make_unicode_tables; do not edit.\n");
    std::fprintf(out, "constexpr ClassRun kClassRuns[] = {\n");
    for (unsigned u = 0; u < 0x10000; ++u) {
        if (u == 0 || classes[u] != classes[u - 1]) {
            std::fprintf(out, "{0x%04X, %d},\n", u, static_cast<int>(classes[u]));
        }
    }
    std::fprintf(out, "};\nconstexpr char16_t kBlockStarts[] = {\n");
    std::string line;
    while (std::getline(blocks, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const unsigned first = static_cast<unsigned>(std::stoul(line, nullptr, 16));
        if (first <= 0xFFFF) {
            std::fprintf(out, "0x%04X,\n", first);
        }
    }
    std::fprintf(out, "};\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
