// SPDX-License-Identifier: MIT
#pragma once

// The rule for a typed pass number, shared by the pass-number dialog and the
// command-line tool.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvena::cipher {

inline constexpr std::size_t kMaxPassEntryLength = 4;

// What the pass-number dialog (and the page) says of the entry: before and
// while a valid one is typed, and of one that is not.
inline constexpr char16_t kPassPrompt[] = u"▼パスナンバーを入力してください";
inline constexpr char16_t kPassRejected[] = u"▼４桁以内の数字を入力してください";

// The pass number an entry stands for, or nothing when the entry is not a
// valid one. Valid: the whole entry is a number (blanks around it, an
// optional sign, digits with an optional "." and fraction, an optional
// exponent; full-width digits count as digits), it has at most four
// characters, and its value rounded half to even lies in -32767..32767.
// An empty entry is not valid. Note that "-1" is valid and gives -1.
std::optional<std::int16_t> ReadPassEntry(std::u16string_view entry);

struct PassCandidate {
    std::int16_t pass;
    std::u16string entry;  // the shortest entry that gives it, digits before other signs
};

// Every pass number that some valid entry gives, once, in ascending order:
// found by putting every entry of up to four characters made of the signs
// of a number through ReadPassEntry. -1 is left out: it stands for no number.
std::vector<PassCandidate> PassCandidates();

}  // namespace solvena::cipher
