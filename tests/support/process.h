// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace solvena::testing {

struct ProcessResult {
    int exitCode = -1;  // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Replaces this (child) process with the program; never returns: when the
// program cannot be started, the process ends with status 127.
[[noreturn]] void ExecProgram(const std::string& program, const std::vector<std::string>& args);

// Runs a program with the given arguments and standard input, without a
// controlling terminal, and collects what it writes.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "");

}  // namespace solvena::testing
