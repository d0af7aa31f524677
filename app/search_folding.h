// SPDX-License-Identifier: MIT
#pragma once

// What a search takes for the same character when case or width does not
// matter: "a", "A", "ａ" and "Ａ" are one; so are "ｶ" and "カ", and "ｶﾞ"
// (a half-width kana and its voiced mark) and "ガ". Both the text looked
// for and the document are folded alike, a unit (or a pair of them) at a
// time.

#include <vector>

namespace solvena::app {

struct SearchOptions {
    bool matchCase = false;
    bool matchWidth = false;
};

class Folding {
  public:
    explicit Folding(SearchOptions options);

    char16_t Unit(char16_t unit) const { return table_ != nullptr ? table_[unit] : unit; }
    // A code point beyond the first 65536, folded.
    char32_t Point(char32_t point) const;
    // The full-width kana that a half-width kana and a voiced or semi-voiced
    // mark after it make, or 0 (always 0 when width matters).
    char16_t Composed(char16_t kana, char16_t mark) const;
    // The units that fold to `folded`, itself among them, and the
    // half-width kana that begin a composition giving it.
    std::vector<char16_t> Preimage(char16_t folded) const;

  private:
    const char16_t* table_ = nullptr;  // nothing: every unit is itself
    bool foldsCase_;
    bool foldsWidth_;
};

}  // namespace solvena::app
