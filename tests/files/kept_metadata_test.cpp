// SPDX-License-Identifier: MIT
// A save keeps what the file had besides its bytes: ACLs, extended
// attributes, owner, group and special bits; a new file gets what any new
// file in its folder would.

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "files/file_io.h"
#include "tests/support/other_user.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace solvena::files {
namespace {

using testing::ReadBytes;
using testing::RunProcess;
using testing::TempDir;
using testing::WriteBytes;

constexpr const char* kSetfacl = "/usr/bin/setfacl";
constexpr uid_t kNobody = 65534;

// The raw value of an extended attribute, or "(none)".
std::string Attribute(const std::string& path, const char* name) {
    char value[512];
    const ssize_t size = ::getxattr(path.c_str(), name, value, sizeof value);
    return size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size));
}

struct stat StatusOf(const std::string& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info;
}

bool HaveSetfacl() {
    return ::access(kSetfacl, X_OK) == 0;
}

TEST(KeptMetadataTest, AclsAndExtendedAttributesSurviveASave) {
    if (!HaveSetfacl()) {
        GTEST_SKIP() << "setfacl is not installed (package acl)";
    }
    TempDir dir;
    const std::string path = dir.File("hidden.txt");
    WriteBytes(path, "old");
    // Hidden from one user, with a note of the user's own.
    ASSERT_EQ(RunProcess(kSetfacl, {"-m", "u:nobody:---", path}).exitCode, 0);
    if (::setxattr(path.c_str(), "user.note", "kept", 4, 0) != 0) {
        GTEST_SKIP() << "this file system takes no user attributes";
    }
    const std::string acl = Attribute(path, "system.posix_acl_access");
    ASSERT_NE(acl, "(none)");
    const mode_t mode = StatusOf(path).st_mode;

    ASSERT_TRUE(WriteFileSafely(path, "new").ok());
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(Attribute(path, "system.posix_acl_access"), acl);
    EXPECT_EQ(Attribute(path, "user.note"), "kept");
    EXPECT_EQ(StatusOf(path).st_mode, mode);
}

TEST(KeptMetadataTest, NewFilesGetTheFolderDefaultAcl) {
    if (!HaveSetfacl()) {
        GTEST_SKIP() << "setfacl is not installed (package acl)";
    }
    TempDir dir;
    ASSERT_EQ(RunProcess(kSetfacl, {"-d", "-m", "u:nobody:rw-", dir.path()}).exitCode, 0);
    // What any program's new file there gets.
    const std::string reference = dir.File("reference.txt");
    ::close(::open(reference.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    const std::string saved = dir.File("saved.txt");
    ASSERT_TRUE(WriteFileSafely(saved, "new").ok());
    EXPECT_EQ(Attribute(saved, "system.posix_acl_access"),
              Attribute(reference, "system.posix_acl_access"));
    EXPECT_EQ(StatusOf(saved).st_mode, StatusOf(reference).st_mode);
    // An existing file without an ACL does not take up the default one.
    const std::string plain = dir.File("plain.txt");
    WriteBytes(plain, "old");
    ASSERT_EQ(RunProcess(kSetfacl, {"-b", plain}).exitCode, 0);
    ASSERT_EQ(::chmod(plain.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileSafely(plain, "new").ok());
    EXPECT_EQ(Attribute(plain, "system.posix_acl_access"), "(none)");
    EXPECT_EQ(StatusOf(plain).st_mode & 07777, 0640u);
}

TEST(KeptMetadataTest, RootKeepsOwnerAndSetIdBits) {
    if (!testing::RunningAsRoot()) {
        GTEST_SKIP() << "not running as root: files of other owners cannot be made";
    }
    TempDir dir;
    const std::string tool = dir.File("tool.txt");
    WriteBytes(tool, "old");
    ASSERT_EQ(::chown(tool.c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(::chmod(tool.c_str(), 06755), 0);
    ASSERT_TRUE(WriteFileSafely(tool, "new").ok());
    const struct stat info = StatusOf(tool);
    EXPECT_EQ(ReadBytes(tool), "new");
    EXPECT_EQ(info.st_uid, kNobody);
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 06755u);
}

TEST(KeptMetadataTest, AGroupMemberSavingKeepsTheOwner) {
    const testing::OtherUser member;
    if (!member.ok()) {
        GTEST_SKIP() << member.why();
    }
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    // Someone else's file that the group may write, in a folder all may write.
    const std::string shared = dir.File("shared.txt");
    WriteBytes(shared, "old");
    ASSERT_EQ(::chown(shared.c_str(), kNobody, member.gid()), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 0664), 0);
    const int result = member.Run([&] { return WriteFileSafely(shared, "new").ok() ? 0 : 1; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadBytes(shared), "new");
    EXPECT_EQ(StatusOf(shared).st_uid, kNobody);
    EXPECT_EQ(StatusOf(shared).st_gid, member.gid());
}

}  // namespace
}  // namespace solvena::files
