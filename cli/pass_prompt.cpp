// SPDX-License-Identifier: MIT
#include "cli/pass_prompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

namespace solvena::zkt {
namespace {

// The terminal settings to put back if the prompt is interrupted, so that
// the shell is not left without echo, and the quiet ones to hide the typing.
int gTerminal = -1;
struct termios gSaved;
struct termios gQuiet;

// Signals that end or stop the program while it asks; SIGCONT hides the
// typing again after a stop.
constexpr int kWatched[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT};
constexpr int kWatchedCount = 6;
struct sigaction gPrevious[kWatchedCount];

void Handle(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
}

// Only async-signal-safe calls: tcsetattr, sigaction, sigprocmask, raise.
extern "C" void OnPromptSignal(int signal) {
    const int saved = errno;
    if (signal == SIGCONT) {
        if (gTerminal >= 0 && ::tcgetpgrp(gTerminal) == ::getpgrp()) {
            ::tcsetattr(gTerminal, TCSAFLUSH, &gQuiet);
        }
        errno = saved;
        return;
    }
    if (gTerminal >= 0) {
        ::tcsetattr(gTerminal, TCSAFLUSH, &gSaved);
    }
    // As the signal would have done without this handler.
    Handle(signal, SIG_DFL);
    sigset_t just;
    sigemptyset(&just);
    sigaddset(&just, signal);
    ::sigprocmask(SIG_UNBLOCK, &just, nullptr);
    ::raise(signal);
    // Only a stop comes back here, once continued.
    Handle(signal, OnPromptSignal);
    errno = saved;
}

void WatchSignals() {
    struct sigaction action {};
    action.sa_handler = OnPromptSignal;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kWatchedCount; ++i) {
        ::sigaction(kWatched[i], &action, &gPrevious[i]);
    }
}

void UnwatchSignals() {
    for (int i = 0; i < kWatchedCount; ++i) {
        ::sigaction(kWatched[i], &gPrevious[i], nullptr);
    }
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

std::optional<std::string> AskPassOnTerminal(const char* prompt) {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    const bool canHide = ::tcgetattr(fd, &gSaved) == 0;
    if (canHide) {
        gQuiet = gSaved;
        gQuiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        gQuiet.c_lflag |= ECHONL;
        gTerminal = fd;
        WatchSignals();
        ::tcsetattr(fd, TCSAFLUSH, &gQuiet);
    }
    WriteText(fd, prompt);
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
        UnwatchSignals();
    }
    ::close(fd);
    return line;
}

}  // namespace solvena::zkt
