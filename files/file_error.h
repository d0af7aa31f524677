// SPDX-License-Identifier: MIT
#pragma once

// What can go wrong with a document file, as a value the caller can show.
// Nothing in the file layer throws or ends the program.

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace solvena::files {

struct FileError {
    enum class Kind {
        NotFound,          // no such file, or a folder on the way is missing
        PermissionDenied,  // the file or its folder may not be read or written
        IsFolder,          // the path names a folder
        DiskFull,          // no space left, quota or file-size limit reached
        OpenFailed,        // cannot open for another reason
        ReadFailed,
        WriteFailed,
        InvalidBytes,      // the bytes are not text in any encoding tried
        Unrepresentable,   // characters the target encoding cannot hold
        ConverterMissing,  // the system has no converter for the code page
        OutOfMemory,       // too large to hold in memory
        ReadOtherwise,     // read piece by piece, the file shows later that
                           // it is to be read otherwise (see document_stream.h)
        Abandoned,         // the writer gave up what it wrote: the file stays as it was
        Busy,              // another program is saving the file
    };

    Kind kind = Kind::OpenFailed;
    std::string path;
    int errorNumber = 0;  // errno, when the system reported the failure
    std::string reason;   // the system's words for errorNumber

    // InvalidBytes: offset of the first byte that no encoding could read;
    // ReadOtherwise: of the byte that shows it.
    std::uint64_t byteOffset = 0;
    std::string encoding;

    // Unrepresentable: the first such character (a code point; a lone
    // surrogate stands for itself), where it stands, and how many there are.
    char32_t character = 0;
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    std::uint64_t count = 0;

    // One English line without the path, e.g. "No such file or directory".
    std::string Describe() const;
};

// A FileError built from errno after a failed system call.
FileError SystemError(FileError::Kind fallback, std::string path, int errorNumber);

// A FileError for an allocation that failed while `path` was handled.
FileError OutOfMemory(std::string path);

// Bytes at `offset` that are no text in `encoding` (a name such as "UTF-8").
FileError InvalidBytes(std::string path, std::uint64_t offset, const char* encoding);

// The system has no converter for `encoding`.
FileError ConverterMissing(std::string path, const char* encoding);

// "U+00E9", "U+1F600".
std::string CodePointName(char32_t c);

// The value of an operation that may fail with a FileError.
template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : state_(std::move(value)) {}
    Result(FileError error) : state_(std::move(error)) {}

    bool ok() const { return state_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    const FileError& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, FileError> state_;
};

struct Done {};
using Status = Result<Done>;

}  // namespace solvena::files
