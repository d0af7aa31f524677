// SPDX-License-Identifier: MIT
// A save that stops while rewriting a file in place: the copy of the old
// bytes is the file's only good copy, stays through later saves of any
// file, and is found again by the file it belongs to. Two saves of one
// file take turns.

#include "files/kept_copies.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "files/file_io.h"
#include "files/save_lock.h"
#include "files/save_routes.h"
#include "tests/support/other_user.h"
#include "tests/support/sanitized.h"
#include "tests/support/temp_dir.h"

namespace solvena::files {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Saves `path` in a child that dies halfway through writing it, as a
// crash or a kill would stop it.
void SaveStoppedMidway(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        (void)WriteFileSafely(path, [](int fd) -> Status {
            (void)WriteAll(fd, "half of the new", "x");
            ::_exit(9);
        });
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST(KeptCopiesTest, ACopyLeftByASaveStoppedMidwayOutlivesLaterSaves) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("A").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(dir.File("B").c_str(), 0700), 0);
    const std::string notes = dir.File("A/notes.txt");
    WriteBytes(notes, "the only good copy");
    // A second name makes the save rewrite the file in place.
    ASSERT_EQ(::link(notes.c_str(), dir.File("A/link.txt").c_str()), 0);
    SaveStoppedMidway(notes);
    EXPECT_NE(ReadBytes(notes), "the only good copy");
    std::vector<std::string> kept = KeptCopiesOf(notes);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadBytes(kept[0]), "the only good copy");
    // Found by the other name too; not by another file of the same name.
    EXPECT_EQ(KeptCopiesOf(dir.File("A/link.txt")), kept);
    WriteBytes(dir.File("B/notes.txt"), "another file");
    EXPECT_TRUE(KeptCopiesOf(dir.File("B/notes.txt")).empty());
    // Later saves of this file and of others leave it where it is.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    const int saved = testing::RunAs(::geteuid(), ::getegid(), [&] {
        return WriteFileSafely(notes, "new").ok() &&
                       WriteFileSafely(dir.File("B/notes.txt"), "x").ok()
                   ? 0
                   : 1;
    });
    EXPECT_EQ(saved, 0);
    EXPECT_EQ(KeptCopiesOf(notes), kept);
    EXPECT_EQ(ReadBytes(kept[0]), "the only good copy");
    // Once its owner has removed it, it is no longer told of.
    ASSERT_EQ(::unlink(kept[0].c_str()), 0);
    EXPECT_TRUE(KeptCopiesOf(notes).empty());
}

