#include <langinfo.h>
#include <unistd.h>

#include <strings.h>
#include <clocale>
#include <csignal>
#include <string>
#include <vector>

#include "pass_prompt.h"
#include "zkt.h"

namespace {

// The encoding the locale says the terminal shows: Shift_JIS codesets as
// code page 932, everything else as UTF-8 (an ASCII locale's terminal
// shows UTF-8 too these days).
solvena::files::Encoding TerminalEncoding() {
    std::setlocale(LC_CTYPE, "");
    const char* codeset = nl_langinfo(CODESET);
    for (const char* sjis : {"SHIFT_JIS", "SJIS", "CP932", "WINDOWS-31J"}) {
        if (codeset != nullptr && strcasecmp(codeset, sjis) == 0) {
            return solvena::files::Encoding::Cp932;
        }
    }
    return solvena::files::Encoding::Utf8;
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit must end a write with an error, not the process.
    std::signal(SIGXFSZ, SIG_IGN);
    solvena::zkt::Environment environment;
    environment.askPass = solvena::zkt::AskPassOnTerminal;
    if (isatty(STDOUT_FILENO) == 1) {
        environment.terminalEncoding = TerminalEncoding();
    }
    return solvena::zkt::Run(std::vector<std::string>(argv + 1, argv + argc), environment);
}
