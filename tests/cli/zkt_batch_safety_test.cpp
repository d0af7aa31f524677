// SPDX-License-Identifier: MIT
// zkt on many files never loses a file to another job of the same run, nor
// shows one user's files to another.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/support/other_user.h"
#include "tests/support/process.h"
#include "tests/support/random_text.h"
#include "tests/support/sanitized.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

ProcessResult Zkt(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProcess(ZKT_PATH, args, input);
}

bool Says(const ProcessResult& result, const std::string& words) {
    return result.err.find(words) != std::string::npos;
}

// Two inputs to one output, however they come to it, refuse the run before
// anything is written; each folder under -O keeps its own name.
TEST(ZktBatchSafetyTest, TwoInputsNeverShareAnOutput) {
    TempDir dir;
    for (const char* folder : {"2023", "2024", "case"}) {
        ::mkdir(dir.File(folder).c_str(), 0755);
    }
    WriteBytes(dir.File("2023/memo.txt"), "二〇二三年の覚え書き\r\n");
    WriteBytes(dir.File("2024/memo.txt"), "二〇二四年の覚え書き\r\n");
    WriteBytes(dir.File("case/a.txt"), "小さい名前\r\n");
    WriteBytes(dir.File("case/a.TXT"), "大きい名前\r\n");
    const std::vector<std::vector<std::string>> clashes = {
        {"-O", dir.File("one"), dir.File("2023/memo.txt"), dir.File("2024/memo.txt")},
        {dir.File("case/a.txt"), dir.File("case/a.TXT")},
        {dir.File("2023/memo.txt"), dir.File("2023/../2023/memo.txt")},
    };
    for (const std::vector<std::string>& inputs : clashes) {
        std::vector<std::string> args = {"encipher", "-p", "7", "--overwrite"};
        args.insert(args.end(), inputs.begin(), inputs.end());
        const ProcessResult run = Zkt(args);
        EXPECT_EQ(run.exitCode, 2) << inputs[1];
        EXPECT_TRUE(Says(run, "would both be written to")) << run.err;
        EXPECT_TRUE(Says(run, "nothing written")) << run.err;
        EXPECT_FALSE(Says(run, "done")) << run.err;
    }
    EXPECT_EQ(FolderEntries(dir.File("case")), (std::vector<std::string>{"a.TXT", "a.txt"}));
    const ProcessResult folders = Zkt({"encipher", "-p", "7", "-r", "-O", dir.File("enc"),
                                       dir.File("2023"), dir.File("2024") + "/"});
    EXPECT_EQ(folders.exitCode, 0) << folders.err;
    EXPECT_EQ(FolderEntries(dir.File("enc")), (std::vector<std::string>{"2023", "2024"}));
    EXPECT_EQ(
        Zkt({"decipher", "-p", "7", "--encoding", "utf-8", dir.File("enc/2024/memo.zkt")}).out,
        "二〇二四年の覚え書き\r\n");
}

// An output that is a later job's input would be replaced before it is read.
TEST(ZktBatchSafetyTest, NoOutputIsAnotherJobsInput) {
    TempDir dir;
    const std::string report = Zkt({"encipher", "-p", "5", "-"}, "報告\r\n").out;
    WriteBytes(dir.File("report"), report);
    WriteBytes(dir.File("report.txt"), report);
    WriteBytes(dir.File("draft"), report);
    // draft.txt, the output of draft, is report.txt by another name.
    ::link(dir.File("report.txt").c_str(), dir.File("draft.txt").c_str());
    const std::vector<std::vector<std::string>> runs = {
        {dir.File("report"), dir.File("report.txt")},
        {dir.File("draft"), dir.File("report.txt")},
    };
    for (const std::vector<std::string>& inputs : runs) {
        std::vector<std::string> args = {"decipher", "-p", "5", "--overwrite"};
        args.insert(args.end(), inputs.begin(), inputs.end());
        const ProcessResult run = Zkt(args);
        EXPECT_EQ(run.exitCode, 2) << inputs[0];
        EXPECT_TRUE(Says(run, "is the input " + dir.File("report.txt"))) << run.err;
        EXPECT_EQ(ReadBytes(dir.File("report.txt")), report);
    }
}

