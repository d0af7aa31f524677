// SPDX-License-Identifier: MIT
#include "files/file_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace solvena::files {
namespace {

// GNU's strerror_r returns the message, which may not be in the buffer;
// POSIX's (a browser build's C library) puts it there and returns 0.
[[maybe_unused]] const char* Message(const char* gnu, const char* /*buffer*/) {
    return gnu;
}
[[maybe_unused]] const char* Message(int /*posix*/, const char* buffer) {
    return buffer;
}

}  // namespace

std::string CodePointName(char32_t c) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(c));
    return buffer;
}

FileError SystemError(FileError::Kind fallback, std::string path, int errorNumber) {
    FileError error;
    error.path = std::move(path);
    error.errorNumber = errorNumber;
    char buffer[256];
    error.reason = Message(strerror_r(errorNumber, buffer, sizeof buffer), buffer);
    switch (errorNumber) {
        case ENOENT:
        case ENOTDIR:
            error.kind = FileError::Kind::NotFound;
            break;
        case EACCES:
        case EPERM:
        case EROFS:
            error.kind = FileError::Kind::PermissionDenied;
            break;
        case EISDIR:
            error.kind = FileError::Kind::IsFolder;
            break;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            error.kind = FileError::Kind::DiskFull;
            break;
        default:
            error.kind = fallback;
            break;
    }
    return error;
}

FileError OutOfMemory(std::string path) {
    FileError error = SystemError(FileError::Kind::OutOfMemory, std::move(path), ENOMEM);
    error.kind = FileError::Kind::OutOfMemory;
    return error;
}

FileError InvalidBytes(std::string path, std::uint64_t offset, const char* encoding) {
    FileError error;
    error.kind = FileError::Kind::InvalidBytes;
    error.path = std::move(path);
    error.byteOffset = offset;
    error.encoding = encoding;
    return error;
}

FileError ConverterMissing(std::string path, const char* encoding) {
    FileError error;
    error.kind = FileError::Kind::ConverterMissing;
    error.path = std::move(path);
    error.encoding = encoding;
    return error;
}

std::string FileError::Describe() const {
    switch (kind) {
        case Kind::InvalidBytes:
            return "not a text file: invalid byte sequence at byte offset " +
                   std::to_string(byteOffset) + (encoding.empty() ? "" : " (" + encoding + ")");
        case Kind::Unrepresentable:
            return "cannot be stored in " + encoding + ": " + CodePointName(character) +
                   " at line " + std::to_string(line) + ", column " + std::to_string(column) +
                   (count > 1 ? " (" + std::to_string(count) + " such characters)"
                              : " (1 such character)");
        case Kind::ConverterMissing:
            return "the system has no converter for " + encoding;
        case Kind::IsFolder:
            return reason.empty() ? "is a folder" : reason;
        case Kind::OutOfMemory:
            return "out of memory";
        case Kind::Busy:
            return "another program is saving it; try again when it has finished";
        case Kind::ReadOtherwise:
        case Kind::Abandoned:
            return reason;
        default:
            return reason.empty() ? "input/output error" : reason;
    }
}

}  // namespace solvena::files
