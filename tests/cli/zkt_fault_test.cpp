// SPDX-License-Identifier: MIT
// zkt under faults: killed in the middle of a save, and files with names
// that are odd in shells.

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

// Starts zkt with `args`; returns its process.
pid_t StartZkt(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ExecProgram(ZKT_PATH, args);
    }
    return pid;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    }
    ::closedir(dir);
    return names;
}

TEST(ZktFaultTest, KilledWhileSavingLeavesOldOrNewBytesNeverAMixture) {
    TempDir dir;
    // About 20 MB of plain text gives some 50 MB to write.
    std::string plain;
    plain.reserve(21 << 20);
    while (plain.size() < (20 << 20)) {
        plain += "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x95\xb6\x8f\xcd\x81\x42 abc 123\r\n";
    }
    WriteBytes(dir.File("plain.txt"), plain);
    const ProcessResult reference = RunProcess(
        ZKT_PATH, {"encipher", "-p", "1234", dir.File("plain.txt"), "-o", dir.File("new.zkt")});
    ASSERT_EQ(reference.exitCode, 0) << reference.err;
    const std::string newBytes = ReadBytes(dir.File("new.zkt"));
    const std::string oldBytes = "the old document\r\n";

    int sawOld = 0;
    int sawNew = 0;
    for (int delayMs : {0, 5, 20, 50, 100, 150, 200, 300, 450, 700}) {
        WriteBytes(dir.File("target.zkt"), oldBytes);
        const pid_t zkt = StartZkt(
            {"encipher", "-p", "1234", dir.File("plain.txt"), "-o", dir.File("target.zkt")});
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(zkt, SIGKILL);
        int status = 0;
        ::waitpid(zkt, &status, 0);
        const std::string after = ReadBytes(dir.File("target.zkt"));
        ASSERT_TRUE(after == oldBytes || after == newBytes)
            << "killed after " << delayMs << " ms: " << after.size() << " bytes";
        (after == oldBytes ? sawOld : sawNew) += 1;
        // What a killed save leaves is a hidden temporary file, never a
        // file under the target's name.
        for (const std::string& name : Names(dir.path())) {
            if (name != "plain.txt" && name != "new.zkt" && name != "target.zkt") {
                EXPECT_EQ(name.rfind(".target.zkt.", 0), 0u) << name;
                ::unlink(dir.File(name).c_str());
            }
        }
    }
    EXPECT_GT(sawOld, 0);
    std::printf("killed saves: %d left the old bytes, %d the new ones\n", sawOld, sawNew);
}

TEST(ZktFaultTest, NamesThatAreOddInShells) {
    TempDir dir;
    for (const std::string name : {"a b", "quote\"s", "it's", "star*", "what?", "new\nline",
                                   "日本語", "-dash", "$HOME;ls"}) {
        WriteBytes(dir.File(name + ".txt"), "text\r\n");
        const ProcessResult enc = RunProcess(
            ZKT_PATH,
            {"encipher", "-p", "7", "-o", dir.File(name + ".zkt"), "--", dir.File(name + ".txt")});
        ASSERT_EQ(enc.exitCode, 0) << name << ": " << enc.err;
        const ProcessResult dec =
            RunProcess(ZKT_PATH, {"decipher", "-p", "7", dir.File(name + ".zkt")});
        EXPECT_EQ(dec.out, "text\r\n") << name;
    }
}

}  // namespace
}  // namespace solvena::testing
