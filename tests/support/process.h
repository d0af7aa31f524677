#pragma once

#include <string>
#include <vector>

namespace solvena::testing {

struct ProcessResult {
    int exitCode = -1;  // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with the given arguments and standard input, without a
// controlling terminal, and collects what it writes.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = "");

}  // namespace solvena::testing
