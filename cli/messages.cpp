// SPDX-License-Identifier: MIT
#include "messages.h"

#include <unistd.h>

#include "file_io.h"
#include "quoted_name.h"

namespace solvena::zkt {

void Say(const Environment& /*env*/, const std::string& text) {
    [[maybe_unused]] platform::core::Status said =
        platform::core::WriteAll(STDERR_FILENO, text, "standard error");
}

std::string Shown(const std::string& name) {
    return name == kStandardInput || name == kStandardOutput ? name
                                                             : platform::core::QuotedName(name);
}

int FileFailure(const Environment& env, const platform::core::FileError& error,
                const std::string& more) {
    std::string line = "zkt: " + Shown(error.path) + ": " + error.Describe();
    if (error.kind == platform::core::FileError::Kind::Unrepresentable) {
        line += "; write it with --encoding utf-8 or utf-16le";
    }
    Say(env, line + more + "\n");
    return kDataError;
}

}  // namespace solvena::zkt
