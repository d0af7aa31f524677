// SPDX-License-Identifier: MIT
#pragma once

// The names the page gives encodings and line ends are zkt's ("cp932",
// "utf-8", "utf-16le"; "crlf", "lf"); anything else leaves it open
// (detected when reading, code page 932 with CR LF when writing, as the
// desktop program writes a new text).

#include <string>

#include "document/text_format.h"

namespace solvena::web {

document::ReadChoice ReadChoiceNamed(const std::string& encoding, const std::string& lineEnd);
document::TextFormat FormatNamed(const std::string& encoding, const std::string& lineEnd,
                                 bool byteOrderMark);

}  // namespace solvena::web
