// SPDX-License-Identifier: MIT
// The zkt tool end to end, as a process.

#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "tests/support/process.h"
#include "tests/support/random_text.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

ProcessResult Zkt(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProcess(ZKT_PATH, args, input);
}

// "こんにちは、世界。" and "abc" in CP932, as the desktop program saves them.
const std::string kPlainCp932 =
    "\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\x81\x41\x90\xA2\x8A\x45\x81\x42\r\nabc\r\n";

TEST(ZktProcessTest, EnciphersAndDeciphersFilesByteForByte) {
    TempDir dir;
    WriteBytes(dir.File("notes.txt"), kPlainCp932);
    ProcessResult enc =
        Zkt({"encipher", "-p", "1234", dir.File("notes.txt"), "-o", dir.File("notes.zkt")});
    ASSERT_EQ(enc.exitCode, 0) << enc.err;
    EXPECT_EQ(enc.out, "");
    const std::string zkt = ReadBytes(dir.File("notes.zkt"));
    EXPECT_TRUE(zkt.ends_with("ZELKORA\r\n"));
    EXPECT_EQ(zkt.find('\n'), zkt.size() - 1);

    ProcessResult dec =
        Zkt({"decipher", "-p", "1234", dir.File("notes.zkt"), "-o", dir.File("back.txt")});
    ASSERT_EQ(dec.exitCode, 0) << dec.err;
    EXPECT_EQ(ReadBytes(dir.File("back.txt")), kPlainCp932);

    // Through the standard streams, the same bytes.
    ProcessResult piped = Zkt({"decipher", "-p", "1234"}, zkt);
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, kPlainCp932);
    ProcessResult encPiped = Zkt({"encipher", "--pass=1234", "-"}, kPlainCp932);
    EXPECT_EQ(encPiped.out, zkt);
}

// Read a piece at a time, a file can show late that it reads otherwise
// than its start said: the save fails, the target keeps its bytes, and
// standard output says it is incomplete.
TEST(ZktProcessTest, AByteThatContradictsTheStartFailsWithItsOffset) {
    TempDir dir;
    // LF line ends for well over a piece, then a CR.
    std::string lines;
    while (lines.size() < (3u << 20)) {
        lines += "a line of text\n";
    }
    lines += "then CR LF\r\n";
    const std::size_t cr = lines.find('\r');
    WriteBytes(dir.File("mixed.txt"), lines);
    WriteBytes(dir.File("kept.zkt"), "old");
    const ProcessResult saved =
        Zkt({"encipher", "-p", "5", dir.File("mixed.txt"), "-o", dir.File("kept.zkt")});
    EXPECT_EQ(saved.exitCode, 1);
    EXPECT_NE(saved.err.find("at byte offset " + std::to_string(cr)), std::string::npos)
        << saved.err;
    EXPECT_EQ(ReadBytes(dir.File("kept.zkt")), "old");
    EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"kept.zkt", "mixed.txt"}));

    const ProcessResult piped = Zkt({"encipher", "-p", "5"}, lines);
    EXPECT_EQ(piped.exitCode, 1);
    EXPECT_NE(piped.err.find("standard output has only the text before it"), std::string::npos)
        << piped.err;
    // A line end given is not guessed at, and the whole file goes through.
    const ProcessResult given = Zkt({"encipher", "-p", "5", "--eol", "crlf"}, lines);
    EXPECT_EQ(given.exitCode, 0) << given.err;
}

// An input that is also the output is read whole first, whichever way the
// save goes (another hard link makes it go in place).
TEST(ZktProcessTest, AFileCipheredOntoItselfKeepsItsText) {
    TempDir dir;
    std::string text;
    for (int i = 0; i < 200000; ++i) {
        text += "line " + std::to_string(i) + "\r\n";
    }
    WriteBytes(dir.File("self.txt"), text);
    ASSERT_EQ(::link(dir.File("self.txt").c_str(), dir.File("other.txt").c_str()), 0);
    ASSERT_EQ(
        Zkt({"encipher", "-p", "7", dir.File("self.txt"), "-o", dir.File("self.txt")}).exitCode, 0);
    const ProcessResult back = Zkt({"decipher", "-p", "7", dir.File("other.txt")});
    EXPECT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, text);
}

TEST(ZktProcessTest, Utf8InputIsDetectedAndWrittenAsCp932) {
    // "あ語" in UTF-8; its bytes are not CP932.
    const std::string utf8 = "\xE3\x81\x82\xE8\xAA\x9E\r\n";
    ProcessResult enc = Zkt({"encipher", "-p", "9"}, utf8);
    ASSERT_EQ(enc.exitCode, 0) << enc.err;
    EXPECT_EQ(Zkt({"encipher", "-p", "9", "--encoding", "utf-8"}, utf8).out, enc.out);
    ProcessResult dec = Zkt({"decipher", "-p", "9"}, enc.out);
    EXPECT_EQ(dec.out, "\x82\xA0\x8C\xEA\r\n");
    ProcessResult back = Zkt({"decipher", "-p", "9", "--encoding", "utf-8"}, enc.out);
    EXPECT_EQ(back.out, utf8);
}

