// SPDX-License-Identifier: MIT
// What a save writes to: links planted by others are not followed, and
// names of devices and of the process's own descriptors are written to as
// they are, never replaced.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "files/file_io.h"
#include "tests/support/other_user.h"
#include "tests/support/temp_dir.h"

namespace solvena::files {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

bool Exists(const std::string& path) {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

TEST(SaveTargetTest, LinksPlantedInASharedFolderByAnotherUserAreNotFollowed) {
    const testing::OtherUser attacker;
    if (!attacker.ok()) {
        GTEST_SKIP() << attacker.why();
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string shared = dir.File("shared");
    const std::string home = dir.File("home");
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);  // as /tmp
    ASSERT_EQ(::mkdir(home.c_str(), 0700), 0);
    WriteBytes(home + "/secret.txt", "the victim's file");
    // The other user plants a link to an existing file and one to a new one.
    ASSERT_EQ(attacker.Run([&] {
        return ::symlink((home + "/secret.txt").c_str(), (shared + "/notes.txt").c_str()) == 0 &&
                       ::symlink((home + "/made.txt").c_str(), (shared + "/new.txt").c_str()) == 0
                   ? 0
                   : 1;
    }),
              0);

    for (const char* name : {"/notes.txt", "/new.txt"}) {
        const Status saved = WriteFileSafely(shared + name, "overwritten");
        ASSERT_FALSE(saved.ok()) << name;
        EXPECT_EQ(saved.error().kind, FileError::Kind::PermissionDenied) << name;
    }
    EXPECT_EQ(ReadBytes(home + "/secret.txt"), "the victim's file");
    EXPECT_FALSE(Exists(home + "/made.txt"));

    // The user's own link there is still written through.
    ASSERT_EQ(::symlink((home + "/mine.txt").c_str(), (shared + "/mine.txt").c_str()), 0);
    ASSERT_TRUE(WriteFileSafely(shared + "/mine.txt", "mine").ok());
    EXPECT_EQ(ReadBytes(home + "/mine.txt"), "mine");
}

TEST(SaveTargetTest, NamesOfOpenDescriptorsAreWrittenToTheDescriptor) {
    TempDir dir;
    const std::string log = dir.File("log.txt");
    WriteBytes(log, "first line\n");
    // As `>> log.txt` opens it for a program.
    const int appended = ::open(log.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(appended, 0);
    const std::string name = "/dev/fd/" + std::to_string(appended);
    ASSERT_TRUE(WriteFileSafely(name, "second line\n").ok());
    ASSERT_TRUE(WriteFileSafely("/proc/self/fd/" + std::to_string(appended), "third\n").ok());
    ::close(appended);
    EXPECT_EQ(ReadBytes(log), "first line\nsecond line\nthird\n");

    int pipe[2];
    ASSERT_EQ(::pipe2(pipe, O_CLOEXEC), 0);
    ASSERT_TRUE(WriteFileSafely("/dev/fd/" + std::to_string(pipe[1]), "through a pipe").ok());
    ::close(pipe[1]);
    char buffer[64] = {};
    EXPECT_EQ(::read(pipe[0], buffer, sizeof buffer), 14);
    EXPECT_STREQ(buffer, "through a pipe");
    ::close(pipe[0]);
}

TEST(SaveTargetTest, AFifoIsWrittenToAndStaysAFifo) {
    TempDir dir;
    const std::string fifo = dir.File("fifo.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string got;
    std::thread reader([&] { got = ReadBytes(fifo); });
    const Status saved = WriteFileSafely(fifo, "to the reader");
    reader.join();
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(got, "to the reader");
    struct stat info;
    ASSERT_EQ(::lstat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

}  // namespace
}  // namespace solvena::files
