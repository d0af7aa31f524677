// SPDX-License-Identifier: MIT
#include "cli/progress_line.h"

#include <string>

#include "cli/messages.h"

namespace solvena::zkt {

ProgressLine::ProgressLine(const Environment& env, std::size_t total)
    : env_(env), total_(total), start_(std::chrono::steady_clock::now()) {}

void ProgressLine::Show(std::size_t finished) {
    if (!env_.errorIsTerminal || total_ < 2 ||
        std::chrono::steady_clock::now() - start_ < std::chrono::seconds(1)) {
        return;
    }
    constexpr std::size_t kWidth = 30;
    const std::size_t filled = finished * kWidth / total_;
    Say(env_, "\r[" + std::string(filled, '#') + std::string(kWidth - filled, '.') + "] " +
                  std::to_string(finished) + "/" + std::to_string(total_) + " files");
    shown_ = true;
}

void ProgressLine::Clear() {
    if (shown_) {
        Say(env_, "\r\033[K");
        shown_ = false;
    }
}

}  // namespace solvena::zkt