TEST(ZktProcessTest, Utf16leKeepsEveryCodeUnit) {
    std::mt19937 rng(5);
    std::u16string units = RandomUnits(rng, 3000);
    // The reading rule's own changes aside: no leading empty line, no lone CR.
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (units[i] == u'\r') {
            units[i] = u'x';
        }
    }
    units += u"\r\n";
    const std::string bytes(reinterpret_cast<const char*>(units.data()), units.size() * 2);
    ProcessResult enc = Zkt({"encipher", "-p", "4321", "--encoding", "utf-16le"}, bytes);
    ASSERT_EQ(enc.exitCode, 0) << enc.err;
    // Random units do not look like text; --force writes them all the same.
    ProcessResult dec =
        Zkt({"decipher", "-p", "4321", "--encoding", "utf-16le", "--force"}, enc.out);
    ASSERT_EQ(dec.exitCode, 0) << dec.err;
    EXPECT_EQ(dec.out, bytes);
}

// Windows Notepad's "Unicode": known by its mark, with no --encoding; the
// big-endian mark is refused, never read as garbage with NULs.
TEST(ZktProcessTest, AUtf16FileIsKnownByItsMark) {
    const std::u16string text = u"\uFEFFメモ\r\n二行目\r\n";
    const std::string notepad(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    const ProcessResult enc = Zkt({"encipher", "-p", "77"}, notepad);
    ASSERT_EQ(enc.exitCode, 0) << enc.err;
    const ProcessResult plain =
        Zkt({"encipher", "-p", "77", "--encoding", "utf-8"}, "メモ\r\n二行目\r\n");
    EXPECT_EQ(enc.out, plain.out);
    const ProcessResult back = Zkt({"decipher", "-p", "77", "--encoding", "utf-16le"}, enc.out);
    EXPECT_EQ(back.out, notepad.substr(2)) << back.err;
    const ProcessResult bigEndian =
        Zkt({"encipher", "-p", "77"}, std::string("\xFE\xFF\x30\x42", 4));
    EXPECT_NE(bigEndian.exitCode, 0);
    EXPECT_NE(bigEndian.err.find("UTF-16BE"), std::string::npos) << bigEndian.err;
    EXPECT_TRUE(bigEndian.out.empty());
}

TEST(ZktProcessTest, FullWidthDigitsAndDecimalEntriesAreTheDialogs) {
    const ProcessResult a = Zkt({"encipher", "-p", "１２３４"}, "abc\r\n");
    const ProcessResult b = Zkt({"encipher", "-p", "1234"}, "abc\r\n");
    const ProcessResult c = Zkt({"encipher", "-p", "1e3"}, "abc\r\n");
    const ProcessResult d = Zkt({"encipher", "-p", "1000"}, "abc\r\n");
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(a.out, b.out);
    EXPECT_EQ(c.out, d.out);
}

TEST(ZktProcessTest, UsageErrorsExitWithTwo) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), "abc\r\n");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"encipher", "-p", "12345", dir.File("a.txt")},
        {"encipher", "-p", "-1", dir.File("a.txt")},
        {"encipher", "-p", "abc", dir.File("a.txt")},
        {"encipher", "--bogus", dir.File("a.txt")},
        // No -p and no terminal to ask on.
        {"encipher", dir.File("a.txt"), "-o", dir.File("out.zkt")},
    };
    for (const auto& args : cases) {
        const ProcessResult r = Zkt(args);
        EXPECT_EQ(r.exitCode, 2) << r.err;
        EXPECT_TRUE(r.err.starts_with("zkt: ")) << r.err;
        EXPECT_EQ(r.out, "");
    }
    struct stat info;
    EXPECT_NE(::stat(dir.File("out.zkt").c_str(), &info), 0);
}

