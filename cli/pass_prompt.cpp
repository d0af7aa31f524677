#include "pass_prompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace solvena::zkt {
namespace {

// The terminal settings to put back if the prompt is interrupted, so that
// the shell is not left without echo.
int gTerminal = -1;
struct termios gSaved;

extern "C" void RestoreAndReraise(int signal) {
    if (gTerminal >= 0) {
        ::tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void WriteText(int fd, const char* text) {
    std::size_t left = std::strlen(text);
    while (left > 0) {
        const ssize_t wrote = ::write(fd, text, left);
        if (wrote <= 0) {
            return;
        }
        text += wrote;
        left -= static_cast<std::size_t>(wrote);
    }
}

}  // namespace

std::optional<std::string> AskPassOnTerminal() {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct termios quiet;
    const bool canHide = ::tcgetattr(fd, &gSaved) == 0;
    using Handler = void (*)(int);
    Handler oldInt = SIG_DFL, oldTerm = SIG_DFL, oldHup = SIG_DFL;
    if (canHide) {
        gTerminal = fd;
        oldInt = std::signal(SIGINT, RestoreAndReraise);
        oldTerm = std::signal(SIGTERM, RestoreAndReraise);
        oldHup = std::signal(SIGHUP, RestoreAndReraise);
        quiet = gSaved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    WriteText(fd, "Pass number: ");
    std::string line;
    bool ended = false;
    char c = 0;
    while (!ended) {
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0 || c == '\n') {
            ended = true;
        } else if (c != '\r') {
            line.push_back(c);
        }
    }
    if (canHide) {
        ::tcsetattr(fd, TCSAFLUSH, &gSaved);
        gTerminal = -1;
        std::signal(SIGINT, oldInt);
        std::signal(SIGTERM, oldTerm);
        std::signal(SIGHUP, oldHup);
    }
    ::close(fd);
    return line;
}

}  // namespace solvena::zkt
