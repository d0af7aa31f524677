// SPDX-License-Identifier: MIT
#include "sealing/sealed_names.h"

#include <algorithm>
#include <array>

namespace solvena::sealing {
namespace {

bool EndsWithFolded(std::string_view path, std::string_view ending) {
    if (path.size() <= ending.size()) {
        return false;  // a name that is only the ending is no file's
    }
    const std::string_view tail = path.substr(path.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

constexpr std::array<std::string_view, 3> kSealedEndings{".gpg", ".asc", ".pgp"};

}  // namespace

bool IsSealedName(std::string_view path) {
    return std::any_of(kSealedEndings.begin(), kSealedEndings.end(),
                       [path](std::string_view ending) { return EndsWithFolded(path, ending); });
}

std::string SealedName(std::string_view path, bool armored) {
    std::string name(path);
    if (EndsWithFolded(path, ".zkt")) {
        name.replace(name.size() - 4, 4, ".txt");
    }
    return name + (armored ? ".asc" : ".gpg");
}

std::optional<std::string> UnsealedName(std::string_view path) {
    if (!IsSealedName(path) || path.substr(0, path.size() - 4).ends_with('/')) {
        return std::nullopt;
    }
    return std::string(path.substr(0, path.size() - 4));
}

}  // namespace solvena::sealing
