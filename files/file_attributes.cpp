// SPDX-License-Identifier: MIT
#include "files/file_attributes.h"

#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

namespace solvena::files {
namespace {

// The names of a file's extended attributes, read through `path`, or of the
// open file `fd` when `path` is empty. Nothing and errno on failure.
bool ListAttributes(const std::string& path, int fd, std::vector<std::string>& names) {
    for (;;) {
        const ssize_t size =
            path.empty() ? ::flistxattr(fd, nullptr, 0) : ::listxattr(path.c_str(), nullptr, 0);
        if (size < 0) {
            return errno == ENOTSUP;  // a file system without them has none
        }
        std::vector<char> buffer(static_cast<std::size_t>(size) + 1);
        const ssize_t got = path.empty() ? ::flistxattr(fd, buffer.data(), buffer.size())
                                         : ::listxattr(path.c_str(), buffer.data(), buffer.size());
        if (got < 0 && errno == ERANGE) {
            continue;  // grew meanwhile
        }
        if (got < 0) {
            return false;
        }
        names.clear();
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            const std::string name(buffer.data() + at);
            at += name.size() + 1;
            if (!name.empty()) {
                names.push_back(name);
            }
        }
        return true;
    }
}

bool CopyAttribute(const std::string& from, const std::string& name, int to) {
    for (;;) {
        const ssize_t size = ::getxattr(from.c_str(), name.c_str(), nullptr, 0);
        if (size < 0) {
            return errno == ENODATA;  // gone meanwhile
        }
        std::vector<char> value(static_cast<std::size_t>(size) + 1);
        const ssize_t got = ::getxattr(from.c_str(), name.c_str(), value.data(), value.size());
        if (got < 0 && errno == ERANGE) {
            continue;
        }
        if (got < 0) {
            return errno == ENODATA;
        }
        return ::fsetxattr(to, name.c_str(), value.data(), static_cast<std::size_t>(got), 0) == 0;
    }
}

bool CopyAttributes(int from, int to) {
    // An O_PATH descriptor takes no attribute calls; its /proc name does.
    const std::string source = "/proc/self/fd/" + std::to_string(from);
    std::vector<std::string> wanted;
    std::vector<std::string> present;
    if (!ListAttributes(source, -1, wanted) || !ListAttributes(std::string(), to, present)) {
        return false;
    }
    for (const std::string& name : wanted) {
        if (!CopyAttribute(source, name, to)) {
            return false;
        }
    }
    // A new file may have inherited, say, the folder's default ACL.
    for (const std::string& name : present) {
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end()) {
            ::fremovexattr(to, name.c_str());
        }
    }
    return true;
}

}  // namespace

bool CopyMetadata(int from, const struct stat& info, int to) {
    struct stat now {};
    if (::fstat(to, &now) != 0) {
        return false;
    }
    if ((now.st_uid != info.st_uid || now.st_gid != info.st_gid) &&
        ::fchown(to, info.st_uid, info.st_gid) != 0) {
        return false;
    }
    if (!CopyAttributes(from, to)) {
        return false;
    }
    // Last, as changing the owner may clear bits and an ACL sets some.
    return ::fchmod(to, info.st_mode & 07777) == 0;
}

}  // namespace solvena::files
