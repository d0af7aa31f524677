// SPDX-License-Identifier: MIT
#include "cli/messages.h"

#include <unistd.h>

#include "files/file_io.h"
#include "files/quoted_name.h"

namespace solvena::zkt {

void Say(const Environment& /*env*/, const std::string& text) {
    [[maybe_unused]] files::Status said = files::WriteAll(STDERR_FILENO, text, "standard error");
}

std::string Shown(const std::string& name) {
    return name == kStandardInput || name == kStandardOutput ? name : files::QuotedName(name);
}

int FileFailure(const Environment& env, const files::FileError& error, const std::string& more) {
    std::string line = "zkt: " + Shown(error.path) + ": " + error.Describe();
    if (error.kind == files::FileError::Kind::Unrepresentable) {
        line += "; write it with --encoding utf-8 or utf-16le";
    }
    Say(env, line + more + "\n");
    return kDataError;
}

}  // namespace solvena::zkt
