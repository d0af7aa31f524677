// SPDX-License-Identifier: MIT
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "cli/pass_prompt.h"
#include "cli/recover_command.h"
#include "cli/zkt.h"

int main(int argc, char** argv) {
    // A file-size limit must end a write with an error, not the process.
    std::signal(SIGXFSZ, SIG_IGN);
    solvena::zkt::Environment environment;
    environment.askPass = solvena::zkt::AskPassOnTerminal;
    environment.terminal = solvena::zkt::TerminalEncoding();
    environment.outputIsTerminal = isatty(STDOUT_FILENO) == 1;
    environment.errorIsTerminal = isatty(STDERR_FILENO) == 1;
    return solvena::zkt::Run(std::vector<std::string>(argv + 1, argv + argc), environment);
}
