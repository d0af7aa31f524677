// SPDX-License-Identifier: MIT
// zkt's sealing of one file: what it writes gpg opens, what it cannot open
// leaves the target as it was, and the password never comes from where
// others could read it.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "cli/seal_command.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace solvena::zkt {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

const std::string kText = "明日は雨が降るらしい。\r\n";

int Sealed(const TempDir& dir, const std::string& from, const std::string& to,
           const std::string& password, bool seal) {
    const int in = ::open(dir.File(from).c_str(), O_RDONLY | O_CLOEXEC);
    const Names names{dir.File(from), dir.File(to), false, false};
    const int status = seal ? SealFile({}, in, names, dir.File(to), password, {false, from}, {})
                            : UnsealFile({}, in, names, dir.File(to), password, {});
    ::close(in);
    return status;
}

TEST(SealCommandTest, SealedForGpgAndNothingInPlaceWhenItCannotBeOpened) {
    TempDir dir;
    WriteBytes(dir.File("memo.txt"), kText);
    ASSERT_EQ(Sealed(dir, "memo.txt", "memo.txt.gpg", "合言葉", true), kSuccess);
    const TempDir home;
    const testing::ProcessResult gpg = testing::RunProcess(
        "/usr/bin/gpg", {"--homedir", home.path(), "--batch", "--quiet", "--pinentry-mode",
                         "loopback", "--passphrase", "合言葉", "-d", dir.File("memo.txt.gpg")});
    EXPECT_EQ(gpg.out, kText) << gpg.err;

    WriteBytes(dir.File("back.txt"), "kept");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Sealed(dir, "memo.txt.gpg", "back.txt", "違う", false), kDataError);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("wrong password; nothing written"),
              std::string::npos);
    EXPECT_EQ(ReadBytes(dir.File("back.txt")), "kept");
    std::string changed = ReadBytes(dir.File("memo.txt.gpg"));
    changed[changed.size() - 3] ^= 0x01;
    WriteBytes(dir.File("changed.gpg"), changed);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Sealed(dir, "changed.gpg", "back.txt", "合言葉", false), kDataError);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("damaged"), std::string::npos);
    EXPECT_EQ(ReadBytes(dir.File("back.txt")), "kept");
    EXPECT_EQ(testing::FolderEntries(dir.path()),  // no temporary left behind
              (std::vector<std::string>{"back.txt", "changed.gpg", "memo.txt", "memo.txt.gpg"}));
    ASSERT_EQ(Sealed(dir, "memo.txt.gpg", "back.txt", "合言葉", false), kSuccess);
    EXPECT_EQ(ReadBytes(dir.File("back.txt")), kText);
}

TEST(SealCommandTest, ThePasswordComesFromAFileOrIsTypedTwice) {
    TempDir dir;
    WriteBytes(dir.File("password"), "雨の日の合言葉\r\nsecond line\r\n");
    std::string password;
    EXPECT_EQ(ObtainPassword({}, dir.File("password"), true, password), kSuccess);
    EXPECT_EQ(password, "雨の日の合言葉");
    std::vector<std::string> typed;
    Environment env;
    env.askPass = [&typed](const char*) -> std::optional<std::string> {
        const std::string line = typed.front();
        typed.erase(typed.begin());
        return line;
    };
    typed = {"one", "one"};
    EXPECT_EQ(ObtainPassword(env, "", true, password), kSuccess);
    EXPECT_EQ(password, "one");
    ::testing::internal::CaptureStderr();
    typed = {"one", "two"};
    EXPECT_EQ(ObtainPassword(env, "", true, password), kUsageError);
    typed = {""};
    EXPECT_EQ(ObtainPassword(env, "", false, password), kUsageError);
    EXPECT_EQ(ObtainPassword({}, "", false, password), kUsageError);  // no terminal
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("the two passwords differ"), std::string::npos) << said;
    EXPECT_NE(said.find("an empty password"), std::string::npos) << said;
    EXPECT_NE(said.find("--password-file"), std::string::npos) << said;
}

// The commands as a person types them.
TEST(SealCommandTest, SealAndUnsealFromTheCommandLine) {
    TempDir dir;
    WriteBytes(dir.File("memo.txt"), kText);
    WriteBytes(dir.File("pw"), "雨の日の合言葉\n");
    const auto zkt = [](const std::vector<std::string>& args) {
        return testing::RunProcess(ZKT_PATH, args);
    };
    for (const bool armor : {false, true}) {
        std::vector<std::string> args{"seal",         "--password-file",
                                      dir.File("pw"), dir.File("memo.txt"),
                                      "-o",           dir.File("memo.txt.gpg")};
        if (armor) {
            args.push_back("--armor");
        }
        const testing::ProcessResult sealed = zkt(args);
        ASSERT_EQ(sealed.exitCode, 0) << sealed.err;
        EXPECT_EQ(ReadBytes(dir.File("memo.txt.gpg")).starts_with("-----BEGIN PGP MESSAGE-----"),
                  armor);
        const testing::ProcessResult opened =
            zkt({"unseal", "--password-file", dir.File("pw"), dir.File("memo.txt.gpg")});
        EXPECT_EQ(opened.exitCode, 0) << opened.err;
        EXPECT_EQ(opened.out, kText);
    }
    const TempDir home;
    const testing::ProcessResult packets =
        testing::RunProcess("/usr/bin/gpg", {"--homedir", home.path(), "--batch", "--pinentry-mode",
                                             "loopback", "--passphrase", "雨の日の合言葉",
                                             "--list-packets", dir.File("memo.txt.gpg")});
    EXPECT_NE(packets.out.find("name=\"memo.txt\""), std::string::npos) << packets.out;
    // Options of another command are refused before anything is read or asked.
    const testing::ProcessResult pass = zkt({"unseal", "-p", "1234", dir.File("memo.txt.gpg")});
    EXPECT_EQ(pass.exitCode, 2);
    EXPECT_NE(pass.err.find("belongs to"), std::string::npos) << pass.err;
    const testing::ProcessResult noTerminal = zkt({"unseal", dir.File("memo.txt.gpg")});
    EXPECT_EQ(noTerminal.exitCode, 2);
    EXPECT_EQ(noTerminal.out, "");
}

}  // namespace
}  // namespace solvena::zkt
