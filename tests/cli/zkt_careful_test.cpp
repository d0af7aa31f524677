// SPDX-License-Identifier: MIT
// zkt where a careful tool differs from a careless one: descriptor names as
// output, memory running out, odd names in messages, a full standard output
// and a prompt interrupted from the keyboard.

#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include "tests/support/process.h"
#include "tests/support/sanitized.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

const std::string kZkt = ZKT_PATH;
const std::string kEnciphered = "2j!2eK2n#2lM2q$ZELKORA\r\n";  // "hello", pass number 1

ProcessResult Shell(const std::string& command) {
    return RunProcess("/bin/sh", {"-c", command});
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

TEST(ZktCarefulTest, DescriptorNamesAreWrittenToAsTheyAre) {
    TempDir dir;
    WriteBytes(dir.File("h.txt"), "hello\r\n");
    WriteBytes(dir.File("log.txt"), "first\n");
    const ProcessResult appended = Shell(kZkt + " encipher -p 1 " + Quoted(dir.File("h.txt")) +
                                         " -o /dev/stdout >> " + Quoted(dir.File("log.txt")));
    EXPECT_EQ(appended.exitCode, 0) << appended.err;
    EXPECT_EQ(ReadBytes(dir.File("log.txt")), "first\n" + kEnciphered);
    // Standard output a pipe: written to the pipe.
    for (const char* name : {"/dev/stdout", "/dev/fd/1", "/proc/self/fd/1"}) {
        const ProcessResult piped =
            RunProcess(kZkt, {"encipher", "-p", "1", dir.File("h.txt"), "-o", name});
        EXPECT_EQ(piped.exitCode, 0) << name << ": " << piped.err;
        EXPECT_EQ(piped.out, kEnciphered) << name;
    }
}

TEST(ZktCarefulTest, RunningOutOfMemoryIsAOneLineError) {
    if (kSanitized) {
        GTEST_SKIP() << "a sanitizer build reserves more address space than any limit allows";
    }
    if (::access("/usr/bin/prlimit", X_OK) != 0) {
        GTEST_SKIP() << "prlimit is not installed";
    }
    // An endless input that recover must hold whole, and an address space
    // of 256 MiB.
    const ProcessResult r =
        RunProcess("/usr/bin/prlimit", {"--as=268435456", kZkt, "recover", "/dev/zero"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zkt: /dev/zero: out of memory\n");
    EXPECT_EQ(r.out, "");
    // Enciphering and deciphering stream: an input three times the limit
    // goes through it, both ways.
    const ProcessResult streamed =
        Shell("head -c 200000000 /dev/zero | /usr/bin/prlimit --as=134217728 " + kZkt +
              " encipher -p 1 | /usr/bin/prlimit --as=134217728 " + kZkt +
              " decipher -p 1 --force --encoding utf-16le | wc -c");
    EXPECT_EQ(streamed.err, "");
    EXPECT_EQ(streamed.out, "400000004\n");
}

TEST(ZktCarefulTest, OddNamesInMessagesAreQuoted) {
    TempDir dir;
    const std::string name = dir.File("new\nline\x1b[31m.txt");
    const ProcessResult r = RunProcess(kZkt, {"encipher", "-p", "1", name});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("new'$'\\n''line'$'\\E''[31m.txt'"), std::string::npos) << r.err;
}

TEST(ZktCarefulTest, AFullStandardOutputIsReported) {
    const ProcessResult r = Shell(kZkt + " --version > /dev/full");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "zkt: standard output: No space left on device\n");
}

// Reads what the terminal shows into `shown` until `wanted` is there; false
// when the terminal closes first.
bool ReadUntil(int terminal, const std::string& wanted, std::string& shown) {
    char buffer[256];
    while (shown.find(wanted) == std::string::npos) {
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) {
            return false;
        }
        shown.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

TEST(ZktCarefulTest, QuittingAtThePromptGivesTheEchoBack) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "text\r\n");
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ExecProgram(kZkt, {"encipher", dir.File("a.txt")});
    }
    std::string shown;
    ASSERT_TRUE(ReadUntil(terminal, "Pass number: ", shown)) << shown;
    termios during{};
    ASSERT_EQ(::tcgetattr(terminal, &during), 0);
    EXPECT_EQ(during.c_lflag & ECHO, 0u);
    // Ctrl+\ on the terminal.
    ::kill(pid, SIGQUIT);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGQUIT);
    termios after{};
    ASSERT_EQ(::tcgetattr(terminal, &after), 0);
    EXPECT_NE(after.c_lflag & ECHO, 0u);
    ::close(terminal);
}

// True when the terminal echoes within five seconds, if `wanted`; when it
// stops echoing, if not.
bool EchoBecomes(int terminal, bool wanted) {
    for (int i = 0; i < 500; ++i) {
        termios now{};
        if (::tcgetattr(terminal, &now) == 0 && ((now.c_lflag & ECHO) != 0) == wanted) {
            return true;
        }
        ::usleep(10000);
    }
    return false;
}

TEST(ZktCarefulTest, StoppingAtThePromptGivesTheEchoBackUntilContinued) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "text\r\n");
    int terminal = -1;
    const pid_t session = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (session == 0) {
        // zkt in a foreground group of its own, as a shell starts it: a
        // group whose parent is in the session may be stopped.
        const pid_t job = ::fork();
        if (job == 0) {
            ::setpgid(0, 0);
            // Taking the terminal from the background would stop the job.
            std::signal(SIGTTOU, SIG_IGN);
            ::tcsetpgrp(0, ::getpgrp());
            std::signal(SIGTTOU, SIG_DFL);
            const std::string line = "job " + std::to_string(::getpid()) + "\n";
            [[maybe_unused]] const ssize_t wrote = ::write(1, line.data(), line.size());
            ExecProgram(kZkt, {"encipher", dir.File("a.txt"), "-o", dir.File("a.zkt")});
        }
        int status = 0;
        ::waitpid(job, &status, 0);
        ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 99);
    }
    std::string shown;
    char buffer[256];
    ASSERT_TRUE(ReadUntil(terminal, "Pass number: ", shown)) << shown;
    const pid_t job = std::stoi(shown.substr(shown.find("job ") + 4));
    ASSERT_TRUE(EchoBecomes(terminal, false));
    ::kill(job, SIGTSTP);  // Ctrl+Z
    EXPECT_TRUE(EchoBecomes(terminal, true));
    ::kill(job, SIGCONT);  // fg
    EXPECT_TRUE(EchoBecomes(terminal, false));
    ASSERT_EQ(::write(terminal, "7\n", 2), 2);
    ASSERT_TRUE(ReadUntil(terminal, "again: ", shown)) << shown;
    ASSERT_EQ(::write(terminal, "7\n", 2), 2);
    while (::read(terminal, buffer, sizeof buffer) > 0) {
    }
    ::close(terminal);
    int status = 0;
    ASSERT_EQ(::waitpid(session, &status, 0), session);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace solvena::testing
