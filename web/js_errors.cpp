// SPDX-License-Identifier: MIT
#include "web/js_errors.h"

#include <optional>
#include <string>

#include "document/file_words.h"

namespace solvena::web {
namespace {

const char* KindName(files::FileError::Kind kind) {
    using Kind = files::FileError::Kind;
    switch (kind) {
        case Kind::InvalidBytes:
        case Kind::ReadOtherwise:
            return "invalidBytes";
        case Kind::Unrepresentable:
            return "unrepresentable";
        case Kind::ConverterMissing:
            return "converterMissing";
        case Kind::OutOfMemory:
            return "outOfMemory";
        default:
            return "failed";
    }
}

}  // namespace

emscripten::val Failure(const files::FileError& error) {
    emscripten::val details = emscripten::val::object();
    details.set("kind", emscripten::val(KindName(error.kind)));
    details.set("message", error.Describe());
    details.set("byteOffset", static_cast<double>(error.byteOffset));
    details.set("encoding", error.encoding);
    details.set("character", static_cast<double>(error.character));
    details.set("line", static_cast<double>(error.line));
    details.set("column", static_cast<double>(error.column));
    details.set("count", static_cast<double>(error.count));
    // What the windows say of it, which the page says too.
    if (const std::optional<std::u16string> words = document::ReasonWords(error)) {
        details.set("words", *words);
    }
    emscripten::val result = emscripten::val::object();
    result.set("ok", false);
    result.set("error", details);
    return result;
}

}  // namespace solvena::web
