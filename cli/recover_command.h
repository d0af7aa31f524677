// SPDX-License-Identifier: MIT
#pragma once

// `zkt recover`: every pass number tried on an enciphered text, the best
// printed first.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/options.h"
#include "cli/zkt.h"
#include "document/codepage.h"

namespace solvena::zkt {

// How many characters of a candidate's text recover shows.
inline constexpr std::size_t kPreviewCharacters = 40;

// The first 40 characters of a deciphered text as one line that is safe to
// print: each line break as one "⏎" ("↓" in code page 932, which has no
// "⏎"), a tab as a blank, control and other invisible or unprintable units
// as U+FFFD, encoded in `encoding`; characters it cannot hold become "?".
std::string Preview(std::u16string_view text, document::Encoding encoding);

// Every candidate pass value, once, as VALUE<Tab>ENTRY lines.
std::string PassList();

// Ranks the pass numbers for `text`, prints the best and returns the exit status.
int Recover(const Options& options, const Environment& env, std::u16string_view text,
            const std::string& inputName);

// One file's best pass number as one line for scripts, tab-separated:
// FILE, ENTRY, SCORE, "clear" or "unclear" (whether it is clearly ahead of
// the second), PREVIEW. A file that cannot be read or holds no enciphered
// text is told of on standard error, with no line. The exit status as for
// one file. The file is opened `how`.
int RecoverLine(const Options& options, const Environment& env, const std::string& path,
                files::Opening how);

// The pass number the ranking finds clearly ahead for the file at `path`,
// (opened `how`), with the entry that gives it; nothing, and said why, when
// none is.
struct FoundPass {
    std::optional<std::int16_t> pass;
    std::string entry;
};
FoundPass FindPass(const std::string& path, const Environment& env, files::Opening how);

// The encoding of the terminal by the locale: code page 932 under a
// Shift_JIS locale, UTF-8 under any other.
document::Encoding TerminalEncoding();

}  // namespace solvena::zkt
