// SPDX-License-Identifier: MIT
#include "web/format_names.h"

#include "cli/options.h"

namespace solvena::web {

document::TextFormat FormatNamed(const std::string& encoding, const std::string& lineEnd,
                                 bool byteOrderMark) {
    return document::TextFormat(zkt::ParseEncoding(encoding).value_or(document::Encoding::Cp932),
                                zkt::ParseLineEnd(lineEnd).value_or(document::LineEnd::CrLf),
                                byteOrderMark);
}

document::ReadChoice ReadChoiceNamed(const std::string& encoding, const std::string& lineEnd) {
    return document::ReadChoice(zkt::ParseEncoding(encoding), zkt::ParseLineEnd(lineEnd));
}

}  // namespace solvena::web
