// SPDX-License-Identifier: MIT
// Saves that rewrite the file in place, and what killed saves leave behind.

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <vector>

#include "files/file_io.h"
#include "tests/support/other_user.h"
#include "tests/support/temp_dir.h"

namespace solvena::files {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

ino_t InodeOf(const std::string& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_ino;
}

// Runs `act` as an unprivileged user: this one, or one made for the test
// when running as root. -2: no such user can be had.
int Unprivileged(const testing::OtherUser& user, const std::function<int()>& act) {
    if (!testing::RunningAsRoot()) {
        return testing::RunAs(::geteuid(), ::getegid(), act);
    }
    return user.ok() ? user.Run(act) : -2;
}

TEST(InPlaceTest, BothNamesOfAHardLinkSeeTheNewBytes) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "old");
    ASSERT_EQ(::link(dir.File("a.txt").c_str(), dir.File("b.txt").c_str()), 0);
    const ino_t inode = InodeOf(dir.File("a.txt"));
    ASSERT_TRUE(WriteFileSafely(dir.File("a.txt"), "new and longer").ok());
    EXPECT_EQ(ReadBytes(dir.File("b.txt")), "new and longer");
    ASSERT_TRUE(WriteFileSafely(dir.File("b.txt"), "short").ok());
    EXPECT_EQ(ReadBytes(dir.File("a.txt")), "short");
    EXPECT_EQ(InodeOf(dir.File("a.txt")), inode);
    EXPECT_EQ(testing::FolderEntries(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

// Bytes made as they are written: a writer that fails after a megabyte
// leaves the file as it was, by either way of saving, and nothing beside it.
TEST(InPlaceTest, AWriterThatFailsMidwayLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string old(300000, 'o');
    WriteBytes(dir.File("renamed.txt"), old);
    WriteBytes(dir.File("linked.txt"), old);
    ASSERT_EQ(::link(dir.File("linked.txt").c_str(), dir.File("other.txt").c_str()), 0);
    const ContentWriter failing = [](int fd) -> Status {
        Status written = WriteAll(fd, std::string(1 << 20, 'n'), "x");
        if (!written) {
            return written;
        }
        return OutOfMemory("input");
    };
    for (const char* name : {"renamed.txt", "linked.txt"}) {
        const Status saved = WriteFileSafely(dir.File(name), failing);
        ASSERT_FALSE(saved.ok()) << name;
        EXPECT_EQ(saved.error().kind, FileError::Kind::OutOfMemory) << name;
        EXPECT_EQ(ReadBytes(dir.File(name)), old) << name;
    }
    EXPECT_EQ(testing::FolderEntries(dir.path()),
              (std::vector<std::string>{"linked.txt", "other.txt", "renamed.txt"}));
    // And one that succeeds writes its bytes in place, through both names.
    int calls = 0;
    ASSERT_TRUE(WriteFileSafely(dir.File("linked.txt"), [&](int fd) {
                    ++calls;
                    return WriteAll(fd, "streamed", "x");
                }).ok());
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ReadBytes(dir.File("other.txt")), "streamed");
}

TEST(InPlaceTest, AWritableFileInAReadOnlyFolderIsSavedInPlace) {
    const testing::OtherUser user;
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string folder = dir.File("ro");
    const std::string state = dir.File("state");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(state.c_str(), 0755), 0);
    WriteBytes(folder + "/a.txt", "old");
    WriteBytes(folder + "/locked.txt", "old");
    WriteBytes(state + "/a file", "no folder");
    if (user.ok()) {
        for (const std::string& path :
             {folder, state, folder + "/a.txt", folder + "/locked.txt", state + "/a file"}) {
            ASSERT_EQ(::chown(path.c_str(), user.uid(), user.gid()), 0);
        }
    }
    ASSERT_EQ(::chmod((folder + "/locked.txt").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    const int result = Unprivileged(user, [&] {
        ::setenv("XDG_STATE_HOME", state.c_str(), 1);
        const Status locked = WriteFileSafely(folder + "/locked.txt", "new");
        if (locked || locked.error().kind != FileError::Kind::PermissionDenied) {
            return 1;
        }
        if (!WriteFileSafely(folder + "/a.txt", "new").ok()) {
            return 2;
        }
        // A state folder that cannot be made is named, not the file.
        ::setenv("XDG_STATE_HOME", (state + "/a file").c_str(), 1);
        const Status stateless = WriteFileSafely(folder + "/a.txt", "newer");
        return !stateless && stateless.error().path.starts_with(state + "/a file") ? 0 : 3;
    });
    if (result == -2) {
        GTEST_SKIP() << user.why();
    }
    EXPECT_EQ(result, 0) << "1: a read-only file was written, 2: the save failed, 3: the file "
                            "named for the state folder's fault";
    EXPECT_EQ(ReadBytes(folder + "/a.txt"), "new");
    EXPECT_EQ(ReadBytes(folder + "/locked.txt"), "old");
    EXPECT_EQ(testing::FolderEntries(folder), (std::vector<std::string>{"a.txt", "locked.txt"}));
    // The copy of the old bytes was kept in the state folder, and is gone.
    EXPECT_EQ(testing::FolderEntries(state + "/solvena"), std::vector<std::string>{});
}

TEST(InPlaceTest, AFailedInPlaceWritePutsTheOldBytesBack) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "old bytes");
    ASSERT_EQ(::link(dir.File("a.txt").c_str(), dir.File("b.txt").c_str()), 0);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const Status written = WriteFileSafely(dir.File("a.txt"), std::string(100000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, FileError::Kind::DiskFull);
    EXPECT_EQ(ReadBytes(dir.File("a.txt")), "old bytes");
    EXPECT_EQ(ReadBytes(dir.File("b.txt")), "old bytes");
    EXPECT_EQ(testing::FolderEntries(dir.path()), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(InPlaceTest, TheNextSaveRemovesWhatKilledSavesLeft) {
    TempDir dir;
    const std::vector<std::string> leftovers = {".doc.txt.solvena-AbC123",
                                                ".doc.txt.solvena-zz9ZZ9"};
    // Names a save never gives, another file's leftover, one in use.
    const std::vector<std::string> others = {".doc.txt.solvena-AbC12", ".doc.txt.AbC123",
                                             ".other.txt.solvena-AbC123", "doc.txt.solvena-AbC123",
                                             ".doc.txt.solvena-InUse1"};
    for (const std::string& name : leftovers) {
        WriteBytes(dir.File(name), "new bytes of a killed save");
    }
    for (const std::string& name : others) {
        WriteBytes(dir.File(name), "not ours");
    }
    const int inUse = ::open(dir.File(".doc.txt.solvena-InUse1").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
    WriteBytes(dir.File("doc.txt"), "old");
    // Only files older than the saving process count as left behind.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(
        testing::RunAs(::geteuid(), ::getegid(),
                       [&] { return WriteFileSafely(dir.File("doc.txt"), "new").ok() ? 0 : 1; }),
        0);
    ::close(inUse);
    std::vector<std::string> expected = others;
    expected.push_back("doc.txt");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(testing::FolderEntries(dir.path()), expected);
    // Made after this process started: perhaps a save still running.
    WriteBytes(dir.File(leftovers[0]), "newer");
    ASSERT_TRUE(WriteFileSafely(dir.File("doc.txt"), "newest").ok());
    EXPECT_EQ(ReadBytes(dir.File(leftovers[0])), "newer");
}

}  // namespace
}  // namespace solvena::files
