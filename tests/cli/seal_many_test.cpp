// SPDX-License-Identifier: MIT
// Old notes moved into password files in one run: each sealed as the text
// `zkt decipher` writes, under its own pass number, and no file along the way
// holds the plain text.

#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace solvena::zkt {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

testing::ProcessResult Zkt(const std::vector<std::string>& args, const std::string& in = "") {
    return testing::RunProcess(ZKT_PATH, args, in);
}

std::string Gpg(const std::string& file, const std::string& password) {
    const TempDir home;
    return testing::RunProcess("/usr/bin/gpg",
                               {"--homedir", home.path(), "--batch", "--quiet", "--pinentry-mode",
                                "loopback", "--passphrase", password, "-d", file})
        .out;
}

// The names of every file made in the folders watched while it lives.
class MadeFiles {
  public:
    explicit MadeFiles(const std::vector<std::string>& folders)
        : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const std::string& folder : folders) {
            ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MOVED_TO);
        }
    }
    ~MadeFiles() { ::close(fd_); }
    MadeFiles(const MadeFiles&) = delete;
    MadeFiles& operator=(const MadeFiles&) = delete;

    std::set<std::string> Names() const {
        std::set<std::string> names;
        alignas(inotify_event) char buffer[65536];
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len > 0) {
                    names.insert(event->name);
                }
                at += sizeof(inotify_event) + event->len;
            }
        }
        return names;
    }

  private:
    int fd_;
};

TEST(SealManyTest, AFolderOfOldNotesUnderTwoPassNumbersBecomesPasswordFiles) {
    TempDir dir;
    const std::string notes = dir.File("notes");
    std::filesystem::create_directories(notes + "/2023");
    const std::string first = "会議は三時から始まります。資料を忘れないでください。\r\n";
    const std::string second = "明日の朝は早く出かけます。駅で待ち合わせをしましょう。\r\n";
    WriteBytes(dir.File("first.txt"), first);
    WriteBytes(dir.File("second.txt"), second);
    ASSERT_EQ(
        Zkt({"encipher", "-p", "1234", dir.File("first.txt"), "-o", notes + "/a.zkt"}).exitCode, 0);
    ASSERT_EQ(
        Zkt({"encipher", "-p", "77", dir.File("second.txt"), "-o", notes + "/2023/b.ZKT"}).exitCode,
        0);
    WriteBytes(notes + "/c.txt", first);
    WriteBytes(dir.File("pw"), "長い合言葉をひとつ\n");

    const MadeFiles made({notes, notes + "/2023"});
    const testing::ProcessResult run =
        Zkt({"seal", "--find-pass", "-r", notes, "--password-file", dir.File("pw")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("(pass number 1234)"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("3 file(s): 3 sealed"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("anyone with this program can still read them"), std::string::npos);
    // Each note holds what `zkt decipher` writes, and the old files stay.
    EXPECT_EQ(Gpg(notes + "/a.txt.gpg", "長い合言葉をひとつ"),
              Zkt({"decipher", "-p", "1234", notes + "/a.zkt"}).out);
    EXPECT_EQ(Gpg(notes + "/2023/b.txt.gpg", "長い合言葉をひとつ"),
              Zkt({"decipher", "-p", "77", notes + "/2023/b.ZKT"}).out);
    EXPECT_EQ(Gpg(notes + "/c.txt.gpg", "長い合言葉をひとつ"), first);
    EXPECT_TRUE(std::filesystem::exists(notes + "/a.zkt"));
    // What was made along the way: the password files and their temporaries.
    const std::set<std::string> names = made.Names();
    EXPECT_GE(names.size(), 3U);
    for (const std::string& name : names) {
        EXPECT_NE(name.find(".txt.gpg"), std::string::npos) << name;
    }
}

TEST(SealManyTest, AWrongPassNumberOrAClashWritesNothing) {
    TempDir dir;
    WriteBytes(dir.File("memo.txt"), "三日後に会いましょう。駅の前で待っています。\r\n");
    ASSERT_EQ(
        Zkt({"encipher", "-p", "1234", dir.File("memo.txt"), "-o", dir.File("memo.zkt")}).exitCode,
        0);
    WriteBytes(dir.File("pw"), "長い合言葉をひとつ\n");
    const testing::ProcessResult wrong =
        Zkt({"seal", "-p", "4321", "--password-file", dir.File("pw"), dir.File("memo.zkt"), "-o",
             dir.File("memo.txt.gpg")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_NE(wrong.err.find("wrong pass number"), std::string::npos) << wrong.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("memo.txt.gpg")));
    // memo.txt and memo.zkt would both be memo.txt.gpg.
    const testing::ProcessResult clash =
        Zkt({"seal", "-p", "1234", "--password-file", dir.File("pw"), dir.File("memo.txt"),
             dir.File("memo.zkt")});
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_NE(clash.err.find("would both be written"), std::string::npos) << clash.err;
    EXPECT_EQ(testing::FolderEntries(dir.path()),
              (std::vector<std::string>{"memo.txt", "memo.zkt", "pw"}));
    // One note with its pass number found goes where -o says; -r takes -O.
    const testing::ProcessResult found =
        Zkt({"seal", "--find-pass", "--password-file", dir.File("pw"), dir.File("memo.zkt"), "-o",
             dir.File("kept.gpg")});
    EXPECT_EQ(found.exitCode, 0) << found.err;
    EXPECT_TRUE(std::filesystem::exists(dir.File("kept.gpg")));
    const testing::ProcessResult folderToOne =
        Zkt({"seal", "-r", dir.path(), "-o", dir.File("all.gpg")});
    EXPECT_EQ(folderToOne.exitCode, 2);
    EXPECT_NE(folderToOne.err.find("-O DIR"), std::string::npos) << folderToOne.err;
    // Standard output, armored, and back through unseal.
    const testing::ProcessResult sealed = Zkt(
        {"seal", "-p", "1234", "--password-file", dir.File("pw"), "--armor", dir.File("memo.zkt")});
    ASSERT_EQ(sealed.exitCode, 0) << sealed.err;
    const testing::ProcessResult back =
        Zkt({"unseal", "--password-file", dir.File("pw")}, sealed.out);
    EXPECT_EQ(back.out, Zkt({"decipher", "-p", "1234", dir.File("memo.zkt")}).out);
}

}  // namespace
}  // namespace solvena::zkt
