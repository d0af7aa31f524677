// SPDX-License-Identifier: MIT
#pragma once

// Real texts written by others, found on this machine: the translated
// messages of installed programs (every language that has some), their
// documentation and C headers. Line breaks are CR LF, as in a document.

#include <string>
#include <vector>

namespace solvena::bench {

struct FoundText {
    std::string language;  // the translation's language ("th", "zh_CN"), or "doc", "source"
    std::string form;      // "note" (under 10 characters), "message", "paragraph", "page", "file"
    std::u16string text;
};

// The same texts, in the same order, every time on the same machine.
std::vector<FoundText> FindTexts();

// Code points, a surrogate pair counting once.
std::size_t Characters(std::u16string_view text);

// The script most of a text's letters are written in ("Thai", "Han", "Latin" ...).
std::string ScriptOf(std::u16string_view text);

}  // namespace solvena::bench
