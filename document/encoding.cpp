// SPDX-License-Identifier: MIT
#include "document/encoding.h"

#include <algorithm>

namespace solvena::document {

std::optional<Encoding> EncodingKeyed(std::string_view key) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (const EncodingEntry& entry : kEncodings) {
        if (std::equal(key.begin(), key.end(), entry.key.begin(), entry.key.end(),
                       [&](char a, char b) { return lower(a) == b; })) {
            return entry.encoding;
        }
    }
    return std::nullopt;
}

std::optional<LineEnd> LineEndKeyed(std::string_view key) {
    for (const LineEndEntry& entry : kLineEnds) {
        if (key == entry.key) {
            return entry.lineEnd;
        }
    }
    return std::nullopt;
}

}  // namespace solvena::document
