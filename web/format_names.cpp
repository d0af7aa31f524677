// SPDX-License-Identifier: MIT
#include "web/format_names.h"

namespace solvena::web {

document::TextFormat FormatNamed(const std::string& encoding, const std::string& lineEnd,
                                 bool byteOrderMark) {
    return document::TextFormat(
        document::EncodingKeyed(encoding).value_or(document::Encoding::Cp932),
        document::LineEndKeyed(lineEnd).value_or(document::LineEnd::CrLf), byteOrderMark);
}

document::ReadChoice ReadChoiceNamed(const std::string& encoding, const std::string& lineEnd) {
    return document::ReadChoice(document::EncodingKeyed(encoding), document::LineEndKeyed(lineEnd));
}

}  // namespace solvena::web
