// SPDX-License-Identifier: MIT
// zkt on a folder of old notes: each file done or refused on a line of its
// own, a summary, an exit status that says whether all were done, and no
// file ever half written.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "tests/support/process.h"
#include "tests/support/random_text.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

ProcessResult Zkt(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProcess(ZKT_PATH, args, input);
}

std::string Enciphered(const std::string& text, const std::string& pass) {
    return Zkt({"encipher", "-p", pass, "-"}, text).out;
}

bool Says(const ProcessResult& result, const std::string& words) {
    return result.err.find(words) != std::string::npos;
}

const std::string kNote = "明日は雨が降るらしい。傘を持っていくこと。\r\n";

// A folder kept for years: good notes, one under another pass number, one
// damaged, one never enciphered, one unreadable, a link to a good one.
void MakeNotes(const TempDir& dir) {
    ::mkdir(dir.File("notes").c_str(), 0755);
    ::mkdir(dir.File("notes/2019").c_str(), 0755);
    WriteBytes(dir.File("notes/good.zkt"), Enciphered(kNote, "1234"));
    WriteBytes(dir.File("notes/2019/old.ZKT"), Enciphered("去年の覚え書き。\r\n", "1234"));
    WriteBytes(dir.File("notes/other.zkt"), Enciphered(kNote, "5678"));
    std::string damaged = Enciphered(kNote, "1234");
    damaged[damaged.size() / 2] = 'G';
    WriteBytes(dir.File("notes/damaged.zkt"), damaged);
    WriteBytes(dir.File("notes/plain.zkt"), "just a plain note\r\n");
    WriteBytes(dir.File("notes/bytes.zkt"), "\xFF\xFE\x80");
    WriteBytes(dir.File("notes/readme.md"), "not a note");
    ::symlink("good.zkt", dir.File("notes/link.zkt").c_str());
}

TEST(ZktManyFilesTest, AFolderOfNotesIsDoneFileByFile) {
    TempDir dir;
    MakeNotes(dir);
    const ProcessResult run = Zkt({"decipher", "-p", "1234", "-r", dir.File("notes")});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    const std::string note = Zkt({"decipher", "-p", "1234", dir.File("notes/good.zkt")}).out;
    for (const char* done : {"good", "2019/old"}) {
        const std::string output = dir.File("notes/") + done + ".txt";
        EXPECT_EQ(ReadBytes(output).empty(), false) << done;
        EXPECT_TRUE(Says(run, " -> " + output)) << run.err;
    }
    EXPECT_EQ(ReadBytes(dir.File("notes/good.txt")), note);
    // A link in a folder is not followed, and is named.
    EXPECT_TRUE(Says(run, "1 link(s) not followed: " + dir.File("notes/link.zkt"))) << run.err;
    for (const char* refused : {"other", "damaged", "plain", "bytes", "link"}) {
        struct stat info {};
        EXPECT_NE(::stat((dir.File("notes/") + refused + ".txt").c_str(), &info), 0) << refused;
    }
    for (const char* refused : {"other", "damaged", "plain", "bytes"}) {
        EXPECT_TRUE(Says(run, dir.File("notes/") + refused + ".zkt: ")) << refused;
    }
    EXPECT_TRUE(Says(run, "wrong pass number"));
    EXPECT_TRUE(Says(run, "damaged: a character outside the alphabets"));
    EXPECT_TRUE(Says(run, "6 file(s): 2 done, 4 not:")) << run.err;
    // Again: every output there is kept unless asked.
    const ProcessResult again = Zkt({"decipher", "-p", "1234", "-r", dir.File("notes")});
    EXPECT_TRUE(Says(again, "exists; not written over")) << again.err;
    EXPECT_TRUE(Says(again, "6 file(s): 0 done")) << again.err;
    const ProcessResult overwritten =
        Zkt({"decipher", "-p", "1234", "-r", "--overwrite", dir.File("notes")});
    EXPECT_TRUE(Says(overwritten, "6 file(s): 2 done")) << overwritten.err;
}

