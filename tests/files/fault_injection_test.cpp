// SPDX-License-Identifier: MIT
// Files under faults: a full file system, odd names. The target of a save
// keeps its old bytes unless the new ones are complete.

#include <dirent.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>

#include "document/document_file.h"
#include "files/file_io.h"
#include "tests/support/sanitized.h"
#include "tests/support/temp_dir.h"

namespace solvena::files {
using namespace document;
namespace {

using testing::kSanitized;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

constexpr int kCannotMount = 77;

// Writes `value` to a /proc file of this process (uid and gid maps).
bool WriteProcFile(const char* path, const std::string& value) {
    std::ofstream file(path);
    file << value;
    return static_cast<bool>(file.flush());
}

// In a child with a mount namespace of its own, mounts a 64 KiB tmpfs on
// `folder` and runs `check` there; kCannotMount when the system allows no
// such mount.
int InSmallTmpfs(const std::string& folder, int (*check)(const std::string&)) {
    const pid_t child = ::fork();
    if (child == 0) {
        const uid_t uid = ::geteuid();
        const gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWNS) != 0) {
            // Without privileges a user namespace may allow the mount.
            if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0 ||
                !WriteProcFile("/proc/self/setgroups", "deny") ||
                !WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
                !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
                ::_exit(kCannotMount);
            }
        }
        if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) {
            ::_exit(kCannotMount);
        }
        ::_exit(check(folder));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int SaveTooLarge(const std::string& folder) {
    const std::string target = folder + "/doc.zkt";
    WriteBytes(target, "old bytes\r\n");
    const Status written = WriteFileSafely(target, std::string(1 << 20, 'x'));
    if (written || written.error().kind != FileError::Kind::DiskFull) {
        return 1;
    }
    if (ReadBytes(target) != "old bytes\r\n") {
        return 2;
    }
    // Nothing is left of the attempt: the folder holds the target alone.
    DIR* entries = ::opendir(folder.c_str());
    int count = 0;
    while (const dirent* entry = ::readdir(entries)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && name != "doc.zkt") {
            ++count;
        }
    }
    ::closedir(entries);
    return count == 0 ? 0 : 3;
}

TEST(FaultInjectionTest, FullFileSystemLeavesTheTargetAsItWas) {
    TempDir dir;
    const int result = InSmallTmpfs(dir.path(), SaveTooLarge);
    if (result == kCannotMount) {
        GTEST_SKIP() << "this system allows no small tmpfs to be mounted here";
    }
    EXPECT_EQ(result, 0) << "1: not reported as a full disk, 2: target changed, 3: leftovers";
}

TEST(FaultInjectionTest, NamesThatAreOddInShells) {
    TempDir dir;
    const std::string names[] = {
        "a b.txt",       "quote\".txt", "it's.txt",     "star*.txt",  "what?.txt",
        "new\nline.txt", "日本語.txt",  "-leading.zkt", " blank.txt", "semi;colon$HOME.txt",
    };
    for (const std::string& name : names) {
        const std::string path = dir.File(name);
        ASSERT_TRUE(WriteDocumentFile(path, u"中身")) << name;
        Result<Document> text = ReadDocumentFile(path);
        ASSERT_TRUE(text.ok()) << name;
        EXPECT_EQ(text.value().text, u"中身") << name;
        EXPECT_TRUE(IsNormalFile(path)) << name;
    }
}

TEST(FaultInjectionTest, SymbolicLinkChainsAndLoopsAreHandled) {
    TempDir dir;
    WriteBytes(dir.File("real.txt"), "old");
    ASSERT_EQ(::symlink("real.txt", dir.File("one").c_str()), 0);
    ASSERT_EQ(::symlink("one", dir.File("two.txt").c_str()), 0);
    ASSERT_TRUE(WriteFileSafely(dir.File("two.txt"), "new"));
    EXPECT_EQ(ReadBytes(dir.File("real.txt")), "new");
    ASSERT_EQ(::symlink("loop.txt", dir.File("loop.txt").c_str()), 0);
    const Status loop = WriteFileSafely(dir.File("loop.txt"), "x");
    ASSERT_FALSE(loop.ok());
    EXPECT_FALSE(loop.error().reason.empty());
}

TEST(FaultInjectionTest, AnEndlessInputRunsOutOfMemoryAsAnError) {
    if (kSanitized) {
        GTEST_SKIP() << "a sanitizer build reserves more address space than any limit allows";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // 128 MiB more address space than the process has now.
        std::ifstream statm("/proc/self/statm");
        unsigned long pages = 0;
        statm >> pages;
        const rlim_t limit = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (128u << 20);
        const rlimit space{limit, limit};
        ::setrlimit(RLIMIT_AS, &space);
        const Result<std::string> bytes = ReadWholeFile("/dev/zero");
        ::_exit(!bytes && bytes.error().kind == FileError::Kind::OutOfMemory ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
}  // namespace solvena::files