unsigned ModeOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// A link another user put in a shared folder is not followed under -r (a
// file named on the command line is read); a new output is no more open
// than its input.
TEST(ZktBatchSafetyTest, PlantedLinksAreNotFollowedAndPrivateStaysPrivate) {
    const OtherUser user;
    if (!user.ok() && RunningAsRoot()) {
        GTEST_SKIP() << user.why();
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ::mkdir(dir.File("shared").c_str(), 0755);
    ASSERT_EQ(::chmod(dir.File("shared").c_str(), 01777), 0);
    WriteBytes(dir.File("diary.txt"), "誰にも見せない日記\r\n");
    ASSERT_EQ(::chmod(dir.File("diary.txt").c_str(), 0600), 0);
    const auto plant = [&] {
        return ::symlink(dir.File("diary.txt").c_str(), dir.File("shared/notes.txt").c_str());
    };
    ASSERT_EQ(user.ok() ? user.Run(plant) : plant(), 0);
    const ProcessResult run = Zkt({"encipher", "-p", "1", "-r", dir.File("shared")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(Says(run, "1 link(s) not followed: " + dir.File("shared/notes.txt"))) << run.err;
    EXPECT_EQ(FolderEntries(dir.File("shared")), (std::vector<std::string>{"notes.txt"}));
    // Named, and by itself: its own mode.
    const ProcessResult named = Zkt({"encipher", "-p", "1", dir.File("diary.txt"),
                                     dir.File("shared/notes.txt"), "-O", dir.File("out")});
    EXPECT_EQ(named.exitCode, 0) << named.err;
    EXPECT_EQ(ModeOf(dir.File("out/diary.zkt")), 0600u);
    EXPECT_EQ(ModeOf(dir.File("out/notes.zkt")), 0600u);
    ASSERT_EQ(
        Zkt({"decipher", "-p", "1", dir.File("out/diary.zkt"), "-o", dir.File("d.txt")}).exitCode,
        0);
    EXPECT_EQ(ModeOf(dir.File("d.txt")), 0600u);
}

// A subfolder that cannot be read is named and passed over; the rest is done.
TEST(ZktBatchSafetyTest, AnUnreadableSubfolderIsPassedOver) {
    const OtherUser user;
    if (!RunningAsRoot() || !user.ok()) {
        GTEST_SKIP() << "needs a user that folder modes bind: " << user.why();
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    for (const char* folder : {"notes", "notes/a", "notes/locked", "notes/z"}) {
        ASSERT_EQ(::mkdir(dir.File(folder).c_str(), 0755), 0);
    }
    for (const char* file : {"notes/a/one.txt", "notes/locked/two.txt", "notes/z/three.txt"}) {
        WriteBytes(dir.File(file), "覚え書き\r\n");
    }
    for (const char* path : {"notes", "notes/a", "notes/locked", "notes/z", "notes/a/one.txt",
                             "notes/locked/two.txt", "notes/z/three.txt"}) {
        ASSERT_EQ(::chown(dir.File(path).c_str(), user.uid(), user.gid()), 0);
    }
    ASSERT_EQ(::chmod(dir.File("notes/locked").c_str(), 0), 0);
    const int status = user.Run([&] {
        const ProcessResult run = Zkt({"encipher", "-p", "3", "-r", dir.File("notes")});
        const bool named = Says(run, "3 file(s): 2 done, 1 not: " + dir.File("notes/locked"));
        return named ? run.exitCode : 100;
    });
    EXPECT_EQ(status, 1);
    EXPECT_FALSE(ReadBytes(dir.File("notes/a/one.zkt")).empty());
    EXPECT_FALSE(ReadBytes(dir.File("notes/z/three.zkt")).empty());
}

// --find-pass ranks on the opening and deciphers a piece at a time: a file
// of about 140 MB is found and deciphered whole within 128 MiB of address
// space, where reading it whole took three and a half times its size.
TEST(ZktBatchSafetyTest, FindPassReadsALargeFileInBoundedMemory) {
    TempDir dir;
    std::string text;
    for (int line = 0; text.size() < (std::size_t{80} << 20); ++line) {
        text += std::to_string(line) + " 行目：明日は雨が降るらしい。傘を持っていくこと。\r\n";
    }
    WriteBytes(dir.File("large.txt"), text);
    ASSERT_EQ(Zkt({"encipher", "-p", "4821", "--encoding", "utf-8", dir.File("large.txt"), "-o",
                   dir.File("large.zkt")})
                  .exitCode,
              0);
    const int status = RunAs(::geteuid(), ::getegid(), [&] {
        // AddressSanitizer's own reserve would not fit: measured without it there.
        if (!kSanitized) {
            const rlimit memory{std::size_t{128} << 20, std::size_t{128} << 20};
            ::setrlimit(RLIMIT_AS, &memory);
        }
        return Zkt({"decipher", "--find-pass", "--encoding", "utf-8", dir.File("large.zkt"), "-o",
                    dir.File("back.txt")})
            .exitCode;
    });
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(ReadBytes(dir.File("back.txt")) == text);  // quietly: 80 MB
}

// What a run says is true: names in --tsv lines escaped; --find-pass looks
// at the output before it ranks and offers no --force; no empty folder is
// left where nothing was written; a file longer than the opening ranked
// is found and deciphered whole.
TEST(ZktBatchSafetyTest, WhatARunSaysIsTrue) {
    TempDir dir;
    const std::string note = Zkt({"encipher", "-p", "1234", "-"}, "明日は雨が降るらしい。\r\n").out;
    WriteBytes(dir.File("a\tb.zkt"), note);
    WriteBytes(dir.File("c\nd\\e.zkt"), note);
    const ProcessResult tsv =
        Zkt({"recover", "--tsv", dir.File("a\tb.zkt"), dir.File("c\nd\\e.zkt")});
    EXPECT_EQ(tsv.exitCode, 0) << tsv.err;
    EXPECT_EQ(std::count(tsv.out.begin(), tsv.out.end(), '\n'), 2) << tsv.out;
    EXPECT_NE(tsv.out.find(dir.File("a\\tb.zkt") + "\t1234\t"), std::string::npos) << tsv.out;
    EXPECT_NE(tsv.out.find(dir.File("c\\nd\\\\e.zkt") + "\t1234\t"), std::string::npos);

    WriteBytes(dir.File("plain.zkt"), "just a plain note\r\n");
    WriteBytes(dir.File("plain.txt"), "kept");
    std::string damaged = note;
    damaged[damaged.size() / 2] = 'G';
    WriteBytes(dir.File("damaged.zkt"), damaged);
    const ProcessResult found =
        Zkt({"decipher", "--find-pass", dir.File("plain.zkt"), dir.File("damaged.zkt")});
    EXPECT_TRUE(Says(found, "plain.txt: exists; not written over")) << found.err;
    EXPECT_FALSE(Says(found, "holds no enciphered text")) << found.err;
    EXPECT_TRUE(Says(found, "damaged: ")) << found.err;
    EXPECT_FALSE(Says(found, "--force")) << found.err;

    const ProcessResult refused =
        Zkt({"decipher", "-p", "1234", "-O", dir.File("out/deep"), dir.File("damaged.zkt")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(::access(dir.File("out").c_str(), F_OK), -1);

    std::mt19937 rng(8);
    const std::string text = ToUtf8(RandomJapanese(rng, 400000));
    WriteBytes(dir.File("long.zkt"),
               Zkt({"encipher", "-p", "3141", "--encoding", "utf-8", "-"}, text).out);
    const ProcessResult longer = Zkt({"decipher", "--find-pass", "--encoding", "utf-8", "-O",
                                      dir.File("plain"), dir.File("long.zkt")});
    EXPECT_TRUE(Says(longer, "(pass number 3141)")) << longer.err;
    EXPECT_EQ(ReadBytes(dir.File("plain/long.txt")).size(), text.size() + 2);
}

// Standard output closed by the caller: told as such, never the input
// taken for it.
TEST(ZktBatchSafetyTest, AClosedStandardOutputIsToldAsOne) {
    TempDir dir;
    WriteBytes(dir.File("note.txt"), "覚え書き\r\n");
    int err[2];
    ASSERT_EQ(::pipe(err), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(err[1], 2);
        ::close(1);
        ExecProgram(ZKT_PATH, {"encipher", "-p", "1", dir.File("note.txt")});
    }
    ::close(err[1]);
    std::string said;
    char buffer[4096];
    for (ssize_t got; (got = ::read(err[0], buffer, sizeof buffer)) > 0;) {
        said.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(err[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << said;
    EXPECT_NE(said.find("standard output: Bad file descriptor"), std::string::npos) << said;
    EXPECT_EQ(ReadBytes(dir.File("note.txt")), "覚え書き\r\n");
}

}  // namespace
}  // namespace solvena::testing
