// SPDX-License-Identifier: MIT
#include "web/file_type_calls.h"

#include "document/file_types.h"

namespace solvena::web {
namespace {

document::FileType Keyed(const std::string& key) {
    return document::FileTypeKeyed(key).value_or(document::FileType::Text);
}

}  // namespace

emscripten::val FileTypeOf(const std::string& name) {
    if (!document::HasKnownEnding(name)) {
        return emscripten::val::null();
    }
    return emscripten::val(std::string(document::EntryOf(document::FileTypeOfName(name)).key));
}

std::string NameAs(const std::string& name, const std::string& type) {
    return document::NameAs(name, Keyed(type));
}

std::string SavedName(const std::string& name, const std::string& type) {
    return document::SavedName(name, Keyed(type));
}

}  // namespace solvena::web
