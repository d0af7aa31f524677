// SPDX-License-Identifier: MIT
#include "web/format_names.h"

namespace solvena::web {

std::optional<document::Encoding> EncodingNamed(const std::string& name) {
    if (name == "cp932") {
        return document::Encoding::Cp932;
    }
    if (name == "utf-8") {
        return document::Encoding::Utf8;
    }
    if (name == "utf-16le") {
        return document::Encoding::Utf16le;
    }
    return std::nullopt;
}

std::optional<document::LineEnd> LineEndNamed(const std::string& name) {
    if (name == "crlf") {
        return document::LineEnd::CrLf;
    }
    if (name == "lf") {
        return document::LineEnd::Lf;
    }
    return std::nullopt;
}

document::TextFormat FormatNamed(const std::string& encoding, const std::string& lineEnd,
                                 bool byteOrderMark) {
    return document::TextFormat(EncodingNamed(encoding).value_or(document::Encoding::Cp932),
                                LineEndNamed(lineEnd).value_or(document::LineEnd::CrLf),
                                byteOrderMark);
}

}  // namespace solvena::web
