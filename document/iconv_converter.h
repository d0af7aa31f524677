// SPDX-License-Identifier: MIT
#pragma once

// The system's converter between two encodings, closed when it goes.

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace solvena::document::detail {

class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // One call of iconv; returns errno (0 on success).
    int Convert(const char*& in, std::size_t& inLeft, char*& out, std::size_t& outLeft) {
        char* inPtr = const_cast<char*>(in);
        const std::size_t result = iconv(cd_, &inPtr, &inLeft, &out, &outLeft);
        in = inPtr;
        return result == static_cast<std::size_t>(-1) ? errno : 0;
    }

    void Reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

  private:
    iconv_t cd_;
};

}  // namespace solvena::document::detail
