// SPDX-License-Identifier: MIT
#pragma once

// A file descriptor closed when it goes out of scope.

#include <unistd.h>

#include <utility>

namespace solvena::files {

class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Descriptor& operator=(Descriptor&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports the result, for files whose writing must be checked.
    int Close() { return ::close(std::exchange(fd_, -1)); }

  private:
    int fd_ = -1;
};

}  // namespace solvena::files
