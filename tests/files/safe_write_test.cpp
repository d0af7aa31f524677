// SPDX-License-Identifier: MIT
// Replacing a file never leaves it half written.

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <vector>

#include "files/file_io.h"
#include "tests/support/temp_dir.h"

namespace solvena::files {
namespace {

using testing::FolderEntries;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

mode_t ModeOf(const std::string& path) {
    struct stat info;
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mode & 07777;
}

// A file-size limit for as long as it lives, with the signal that would end
// the process ignored, so that writes fail as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(SafeWriteTest, ReplacesTheFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const std::string path = dir.File("a.zkt");
    ASSERT_TRUE(WriteFileSafely(path, "first").ok());
    ASSERT_TRUE(WriteFileSafely(path, "second").ok());
    EXPECT_EQ(ReadBytes(path), "second");
    EXPECT_EQ(testing::FolderEntries(dir.path()), std::vector<std::string>{"a.zkt"});
}

TEST(SafeWriteTest, NewFilesFollowTheUmaskAndOldFilesKeepTheirMode) {
    TempDir dir;
    const mode_t old = ::umask(027);
    ASSERT_TRUE(WriteFileSafely(dir.File("new.txt"), "x").ok());
    ::umask(old);
    EXPECT_EQ(ModeOf(dir.File("new.txt")), 0640u);

    const std::string kept = dir.File("kept.txt");
    WriteBytes(kept, "old");
    ASSERT_EQ(::chmod(kept.c_str(), 0604), 0);
    ASSERT_TRUE(WriteFileSafely(kept, "new").ok());
    EXPECT_EQ(ModeOf(kept), 0604u);
}

// A new file made no more open than asked; one that must be new is never
// written over, nor through a link.
TEST(SafeWriteTest, NewFileRulesLimitTheModeAndKeepWhatIsThere) {
    TempDir dir;
    const ContentWriter write = [&](int fd) { return WriteAll(fd, "new", "x"); };
    ASSERT_TRUE(WriteFileSafely(dir.File("private.zkt"), write, {0600, true}).ok());
    EXPECT_EQ(ModeOf(dir.File("private.zkt")), 0600u);
    WriteBytes(dir.File("there.zkt"), "old");
    ::symlink("nowhere.zkt", dir.File("dangling.zkt").c_str());
    for (const char* name : {"there.zkt", "dangling.zkt", "private.zkt"}) {
        const Status refused = WriteFileSafely(dir.File(name), write, {0666, true});
        ASSERT_FALSE(refused.ok()) << name;
        EXPECT_EQ(refused.error().errorNumber, EEXIST) << name;
    }
    EXPECT_EQ(ReadBytes(dir.File("there.zkt")), "old");
    EXPECT_EQ(FolderEntries(dir.path()),
              (std::vector<std::string>{"dangling.zkt", "private.zkt", "there.zkt"}));
}

TEST(SafeWriteTest, WritesThroughSymbolicLinks) {
    TempDir dir;
    WriteBytes(dir.File("real.txt"), "old");
    ASSERT_EQ(::symlink("real.txt", dir.File("link.txt").c_str()), 0);
    ASSERT_TRUE(WriteFileSafely(dir.File("link.txt"), "new").ok());
    EXPECT_EQ(ReadBytes(dir.File("real.txt")), "new");
    struct stat info;
    ASSERT_EQ(::lstat(dir.File("link.txt").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    // A link to a file that does not exist yet creates that file.
    ASSERT_EQ(::symlink("later.txt", dir.File("dangling.txt").c_str()), 0);
    ASSERT_TRUE(WriteFileSafely(dir.File("dangling.txt"), "made").ok());
    EXPECT_EQ(ReadBytes(dir.File("later.txt")), "made");
}

TEST(SafeWriteTest, DiskFullLeavesTheTargetIntact) {
    TempDir dir;
    const std::string path = dir.File("big.txt");
    WriteBytes(path, "old bytes");
    Status written = Done{};
    {
        FileSizeLimit limit(4096);
        written = WriteFileSafely(path, std::string(100000, 'x'));
    }
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, FileError::Kind::DiskFull);
    EXPECT_EQ(written.error().path, path);
    EXPECT_EQ(ReadBytes(path), "old bytes");
    EXPECT_EQ(testing::FolderEntries(dir.path()), std::vector<std::string>{"big.txt"});
}

TEST(SafeWriteTest, FolderTargetsAndMissingFoldersFail) {
    TempDir dir;
    ASSERT_EQ(::mkdir(dir.File("x.txt").c_str(), 0755), 0);
    Status folder = WriteFileSafely(dir.File("x.txt"), "x");
    ASSERT_FALSE(folder.ok());
    EXPECT_EQ(folder.error().kind, FileError::Kind::IsFolder);
    Status missing = WriteFileSafely(dir.File("none/a.txt"), "x");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().kind, FileError::Kind::NotFound);
    EXPECT_FALSE(WriteFileSafely("", "x").ok());
}

TEST(SafeWriteTest, ReadOnlyFileInReadOnlyFolderIsPermissionDenied) {
    if (testing::RunningAsRoot()) {
        GTEST_SKIP() << "running as root: permissions do not stop writing";
    }
    TempDir dir;
    const std::string folder = dir.File("ro");
    ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
    WriteBytes(folder + "/a.txt", "old");
    ASSERT_EQ(::chmod((folder + "/a.txt").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    Status written = WriteFileSafely(folder + "/a.txt", "new");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, FileError::Kind::PermissionDenied);
    EXPECT_EQ(ReadBytes(folder + "/a.txt"), "old");
}

TEST(SafeWriteTest, DevicesAreWrittenDirectly) {
    // Replacing /dev/null by a rename would be a disaster; it is written to.
    if (!IsNormalFile("/dev/null") && ::access("/dev/null", W_OK) == 0) {
        EXPECT_TRUE(WriteFileSafely("/dev/null", "discarded").ok());
        struct stat info;
        ASSERT_EQ(::stat("/dev/null", &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
}

}  // namespace
}  // namespace solvena::files
