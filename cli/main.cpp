// SPDX-License-Identifier: MIT
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include <csignal>
#include <string>
#include <vector>

#include "cli/pass_prompt.h"
#include "cli/recover_command.h"
#include "cli/zkt.h"

namespace {

// A standard descriptor closed by the caller would be taken by the first
// file opened, and standard output written into the input. Each stays
// taken instead, by /dev/null opened the wrong way, so that using it fails
// as it should: "standard output: Bad file descriptor".
void HoldClosedStandardDescriptors() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    HoldClosedStandardDescriptors();
    // A file-size limit must end a write with an error, not the process.
    std::signal(SIGXFSZ, SIG_IGN);
    solvena::zkt::Environment environment;
    environment.askPass = solvena::zkt::AskPassOnTerminal;
    environment.terminal = solvena::zkt::TerminalEncoding();
    environment.outputIsTerminal = isatty(STDOUT_FILENO) == 1;
    environment.errorIsTerminal = isatty(STDERR_FILENO) == 1;
    return solvena::zkt::Run(std::vector<std::string>(argv + 1, argv + argc), environment);
}
