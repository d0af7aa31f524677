// SPDX-License-Identifier: MIT
// Any command line for zkt, NUL-separated: parsing never fails other than
// with a reason, and what it accepts is a complete set of options.

#include <algorithm>
#include <vector>

#include "cli/options.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (!current.empty()) {
        args.push_back(current);
    }
    const solvena::zkt::ParsedOptions parsed = solvena::zkt::ParseOptions(args);
    if (!parsed.options) {
        if (parsed.error.empty()) {
            solvena::fuzz::Fail("refused without a reason");
        }
        return 0;
    }
    const solvena::zkt::Options& options = *parsed.options;
    using solvena::zkt::Command;
    if (options.command == Command::Recover && (options.passEntry || options.candidates == 0)) {
        solvena::fuzz::Fail("recover with a pass number or no candidates to print");
    }
    if (options.command == Command::Encipher || options.command == Command::Decipher ||
        options.command == Command::Recover) {
        if (options.input.empty() || options.output.empty()) {
            solvena::fuzz::Fail("accepted an empty file name");
        }
        const bool named = options.input == "-" ||
                           std::find(args.begin(), args.end(), options.input) != args.end();
        if (!named) {
            solvena::fuzz::Fail("an input file that was not on the command line");
        }
    }
    return 0;
}