TEST(ZktManyFilesTest, OutputsGoUnderAFolderByTheirPaths) {
    TempDir dir;
    MakeNotes(dir);
    const ProcessResult run = Zkt({"decipher", "-p", "1234", "-r", "-O", dir.File("plain"),
                                   dir.File("notes/good.zkt"), dir.File("notes/2019")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(FolderEntries(dir.File("plain")), (std::vector<std::string>{"good.txt", "old.txt"}));
    // And back: enciphered beside themselves.
    const ProcessResult back = Zkt({"encipher", "-p", "1234", "-r", dir.File("plain")});
    EXPECT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(ReadBytes(dir.File("plain/good.zkt")), ReadBytes(dir.File("notes/good.zkt")));
    // A folder without -r is no file to cipher.
    const ProcessResult folder = Zkt({"decipher", "-p", "1234", dir.File("notes")});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_TRUE(Says(folder, "is a folder; -r takes the files in it")) << folder.err;
}

// Each file with the pass number its ranking finds clearly ahead; files
// without one are refused and listed.
TEST(ZktManyFilesTest, EachNoteWithThePassNumberFoundForIt) {
    TempDir dir;
    MakeNotes(dir);
    const ProcessResult found =
        Zkt({"decipher", "--find-pass", "-O", dir.File("out"), dir.File("notes/good.zkt"),
             dir.File("notes/other.zkt"), dir.File("notes/plain.zkt")});
    EXPECT_EQ(found.exitCode, 1);
    EXPECT_TRUE(Says(found, "good.txt (pass number 1234)")) << found.err;
    EXPECT_TRUE(Says(found, "other.txt (pass number 5678)")) << found.err;
    EXPECT_TRUE(Says(found, "3 file(s): 2 done, 1 not: " + dir.File("notes/plain.zkt")))
        << found.err;
    EXPECT_EQ(ReadBytes(dir.File("out/other.txt")), ReadBytes(dir.File("out/good.txt")));
    // And as lines a script reads.
    const ProcessResult ranked =
        Zkt({"recover", "--tsv", dir.File("notes/good.zkt"), dir.File("notes/other.zkt")});
    EXPECT_EQ(ranked.exitCode, 0) << ranked.err;
    EXPECT_TRUE(ranked.out.starts_with(dir.File("notes/good.zkt") + "\t1234\t")) << ranked.out;
    EXPECT_NE(ranked.out.find(dir.File("notes/other.zkt") + "\t5678\t"), std::string::npos);
    EXPECT_NE(ranked.out.find("\tclear\t"), std::string::npos);
}

// A run held in a file that stalls (a pipe that gives its text only when the
// test says): zkt started on `args`, its standard error read until it is
// reading the pipe, so what a signal meets never depends on the machine's
// speed.
struct HeldRun {
    pid_t pid = -1;
    int err = -1;
    int fifo = -1;  // the test's end of the pipe, open until it lets go
    std::string said;

    HeldRun(const std::string& pipePath, const std::vector<std::string>& args) {
        EXPECT_EQ(::mkfifo(pipePath.c_str(), 0600), 0);
        // Read and write, so zkt's opening never waits for a writer.
        fifo = ::open(pipePath.c_str(), O_RDWR | O_CLOEXEC);
        int pipeEnds[2];
        EXPECT_EQ(::pipe(pipeEnds), 0);
        pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeEnds[1], 2);
            ExecProgram(ZKT_PATH, args);
        }
        ::close(pipeEnds[1]);
        err = pipeEnds[0];
        struct stat held {};
        ::fstat(fifo, &held);
        while (!Reading(held)) {
            if (!Running()) {
                ADD_FAILURE() << "zkt ended before it read the pipe";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    // Whether zkt has not ended yet (it is left to be waited for).
    bool Running() const {
        siginfo_t info{};
        return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
               info.si_pid == 0;
    }
    // Whether zkt has the pipe open.
    bool Reading(const struct stat& held) const {
        const std::string fds = "/proc/" + std::to_string(pid) + "/fd";
        // Before zkt is started, the child holds the test's own end.
        std::error_code error;
        if (!std::filesystem::equivalent("/proc/" + std::to_string(pid) + "/exe", ZKT_PATH,
                                         error)) {
            return false;
        }
        for (const std::string& fd : FolderEntries(fds)) {
            struct stat open {};
            if (::stat((fds + "/" + fd).c_str(), &open) == 0 && open.st_dev == held.st_dev &&
                open.st_ino == held.st_ino) {
                return true;
            }
        }
        return false;
    }
    // The pipe gives `text` and ends.
    void LetGo(const std::string& text) {
        EXPECT_EQ(::write(fifo, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fifo);
        fifo = -1;
    }
    // Everything zkt said, and how it ended.
    int Wait() {
        if (fifo >= 0) {
            ::close(fifo);
        }
        char buffer[4096];
        for (ssize_t got; (got = ::read(err, buffer, sizeof buffer)) > 0;) {
            said.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(err);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    }
};

// Stopped by Ctrl+C midway: the file being saved is finished, every output
// is whole or not there at all, and the run says what it did not begin.
TEST(ZktManyFilesTest, CtrlCLeavesEveryFileWholeOrUntouched) {
    TempDir dir;
    ::mkdir(dir.File("big").c_str(), 0755);
    std::mt19937 rng(3);
    const std::string text = ToUtf8(RandomJapanese(rng, 300000));
    WriteBytes(dir.File("first.txt"), text);
    for (int i = 0; i < 12; ++i) {
        WriteBytes(dir.File("big/n" + std::to_string(i) + ".txt"), text);
    }
    HeldRun run(dir.File("stalls.txt"), {"encipher", "-p", "1234", dir.File("first.txt"),
                                         dir.File("stalls.txt"), "-r", dir.File("big")});
    ::kill(run.pid, SIGINT);
    run.LetGo(kNote);
    const int status = run.Wait();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 128 + SIGINT);
    EXPECT_NE(run.said.find("stopped when asked"), std::string::npos) << run.said;
    EXPECT_EQ(ReadBytes(dir.File("first.zkt")), Enciphered(text, "1234"));
    EXPECT_EQ(ReadBytes(dir.File("stalls.zkt")), Enciphered(kNote, "1234"));
    for (const std::string& name : FolderEntries(dir.File("big"))) {
        EXPECT_TRUE(name.ends_with(".txt")) << name;  // none begun, no temporary left behind
    }
}

// A run on a file that stalls: the first Ctrl+C waits for it, a second one
// or SIGTERM ends the run at once, with nothing of that file in place. One
// Ctrl+C during the last file, which then ends, leaves nothing undone and is
// no stop.
TEST(ZktManyFilesTest, ASecondCtrlCOrSigtermEndsAStalledRun) {
    for (const int second : {SIGINT, SIGTERM, 0}) {
        TempDir dir;
        WriteBytes(dir.File("a.txt"), kNote);
        HeldRun run(dir.File("stalls.txt"), {"encipher", "-p", "1", dir.File("a.txt"),
                                             dir.File("stalls.txt"), "-O", dir.File("out")});
        ::kill(run.pid, SIGINT);
        if (second == SIGINT) {
            // Until one comes after the first was taken (two at once are one).
            while (run.Running()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                ::kill(run.pid, SIGINT);
            }
        } else if (second == SIGTERM) {
            ::kill(run.pid, SIGTERM);
        } else {
            run.LetGo(kNote);
        }
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << second;
        const std::vector<std::string> made = FolderEntries(dir.File("out"));
        if (second == 0) {
            EXPECT_EQ(WEXITSTATUS(status), 0) << run.said;
            EXPECT_EQ(made, (std::vector<std::string>{"a.zkt", "stalls.zkt"}));
        } else {
            EXPECT_EQ(WEXITSTATUS(status), 128 + second) << run.said;
            EXPECT_NE(run.said.find("stopped at once"), std::string::npos) << run.said;
            EXPECT_EQ(std::count(made.begin(), made.end(), "stalls.zkt"), 0) << second;
        }
    }
}

// Waits up to ten seconds, while zkt runs, for `ready`.
template <class Ready>
bool Await(const HeldRun& run, const Ready& ready) {
    for (int tries = 0; tries < 1000 && run.Running(); ++tries) {
        if (ready()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// The hidden temporaries of a save (".NAME.solvena-XXXXXX") in `folder`.
std::size_t Temporaries(const std::string& folder) {
    const std::vector<std::string> names = FolderEntries(folder);
    return static_cast<std::size_t>(
        std::count_if(names.begin(), names.end(), [](const std::string& name) {
            return name.starts_with('.') && name.find(".solvena-") != std::string::npos;
        }));
}

// SIGTERM while an output is being written ends the run at once, with no
// part of it left in a hidden temporary; a file rewritten in place (it has
// another name) is finished first, as half of it would be a damaged file.
TEST(ZktManyFilesTest, SigtermMidSaveLeavesNoPartOfTheOutput) {
    std::mt19937 rng(5);
    const std::string text = ToUtf8(RandomJapanese(rng, 2 << 20));  // well past the opening
    for (const bool inPlace : {false, true}) {
        TempDir dir;
        ::mkdir(dir.File("out").c_str(), 0755);
        WriteBytes(dir.File("out/stalls.zkt"), "old");
        if (inPlace) {
            ASSERT_EQ(::link(dir.File("out/stalls.zkt").c_str(), dir.File("other").c_str()), 0);
        }
        HeldRun run(dir.File("stalls.txt"),
                    {"encipher", "-p", "1", "--encoding", "utf-8", "--overwrite",
                     dir.File("stalls.txt"), "-O", dir.File("out")});
        ASSERT_EQ(::write(run.fifo, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ASSERT_TRUE(Await(run, [&] {
            return inPlace ? ReadBytes(dir.File("out/stalls.zkt")) != "old"
                           : Temporaries(dir.File("out")) > 0;
        }));
        ::kill(run.pid, SIGTERM);
        if (inPlace) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            EXPECT_TRUE(run.Running());
            run.LetGo("");
        }
        const int status = run.Wait();
        ASSERT_TRUE(WIFEXITED(status)) << run.said;
        EXPECT_EQ(WEXITSTATUS(status), 128 + SIGTERM) << run.said;
        EXPECT_EQ(Temporaries(dir.File("out")), 0u) << inPlace;
        // Compared quietly: the text is megabytes long.
        EXPECT_TRUE(
            ReadBytes(dir.File("out/stalls.zkt")) ==
            (inPlace ? Zkt({"encipher", "-p", "1", "--encoding", "utf-8", "-"}, text).out : "old"))
            << inPlace;
    }
}

// A file the walk found, swapped for a link (to a file the folder's owner
// may not read) or a pipe while the run is held in an earlier one, is not
// read through it nor waited on: the link is passed over and named.
TEST(ZktManyFilesTest, AWalkedFileSwappedForALinkIsNotFollowed) {
    TempDir dir;
    ::mkdir(dir.File("notes").c_str(), 0755);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        WriteBytes(dir.File("notes/") + name, kNote);
    }
    WriteBytes(dir.File("secret.txt"), "誰にも見せない日記\r\n");
    HeldRun run(dir.File("stalls.txt"),
                {"encipher", "-p", "1", dir.File("stalls.txt"), "-r", dir.File("notes")});
    ASSERT_EQ(::unlink(dir.File("notes/b.txt").c_str()), 0);
    ASSERT_EQ(::symlink(dir.File("secret.txt").c_str(), dir.File("notes/b.txt").c_str()), 0);
    ASSERT_EQ(::unlink(dir.File("notes/c.txt").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.File("notes/c.txt").c_str(), 0600), 0);
    run.LetGo(kNote);
    Await(run, [] { return false; });  // until it ends
    if (run.Running()) {
        ADD_FAILURE() << "waited on a pipe";
        ::kill(run.pid, SIGKILL);
    }
    const int status = run.Wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << run.said;
    EXPECT_NE(run.said.find("3 file(s): 2 done, 1 not: " + dir.File("notes/c.txt") +
                            "; 1 link(s) not followed: " + dir.File("notes/b.txt")),
              std::string::npos)
        << run.said;
    EXPECT_EQ(FolderEntries(dir.File("notes")),
              (std::vector<std::string>{"a.txt", "a.zkt", "b.txt", "c.txt"}));
    EXPECT_EQ(ReadBytes(dir.File("notes/a.zkt")), Enciphered(kNote, "1"));
}

}  // namespace
}  // namespace solvena::testing