// The copy of a file in a folder that takes no new file goes to the state
// folder, where files of the same name from every folder meet.
TEST(KeptCopiesTest, InTheStateFolderACopyBelongsToItsOwnFile) {
    const testing::OtherUser user;
    if (!user.ok() && testing::RunningAsRoot()) {
        GTEST_SKIP() << user.why();
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    for (const char* folder : {"A", "B", "state"}) {
        ASSERT_EQ(::mkdir(dir.File(folder).c_str(), 0755), 0);
    }
    WriteBytes(dir.File("A/notes.txt"), "old notes");
    if (user.ok()) {
        for (const char* path : {"A", "B", "state", "A/notes.txt"}) {
            ASSERT_EQ(::chown(dir.File(path).c_str(), user.uid(), user.gid()), 0);
        }
    }
    ASSERT_EQ(::chmod(dir.File("A").c_str(), 0555), 0);
    const auto act = [&] {
        ::setenv("XDG_STATE_HOME", dir.File("state").c_str(), 1);
        SaveStoppedMidway(dir.File("A/notes.txt"));
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        if (!WriteFileSafely(dir.File("B/notes.txt"), "x").ok()) {
            return 1;
        }
        const std::vector<std::string> kept = KeptCopiesOf(dir.File("A/notes.txt"));
        if (kept.size() != 1 || ReadBytes(kept[0]) != "old notes") {
            return 2;
        }
        return KeptCopiesOf(dir.File("B/notes.txt")).empty() ? 0 : 3;
    };
    const int result = user.ok() ? user.Run(act) : testing::RunAs(::geteuid(), ::getegid(), act);
    EXPECT_EQ(result, 0) << "1: B not saved, 2: A's copy lost, 3: B took A's copy";
}

// Marks and copies planted by another user in a shared folder, or a mark
// that is a pipe or a huge sparse file, are no kept copies: nothing is
// told of them, and looking neither hangs nor reads them.
TEST(KeptCopiesTest, ForgedMarksAreNotBelieved) {
    const testing::OtherUser user;
    if (!user.ok() && testing::RunningAsRoot()) {
        GTEST_SKIP() << user.why();
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(dir.File("shared").c_str(), 0755), 0);
    ASSERT_EQ(::chmod(dir.File("shared").c_str(), 01777), 0);
    const std::string notes = dir.File("shared/notes.txt");
    WriteBytes(notes, "my notes");
    struct stat info {};
    ASSERT_EQ(::stat(notes.c_str(), &info), 0);
    const std::string says =
        std::to_string(info.st_dev) + " " + std::to_string(info.st_ino) + "\n" + notes + "\n";
    const auto plant = [&](const char* letters) {
        const std::string copy = dir.File("shared/.notes.txt.solvena-") + letters;
        WriteBytes(copy, "the attacker's text");
        WriteBytes(copy + ".of", says);
        return ::chmod(copy.c_str(), 0600) == 0 && ::chmod((copy + ".of").c_str(), 0600) == 0 ? 0
                                                                                              : 1;
    };
    if (user.ok()) {
        ASSERT_EQ(user.Run([&] { return plant("aaaaaa"); }), 0);
    }
    // This user's own, but a copy anyone may read, a pipe, a sparse giant.
    ASSERT_EQ(plant("bbbbbb"), 0);
    ASSERT_EQ(::chmod(dir.File("shared/.notes.txt.solvena-bbbbbb").c_str(), 0644), 0);
    WriteBytes(dir.File("shared/.notes.txt.solvena-cccccc"), "old");
    ASSERT_EQ(::chmod(dir.File("shared/.notes.txt.solvena-cccccc").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("shared/.notes.txt.solvena-cccccc.of").c_str(), 0600), 0);
    WriteBytes(dir.File("shared/.notes.txt.solvena-dddddd"), "old");
    ASSERT_EQ(::chmod(dir.File("shared/.notes.txt.solvena-dddddd").c_str(), 0600), 0);
    WriteBytes(dir.File("shared/.notes.txt.solvena-dddddd.of"), says);
    ASSERT_EQ(::truncate(dir.File("shared/.notes.txt.solvena-dddddd.of").c_str(), off_t{1} << 32),
              0);
    const int looked = testing::RunAs(::geteuid(), ::getegid(), [&] {
        ::alarm(60);  // a pipe read for ever ends the child, failing the test
        // A mark read whole would not fit; AddressSanitizer's own reserve
        // would not either, so it is measured without the limit there.
        if (!testing::kSanitized) {
            const rlimit memory{std::size_t{1} << 30, std::size_t{1} << 30};
            ::setrlimit(RLIMIT_AS, &memory);
        }
        return KeptCopiesOf(notes).empty() && WriteFileSafely(notes, "saved").ok() ? 0 : 1;
    });
    EXPECT_EQ(looked, 0);
    EXPECT_EQ(ReadBytes(notes), "saved");
}

// A copy is told as a running save's while that save holds it, and as a
// stopped one's only after.
TEST(KeptCopiesTest, ARunningSaveIsNotAStoppedOne) {
    TempDir dir;
    const std::string notes = dir.File("notes.txt");
    WriteBytes(notes, "old");
    ASSERT_EQ(::link(notes.c_str(), dir.File("link.txt").c_str()), 0);  // saved in place
    std::vector<std::string> seen;
    bool running = false;
    ASSERT_TRUE(WriteFileSafely(notes, [&](int fd) {
                    seen = KeptCopiesOf(notes);
                    running = seen.size() == 1 && SaveStillRunning(seen[0]);
                    return WriteAll(fd, "new", "x");
                }).ok());
    EXPECT_TRUE(running);
    SaveStoppedMidway(notes);
    const std::vector<std::string> left = KeptCopiesOf(notes);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_FALSE(SaveStillRunning(left[0]));
}

TEST(KeptCopiesTest, TwoSavesOfOneFileTakeTurns) {
    TempDir dir;
    const std::string path = dir.File("doc.txt");
    WriteBytes(path, "old");
    // Another save holds the file for a while.
    const int held = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // The save may end only after the other has let go, however fast or
    // slow the machine.
    std::atomic<bool> released = false;
    std::thread release([held, &released] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        released = true;
        ::close(held);
    });
    ASSERT_TRUE(WriteFileSafely(path, "new").ok());
    EXPECT_TRUE(released);
    release.join();
    EXPECT_EQ(ReadBytes(path), "new");
    // One that never lets go: the save gives up with a reason of its own.
    const int stuck = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(stuck, LOCK_EX), 0);
    const Result<SaveTarget> target = FindSaveTarget(path);
    ASSERT_TRUE(target.ok());
    bool moved = false;
    const Result<Descriptor> lock =
        LockForSave(target.value(), path, moved, std::chrono::milliseconds(60));
    ::close(stuck);
    ASSERT_FALSE(lock.ok());
    EXPECT_EQ(lock.error().kind, FileError::Kind::Busy);
}

}  // namespace
}  // namespace solvena::files