TEST(ZktProcessTest, FileAndDataErrorsExitWithOneAndWriteNothing) {
    TempDir dir;
    WriteBytes(dir.File("out.txt"), "precious");
    WriteBytes(dir.File("bad.txt"), "x\x85\x40");
    WriteBytes(dir.File("garbled.zkt"), "ZZ\r\n");
    ASSERT_EQ(::mkdir(dir.File("folder.txt").c_str(), 0755), 0);
    struct Case {
        std::vector<std::string> args;
        std::string mentions;
    };
    const Case cases[] = {
        {{"encipher", "-p", "1", dir.File("missing.txt"), "-o", dir.File("out.txt")},
         "missing.txt: No such file or directory"},
        {{"encipher", "-p", "1", dir.File("folder.txt"), "-o", dir.File("out.txt")},
         "folder.txt: Is a directory"},
        {{"encipher", "-p", "1", dir.File("bad.txt"), "-o", dir.File("out.txt")},
         "bad.txt: not a text file: invalid byte sequence at byte offset 1"},
        {{"encipher", "-p", "1", dir.File("bad.txt"), "-o", dir.File("folder.txt")}, "bad.txt"},
        {{"encipher", "-p", "1", dir.File("garbled.zkt"), "-o", dir.File("none/out.zkt")},
         "none/out.zkt: No such file or directory"},
    };
    for (const Case& c : cases) {
        const ProcessResult r = Zkt(c.args);
        EXPECT_EQ(r.exitCode, 1) << r.err;
        EXPECT_TRUE(r.err.starts_with("zkt: ")) << r.err;
        EXPECT_NE(r.err.find(c.mentions), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
    EXPECT_EQ(ReadBytes(dir.File("out.txt")), "precious");
}

TEST(ZktProcessTest, UnstorableDecipheredTextIsAnErrorNotAQuestionMark) {
    // U+00E9 cannot be stored in CP932; the user is told, nothing written.
    TempDir dir;
    const std::u16string plain = u"caf\u00E9";
    std::string enc =
        Zkt({"encipher", "-p", "5", "--encoding", "utf-8"}, ToUtf8(plain) + "\r\n").out;
    WriteBytes(dir.File("old.txt"), "old");
    const ProcessResult r = Zkt({"decipher", "-p", "5", "-o", dir.File("old.txt")}, enc);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("U+00E9 at line 1, column 4"), std::string::npos) << r.err;
    EXPECT_EQ(ReadBytes(dir.File("old.txt")), "old");
    const ProcessResult toStdout = Zkt({"decipher", "-p", "5"}, enc);
    EXPECT_EQ(toStdout.exitCode, 1);
    EXPECT_EQ(toStdout.out, "");
}

// Runs zkt on a pseudo-terminal, answers its prompts in turn with
// `answers`, and returns what the terminal showed and the exit status.
std::pair<std::string, int> RunOnTerminal(const std::vector<std::string>& args,
                                          const std::vector<std::string>& answers = {}) {
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ExecProgram(ZKT_PATH, args);
    }
    std::string shown;
    char buffer[256];
    std::size_t answered = 0;
    for (;;) {
        const ssize_t got = ::read(terminal, buffer, sizeof buffer);
        if (got <= 0) {
            break;
        }
        shown.append(buffer, static_cast<std::size_t>(got));
        // A prompt appears after echo is off; each is answered once.
        std::size_t prompts = 0;
        for (std::size_t at = shown.find("Pass number"); at != std::string::npos;
             at = shown.find("Pass number", at + 1)) {
            ++prompts;
        }
        if (answered < prompts && answered < answers.size() && shown.ends_with(": ")) {
            const std::string& answer = answers[answered++];
            EXPECT_EQ(::write(terminal, answer.data(), answer.size()),
                      static_cast<ssize_t>(answer.size()));
        }
    }
    ::close(terminal);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {shown, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

TEST(ZktProcessTest, AsksForThePassNumberWithoutEchoTwiceWhenEnciphering) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), kPlainCp932);
    const auto [shown, status] = RunOnTerminal(
        {"encipher", dir.File("a.txt"), "-o", dir.File("a.zkt")}, {"4321\n", "4321\n"});
    EXPECT_EQ(status, 0) << shown;
    EXPECT_NE(shown.find("Pass number: "), std::string::npos);
    EXPECT_NE(shown.find("Pass number again: "), std::string::npos);
    EXPECT_EQ(shown.find("4321"), std::string::npos) << shown;
    EXPECT_EQ(ReadBytes(dir.File("a.zkt")), Zkt({"encipher", "-p", "4321", dir.File("a.txt")}).out);

    const auto [mismatch, mismatchStatus] = RunOnTerminal(
        {"encipher", dir.File("a.txt"), "-o", dir.File("c.zkt")}, {"4321\n", "4312\n"});
    EXPECT_EQ(mismatchStatus, 2) << mismatch;
    EXPECT_NE(mismatch.find("differ"), std::string::npos) << mismatch;
    EXPECT_FALSE(std::ifstream(dir.File("c.zkt")).good());

    const auto [refused, badStatus] = RunOnTerminal(
        {"encipher", dir.File("a.txt"), "-o", dir.File("b.zkt")}, {"12345\n", "12345\n"});
    EXPECT_EQ(badStatus, 2) << refused;
    // Deciphering asks once.
    WriteBytes(dir.File("a.zkt"), Zkt({"encipher", "-p", "4321", dir.File("a.txt")}).out);
    const auto [once, onceStatus] =
        RunOnTerminal({"decipher", dir.File("a.zkt"), "-o", dir.File("back.txt")}, {"4321\n"});
    EXPECT_EQ(onceStatus, 0) << once;
    EXPECT_EQ(once.find("again"), std::string::npos);
}

