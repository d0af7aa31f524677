// SPDX-License-Identifier: MIT
#include "cli/messages.h"

#include <unistd.h>

#include <algorithm>

#include "files/file_io.h"
#include "files/kept_copies.h"
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

void WarnOfKeptCopies(const Environment& env, const std::vector<std::string>& paths) {
    std::vector<std::string> told;
    for (const std::string& path : paths) {
        for (const std::string& copy : files::KeptCopiesOf(path)) {
            if (std::find(told.begin(), told.end(), copy) != told.end()) {
                continue;
            }
            told.push_back(copy);
            // A save still running (another zkt, the window) keeps it only
            // until it ends.
            Say(env, "zkt: warning: " + Shown(path) +
                         (files::SaveStillRunning(copy)
                              ? ": another program is saving it; until it ends, the bytes it "
                                "had before are kept in "
                              : ": a save of it stopped while writing it; the bytes it had "
                                "before are kept in ") +
                         Shown(copy) + "\n");
        }
    }
}

}  // namespace solvena::zkt
