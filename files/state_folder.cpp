// SPDX-License-Identifier: MIT
#include "files/state_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace solvena::files {
namespace {

using Kind = FileError::Kind;

// The base folder for state: only an absolute XDG_STATE_HOME counts.
std::string StateHome() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return state;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        const passwd* entry = ::getpwuid(::geteuid());
        home = entry != nullptr ? entry->pw_dir : nullptr;
    }
    if (home == nullptr || home[0] != '/') {
        return std::string();
    }
    return std::string(home) + "/.local/state";
}

// Makes `path` and its missing parents, each with mode 0700.
bool MakeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
        if (slash == std::string::npos) {
            return true;
        }
    }
}

}  // namespace

std::string StateFolderName() {
    const std::string home = StateHome();
    return home.empty() ? home : home + "/solvena";
}

Result<std::string> StateFolder() {
    const std::string folder = StateFolderName();
    if (folder.empty()) {
        return SystemError(Kind::NotFound, "~/.local/state", ENOENT);
    }
    return PrivateFolder(folder);
}

Result<std::string> PrivateFolder(const std::string& folder) {
    if (!MakeFolders(folder)) {
        return SystemError(Kind::OpenFailed, folder, errno);
    }
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return SystemError(Kind::OpenFailed, folder, errno);
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        return SystemError(Kind::PermissionDenied, folder, EACCES);
    }
    if ((info.st_mode & 07777) != 0700 && ::chmod(folder.c_str(), 0700) != 0) {
        return SystemError(Kind::PermissionDenied, folder, errno);
    }
    return folder;
}

}  // namespace solvena::files
