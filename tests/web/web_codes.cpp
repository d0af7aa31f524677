// SPDX-License-Identifier: MIT
// Prints how this (native) build reads and writes every code: every
// two-byte code read as code page 932, and every 16-bit unit written as code
// page 932 and as UTF-8, by the document rules. The page's test compares
// the module's answers with these, line by line.
#include <cstdio>
#include <string>

#include "document/document_file.h"

namespace {

using solvena::document::Encoding;
using solvena::document::LineEnd;

std::string Hex(const std::string& bytes) {
    std::string out;
    char digits[3];
    for (const char byte : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(byte));
        out += digits;
    }
    return out;
}

void Read(unsigned code) {
    const std::string bytes{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    const auto read = solvena::document::DecodeDocument(
        bytes, solvena::document::ReadChoice(Encoding::Cp932, LineEnd::CrLf), "");
    std::string units;
    if (read) {
        for (const char16_t unit : read.value().text) {
            units += std::to_string(static_cast<unsigned>(unit)) + ",";
        }
    } else {
        units = "E";
        units += std::to_string(read.error().byteOffset);
    }
    std::printf("R %u %s\n", code, units.c_str());
}

void Write(char16_t unit, Encoding encoding, const char* key) {
    const auto written = solvena::document::EncodeDocument(
        std::u16string(1, unit), solvena::document::TextFormat(encoding, LineEnd::Lf), "");
    std::printf("%s %u %s\n", key, static_cast<unsigned>(unit),
                written ? Hex(written.value()).c_str() : "E");
}

}  // namespace

int main() {
    for (unsigned code = 0x8000; code <= 0xFFFF; ++code) {
        Read(code);
    }
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        Write(static_cast<char16_t>(unit), Encoding::Cp932, "C");
        Write(static_cast<char16_t>(unit), Encoding::Utf8, "U");
    }
    return 0;
}
