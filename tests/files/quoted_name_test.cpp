// SPDX-License-Identifier: MIT
// Names in messages: quoted as ls quotes them, so that nothing in a name
// reaches the terminal as anything but text.

#include <gtest/gtest.h>

#include "files/quoted_name.h"

namespace solvena::files {
namespace {

TEST(QuotedNameTest, QuotesWhatAShellOrATerminalWouldTakeForSomethingElse) {
    const std::pair<std::string, std::string> cases[] = {
        {"notes.txt", "notes.txt"},
        {"/tmp/日本語.zkt", "/tmp/日本語.zkt"},
        {"a b.txt", "'a b.txt'"},
        {"new\nline.txt", "'new'$'\\n''line.txt'"},
        {"\x1b[31mred", "$'\\E''[31mred'"},
        {"tab\t", "'tab'$'\\t'"},
        {"it's", "'it'$'\\'''s'"},
        {"bad\xff\xfe.txt", "'bad'$'\\377\\376''.txt'"},
        {"\xe3\x81", "$'\\343\\201'"},            // a cut UTF-8 sequence
        {"\xc2\x85next", "$'\\302\\205''next'"},  // U+0085, a C1 control
        {"", ""},
    };
    for (const auto& [name, shown] : cases) {
        EXPECT_EQ(QuotedName(name), shown) << name;
    }
}

}  // namespace
}  // namespace solvena::files
