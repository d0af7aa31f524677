// SPDX-License-Identifier: MIT
// Slips that must cost no byte: appending the output to the file read, a
// pass file as editors leave it, a file a stopped save left damaged.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "files/file_io.h"
#include "tests/support/process.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

ProcessResult Zkt(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProcess(ZKT_PATH, args, input);
}

TEST(ZktSlipsTest, OutputAppendedToTheFileReadIsRefused) {
    TempDir dir;
    WriteBytes(dir.File("f.txt"), "a note\r\n");
    // As a shell runs `zkt encipher f.txt >> f.txt`, and with the file as
    // standard input too.
    for (const std::string& command : {std::string(ZKT_PATH) + " encipher -p 5 f.txt >> f.txt",
                                       std::string(ZKT_PATH) + " encipher -p 5 < f.txt >> f.txt"}) {
        const ProcessResult appended =
            RunProcess("/bin/sh", {"-c", "cd " + dir.path() + " && " + command});
        EXPECT_EQ(appended.exitCode, 1) << command;
        EXPECT_NE(appended.err.find("input file is output file"), std::string::npos)
            << appended.err;
        EXPECT_EQ(ReadBytes(dir.File("f.txt")), "a note\r\n");
    }
}

TEST(ZktSlipsTest, PassFilesAreReadAsEditorsLeaveThemAndShownAsTheyAre) {
    TempDir dir;
    WriteBytes(dir.File("note.txt"), "x\r\n");
    const std::string expected = Zkt({"encipher", "-p", "4321", dir.File("note.txt")}).out;
    // A byte-order mark before the number is no part of it.
    WriteBytes(dir.File("bom"),
               "\xEF\xBB\xBF"
               "4321\r\n");
    const ProcessResult bom =
        Zkt({"encipher", "--pass-file", dir.File("bom"), dir.File("note.txt")});
    EXPECT_EQ(bom.exitCode, 0) << bom.err;
    EXPECT_EQ(bom.out, expected);
    // Control characters show as what they are; a long line is cut short.
    struct Refused {
        std::string file;
        std::string shown;
    };
    const Refused refused[] = {
        {"77\r\r\n", "'77'$'\\r' is not a pass number"},
        {std::string("77\0", 3), "'77'$'\\000' is not a pass number"},
        {std::string(500, '1') + "!", std::string(40, '1') + "... is not a pass number"},
    };
    for (const Refused& r : refused) {
        WriteBytes(dir.File("pass"), r.file);
        const ProcessResult result =
            Zkt({"encipher", "--pass-file", dir.File("pass"), dir.File("note.txt")});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.err.find(r.shown), std::string::npos) << result.err;
    }
}

// The next open and the next save of a file that a stopped save left
// damaged tell where its old bytes are.
TEST(ZktSlipsTest, TheOldBytesOfAFileLeftDamagedAreToldOf) {
    TempDir dir;
    const std::string notes = dir.File("notes.txt");
    WriteBytes(notes, "the old notes\r\n");
    ASSERT_EQ(::link(notes.c_str(), dir.File("link.txt").c_str()), 0);  // saved in place
    const pid_t child = ::fork();
    if (child == 0) {
        (void)files::WriteFileSafely(notes, [](int fd) -> files::Status {
            (void)files::WriteAll(fd, "half", "x");
            ::_exit(9);
        });
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const ProcessResult opened = Zkt({"encipher", "-p", "5", notes});
    const ProcessResult saved = Zkt({"encipher", "-p", "5", "-o", notes}, "new\r\n");
    for (const ProcessResult& result : {opened, saved}) {
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.err.find("a save of it stopped while writing it"), std::string::npos)
            << result.err;
        EXPECT_NE(result.err.find(dir.path() + "/.notes.txt.solvena-"), std::string::npos)
            << result.err;
    }
}

}  // namespace
}  // namespace solvena::testing
