// SPDX-License-Identifier: MIT
#include "web/document_calls.h"

#include <optional>

#include "cipher/pass_entry.h"
#include "document/document_file.h"
#include "web/format_names.h"
#include "web/js_arrays.h"
#include "web/js_errors.h"

namespace solvena::web {
namespace {

using emscripten::val;

const char* EncodingKey(document::Encoding encoding) {
    switch (encoding) {
        case document::Encoding::Cp932:
            return "cp932";
        case document::Encoding::Utf8:
            return "utf-8";
        case document::Encoding::Utf16le:
            return "utf-16le";
    }
    return "";
}

}  // namespace

val OpenDocument(const val& bytes, const std::string& encoding, const std::string& lineEnd) {
    const std::string data = BytesFrom(bytes);
    const document::ReadChoice choice = ReadChoiceNamed(encoding, lineEnd);
    files::Result<document::Document> read = document::DecodeDocument(data, choice, "");
    if (!read) {
        return Failure(read.error());
    }
    const document::TextFormat& format = read.value().format;
    val result = val::object();
    result.set("ok", true);
    result.set("units", UnitsArray(read.value().text));
    result.set("encoding", val(EncodingKey(format.encoding)));
    result.set("lineEnd", val(format.lineEnd == document::LineEnd::Lf ? "lf" : "crlf"));
    result.set("byteOrderMark", format.byteOrderMark);
    return result;
}

val SaveDocument(const val& units, const std::string& encoding, const std::string& lineEnd,
                 bool byteOrderMark) {
    files::Result<std::string> bytes = document::EncodeDocument(
        UnitsFrom(units), FormatNamed(encoding, lineEnd, byteOrderMark), "");
    if (!bytes) {
        return Failure(bytes.error());
    }
    val result = val::object();
    result.set("ok", true);
    result.set("bytes", BytesArray(bytes.value()));
    return result;
}

val LookAlikes(const val& units) {
    const std::optional<document::LookAlikes> found = document::FindLookAlikes(UnitsFrom(units));
    if (!found) {
        return val::null();
    }
    val result = val::object();
    result.set("count", static_cast<double>(found->count));
    result.set("first", static_cast<int>(found->first));
    result.set("becomes", static_cast<int>(found->becomes));
    result.set("line", static_cast<double>(found->line));
    result.set("column", static_cast<double>(found->column));
    return result;
}

val PassEntry(const val& units) {
    const std::optional<std::int16_t> pass = cipher::ReadPassEntry(UnitsFrom(units));
    return pass ? val(static_cast<int>(*pass)) : val::null();
}

}  // namespace solvena::web
