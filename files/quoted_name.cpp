// SPDX-License-Identifier: MIT
#include "files/quoted_name.h"

#include <cstdio>

namespace solvena::files {
namespace {

// Length of the valid UTF-8 sequence of a printable character at `at`,
// or 0.
std::size_t PrintableSequence(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead >= 0xF5 || length == 0 || at + length > text.size()) {
        return 0;
    }
    char32_t code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool control = code < 0xA0 || code == 0x2028 || code == 0x2029;
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
        control) {
        return 0;
    }
    return length;
}

bool IsPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("%+,-./:=@_^").find(c) != std::string_view::npos;
}

std::string Escaped(unsigned char c) {
    switch (c) {
        case '\n':
            return "\\n";
        case '\t':
            return "\\t";
        case '\r':
            return "\\r";
        case '\033':
            return "\\E";
        default:
            break;
    }
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "\\%03o", c);
    return buffer;
}

// A name of plain ASCII signs only, which a shell takes as it is.
bool NeedsNoQuotes(std::string_view name) {
    bool plain = !name.empty();
    bool printable = true;
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c >= 0x80) {
            const std::size_t length = PrintableSequence(name, i);
            printable = printable && length > 0;
            i += length > 0 ? length : 1;
            continue;
        }
        plain = plain && IsPlain(name[i]);
        printable = printable && c >= 0x20 && c != 0x7F;
        ++i;
    }
    return plain && printable;
}

}  // namespace

std::string QuotedName(std::string_view name) {
    if (NeedsNoQuotes(name)) {
        return std::string(name);
    }
    // Runs of printable characters in '...', the rest in $'...'.
    std::string quoted;
    std::string literal;
    std::string escapes;
    const auto flush = [&] {
        if (!literal.empty()) {
            quoted += "'" + literal + "'";
            literal.clear();
        }
        if (!escapes.empty()) {
            quoted += "$'" + escapes + "'";
            escapes.clear();
        }
    };
    for (std::size_t i = 0; i < name.size();) {
        const auto c = static_cast<unsigned char>(name[i]);
        std::size_t length = c >= 0x80 ? PrintableSequence(name, i) : 0;
        if (c < 0x80 && c >= 0x20 && c != 0x7F && c != '\'') {
            length = 1;
        }
        if (length > 0) {
            if (!escapes.empty()) {
                flush();
            }
            literal.append(name.substr(i, length));
            i += length;
            continue;
        }
        if (!literal.empty()) {
            flush();
        }
        escapes += c == '\'' ? std::string("\\'") : Escaped(c);
        ++i;
    }
    flush();
    return quoted;
}

}  // namespace solvena::files
