// SPDX-License-Identifier: MIT
#pragma once

// A progress bar for a long run on many files, on the last line of a
// terminal: drawn only when standard error is one, once the run has taken
// a second, and cleared before any other line is written.

#include <chrono>
#include <cstddef>

#include "cli/zkt.h"

namespace solvena::zkt {

class ProgressLine {
  public:
    ProgressLine(const Environment& env, std::size_t total);
    // `finished` of the files are finished.
    void Show(std::size_t finished);
    void Clear();

  private:
    const Environment& env_;
    std::size_t total_;
    std::chrono::steady_clock::time_point start_;
    bool shown_ = false;
};

}  // namespace solvena::zkt
