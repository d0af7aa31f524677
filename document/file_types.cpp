// SPDX-License-Identifier: MIT
#include "document/file_types.h"

#include <algorithm>

namespace solvena::document {
namespace {

// The length of `name`'s ending ".EXT" (EXT compared without case), or 0.
std::size_t EndingLength(std::string_view name, std::string_view extension) {
    const std::size_t length = extension.size() + 1;
    if (extension.empty() || name.size() <= length) {
        return 0;
    }
    const std::string_view tail = name.substr(name.size() - length);
    if (tail[0] != '.' || name[name.size() - length - 1] == '/') {
        return 0;  // a name that is only the ending is no file's
    }
    const bool same = std::equal(
        extension.begin(), extension.end(), tail.begin() + 1,
        [](char wanted, char c) { return wanted == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
    return same ? length : 0;
}

std::size_t TypeEndingLength(std::string_view name, FileType type) {
    const FileTypeEntry& entry = EntryOf(type);
    return std::max({EndingLength(name, entry.extension), EndingLength(name, entry.armored),
                     EndingLength(name, entry.alsoRead)});
}

}  // namespace

bool HasEnding(std::string_view name, FileType type) {
    return TypeEndingLength(name, type) > 0;
}

FileType FileTypeOfName(std::string_view name) {
    for (const FileType type : {FileType::Sealed, FileType::Enciphered}) {
        if (HasEnding(name, type)) {
            return type;
        }
    }
    return FileType::Text;
}

bool HasKnownEnding(std::string_view name) {
    for (const FileTypeEntry& entry : kFileTypes) {
        if (HasEnding(name, entry.type)) {
            return true;
        }
    }
    return false;
}

std::optional<FileType> FileTypeKeyed(std::string_view key) {
    for (const FileTypeEntry& entry : kFileTypes) {
        if (entry.key == key) {
            return entry.type;
        }
    }
    return std::nullopt;
}

std::string Renamed(std::string_view name, FileType from, FileType to) {
    const std::size_t ending = TypeEndingLength(name, from);
    return std::string(name.substr(0, name.size() - ending)) + "." +
           std::string(EntryOf(to).extension);
}

std::string NameAs(std::string_view name, FileType type) {
    const std::string text = UnsealedName(name).value_or(std::string(name));
    if (type == FileType::Sealed) {
        return SealedName(NameAs(text, FileType::Text), false);
    }
    return Renamed(text, FileTypeOfName(text), type);
}

std::string SavedName(std::string_view name, FileType type) {
    if (HasKnownEnding(name)) {
        return std::string(name);
    }
    return std::string(name) + "." + std::string(EntryOf(type).extension);
}

bool IsSealedName(std::string_view path) {
    return HasEnding(path, FileType::Sealed);
}

std::string SealedName(std::string_view path, bool armored) {
    const std::string text = HasEnding(path, FileType::Enciphered)
                                 ? Renamed(path, FileType::Enciphered, FileType::Text)
                                 : std::string(path);
    const FileTypeEntry& sealed = EntryOf(FileType::Sealed);
    return text + "." + std::string(armored ? sealed.armored : sealed.extension);
}

bool IsArmoredName(std::string_view path) {
    return EndingLength(path, EntryOf(FileType::Sealed).armored) > 0;
}

std::optional<std::string> UnsealedName(std::string_view path) {
    const std::size_t ending = TypeEndingLength(path, FileType::Sealed);
    if (ending == 0) {
        return std::nullopt;
    }
    return std::string(path.substr(0, path.size() - ending));
}

}  // namespace solvena::document
