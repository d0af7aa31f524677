// SPDX-License-Identifier: MIT
#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <stdexcept>

namespace solvena::testing {

void ExecProgram(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
}

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input) {
    // A child that exits before reading all its input must not end the test.
    std::signal(SIGPIPE, SIG_IGN);
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 ||
        ::pipe2(err, O_CLOEXEC) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // A new session has no controlling terminal, so /dev/tty is absent.
        ::setsid();
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        ExecProgram(program, args);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    ProcessResult result;
    std::size_t sent = 0;
    int inFd = in[1];
    // Written as the pipe takes it: a blocking write of more than the pipe
    // holds would wait for a child that waits for its output to be read.
    ::fcntl(inFd, F_SETFL, ::fcntl(inFd, F_GETFL) | O_NONBLOCK);
    if (input.empty()) {
        ::close(inFd);
        inFd = -1;
    }
    int outFd = out[0], errFd = err[0];
    char buffer[65536];
    while (outFd >= 0 || errFd >= 0 || inFd >= 0) {
        pollfd fds[3];
        int count = 0;
        if (inFd >= 0) {
            fds[count++] = {inFd, POLLOUT, 0};
        }
        if (outFd >= 0) {
            fds[count++] = {outFd, POLLIN, 0};
        }
        if (errFd >= 0) {
            fds[count++] = {errFd, POLLIN, 0};
        }
        if (::poll(fds, static_cast<nfds_t>(count), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        for (int i = 0; i < count; ++i) {
            if (fds[i].revents == 0) {
                continue;
            }
            int& fd = fds[i].fd == inFd ? inFd : fds[i].fd == outFd ? outFd : errFd;
            if (fd == inFd) {
                const ssize_t wrote = ::write(fd, input.data() + sent, input.size() - sent);
                if (wrote > 0) {
                    sent += static_cast<std::size_t>(wrote);
                }
                if (wrote < 0 && (errno == EAGAIN || errno == EINTR)) {
                    continue;
                }
                if (wrote <= 0 || sent == input.size()) {
                    ::close(fd);
                    fd = -1;
                }
                continue;
            }
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got <= 0) {
                ::close(fd);
                fd = -1;
            } else {
                (fd == outFd ? result.out : result.err)
                    .append(buffer, static_cast<std::size_t>(got));
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace solvena::testing
