// SPDX-License-Identifier: MIT
// The table's codes as the system's converter gives them, asked about every
// single- and double-byte code and every code unit.
#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "document/cp932_table.h"
#include "document/iconv_converter.h"
#include "document/utf16.h"

namespace solvena::document::detail {
namespace {

// One converter, asked about one code at a time from its initial state.
class Asker {
  public:
    Asker(const char* to, const char* from) : converter_(to, from) {}

    bool valid() const { return converter_.valid(); }

    // Converts all of `in`; the number of bytes written to `out` (at most
    // 8), or -1 when the converter does not convert the whole input.
    int Ask(const char* in, std::size_t size, char* out) {
        converter_.Reset();
        std::size_t inLeft = size;
        char* outPtr = out;
        std::size_t outLeft = 8;
        if (converter_.Convert(in, inLeft, outPtr, outLeft) != 0 || inLeft != 0) {
            return -1;
        }
        return static_cast<int>(outPtr - out);
    }

    // Whether the input is an incomplete sequence: a lead byte alone.
    bool Incomplete(const char* in, std::size_t size) {
        converter_.Reset();
        std::size_t inLeft = size;
        char out[8];
        char* outPtr = out;
        std::size_t outLeft = sizeof out;
        return converter_.Convert(in, inLeft, outPtr, outLeft) == EINVAL;
    }

  private:
    Converter converter_;
};

// The one code unit of a converted character, or kNoUnit.
std::int32_t OneUnit(int written, const char* out) {
    if (written != 2) {
        return Cp932Table::kNoUnit;
    }
    char16_t unit = 0;
    std::memcpy(&unit, out, 2);
    return unit;
}

bool BuildReading(Cp932Table& table) {
    Asker asker("UTF-16LE", "WINDOWS-31J");
    if (!asker.valid()) {
        return false;
    }
    table.pair.assign(256 * 256, Cp932Table::kNoUnit);
    char out[8];
    for (std::size_t byte = 0; byte < 256; ++byte) {
        const char in[2] = {static_cast<char>(byte), 0};
        table.single[byte] = OneUnit(asker.Ask(in, 1, out), out);
        if (table.single[byte] != Cp932Table::kNoUnit || !asker.Incomplete(in, 1)) {
            continue;
        }
        table.single[byte] = Cp932Table::kLeadByte;
        for (std::size_t trail = 0; trail < 256; ++trail) {
            const char both[2] = {static_cast<char>(byte), static_cast<char>(trail)};
            table.pair[byte * 256 + trail] = OneUnit(asker.Ask(both, 2, out), out);
        }
    }
    for (const ByteMapping& m : kWindowsSingleBytes) {
        if (table.single[m.byte] == Cp932Table::kNoUnit) {
            table.single[m.byte] = m.unit;
        }
    }
    return true;
}

bool BuildWriting(Cp932Table& table) {
    Asker asker("WINDOWS-31J", "UTF-16LE");
    if (!asker.valid()) {
        return false;
    }
    table.code.assign(0x10000, Cp932Table::kNoCode);
    char out[8];
    for (char32_t u = 0; u < 0x10000; ++u) {
        const auto unit = static_cast<char16_t>(u);
        if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            continue;  // never a character of its own
        }
        char in[2];
        std::memcpy(in, &unit, 2);
        const int written = asker.Ask(in, 2, out);
        const auto first = static_cast<unsigned char>(out[0]);
        if (written == 1) {
            table.code[u] = first;
        } else if (written == 2 && first >= 0x80) {
            table.code[u] =
                static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(out[1]));
        }
    }
    for (const ByteMapping& m : kWindowsSingleBytes) {
        if (table.code[m.unit] == Cp932Table::kNoCode) {
            table.code[m.unit] = m.byte;
        }
    }
    return true;
}

}  // namespace

bool FillCodes(Cp932Table& table) {
    return BuildReading(table) && BuildWriting(table);
}

}  // namespace solvena::document::detail