TEST(ZktProcessTest, PassFileGivesTheEntryOutOfSight) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), kPlainCp932);
    WriteBytes(dir.File("pass"), "4321\r\nsecond line\n");
    const ProcessResult enc = Zkt({"encipher", "--pass-file", dir.File("pass"), dir.File("a.txt")});
    EXPECT_EQ(enc.exitCode, 0) << enc.err;
    EXPECT_EQ(enc.out, Zkt({"encipher", "-p", "4321", dir.File("a.txt")}).out);
    const ProcessResult missing =
        Zkt({"encipher", "--pass-file", dir.File("none"), dir.File("a.txt")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none"), std::string::npos);
    EXPECT_EQ(
        Zkt({"encipher", "-p", "1", "--pass-file", dir.File("pass"), dir.File("a.txt")}).exitCode,
        2);
}

TEST(ZktProcessTest, DecipheredTextOnATerminalIsReadable) {
    const std::string zkt = Zkt({"encipher", "-p", "77"}, kPlainCp932).out;
    TempDir dir;
    WriteBytes(dir.File("n.zkt"), zkt);
    // The terminal shows each LF as CR LF; the text was written with LF.
    const auto [shown, status] = RunOnTerminal({"decipher", "-p", "77", dir.File("n.zkt")});
    EXPECT_EQ(status, 0) << shown;
    EXPECT_EQ(shown, "こんにちは、世界。\r\nabc\r\n");
    // Pipes and files keep what the desktop program saves.
    EXPECT_EQ(Zkt({"decipher", "-p", "77", dir.File("n.zkt")}).out, kPlainCp932);
}

TEST(ZktProcessTest, LineEndsOfThePlainSide) {
    const std::string lf = "\xE6\x9D\xB1\xE4\xBA\xAC\nmemo\n";
    const std::string crlf = "\x93\x8C\x8B\x9E\r\nmemo\r\n";
    const ProcessResult enc = Zkt({"encipher", "-p", "5"}, lf);
    ASSERT_EQ(enc.exitCode, 0) << enc.err;
    // An LF file is read as lines, like its CR LF twin.
    EXPECT_EQ(Zkt({"encipher", "-p", "5"}, crlf).out, enc.out);
    EXPECT_EQ(Zkt({"decipher", "-p", "5", "--encoding", "utf-8", "--eol", "lf"}, enc.out).out, lf);
    EXPECT_EQ(Zkt({"decipher", "-p", "5", "--eol=lf"}, enc.out).out, "\x93\x8C\x8B\x9E\nmemo\n");
    EXPECT_EQ(Zkt({"decipher", "-p", "5"}, enc.out).out, crlf);
    // Given for reading, the line end is not detected: LF stays in the line.
    EXPECT_NE(Zkt({"encipher", "-p", "5", "--eol", "crlf"}, lf).out, enc.out);
    EXPECT_EQ(Zkt({"encipher", "--eol", "cr"}).exitCode, 2);
}

TEST(ZktProcessTest, LookAlikesInCp932AreAWarning) {
    // "波〜今日の天気は晴れです。" in UTF-8.
    const std::string zkt = Zkt({"encipher", "-p", "3"},
                                "\xE6\xB3\xA2\xE3\x80\x9C\xE4\xBB\x8A\xE6\x97\xA5\xE3\x81"
                                "\xAE\xE5\xA4\xA9\xE6\xB0\x97\xE3\x81\xAF\xE6\x99\xB4\xE3"
                                "\x82\x8C\xE3\x81\xA7\xE3\x81\x99\xE3\x80\x82\n")
                                .out;
    const ProcessResult dec = Zkt({"decipher", "-p", "3"}, zkt);
    EXPECT_EQ(dec.exitCode, 0) << dec.err;
    EXPECT_TRUE(dec.out.starts_with("\x94\x67\x81\x60")) << dec.out;
    EXPECT_NE(dec.err.find("warning"), std::string::npos) << dec.err;
    EXPECT_NE(dec.err.find("line 1, column 2: U+301C becomes U+FF5E"), std::string::npos)
        << dec.err;
    EXPECT_EQ(Zkt({"decipher", "-p", "3", "--encoding", "utf-8"}, zkt).err, "");
}

TEST(ZktProcessTest, HelpAndVersion) {
    const ProcessResult version = Zkt({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "zkt " SOLVENA_TEST_VERSION "\n");
    const ProcessResult help = Zkt({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.starts_with("Usage: zkt encipher|decipher"));
}

}  // namespace
}  // namespace solvena::testing
