// SPDX-License-Identifier: MIT
// zkt decipher judges the whole input before the output is put in place,
// and names the place where an enciphered text is damaged.

#include <gtest/gtest.h>

#include <random>

#include "tests/support/process.h"
#include "tests/support/random_text.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

ProcessResult Zkt(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProcess(ZKT_PATH, args, input);
}

bool Says(const ProcessResult& result, const std::string& words) {
    return result.err.find(words) != std::string::npos;
}

// Some 3 MB of plain Japanese text in UTF-8: far more than zkt reads before
// it starts writing.
std::string Novel() {
    std::mt19937 rng(29);
    return ToUtf8(RandomJapanese(rng, 1200000));
}

TEST(ZktJudgingTest, APlainFileDecipheredByMistakeIsRefusedAndTheOutputKept) {
    TempDir dir;
    const std::string novel = Novel();
    WriteBytes(dir.File("novel.txt"), novel);
    ASSERT_EQ(Zkt({"encipher", "-p", "1234", dir.File("novel.txt"), "-o", dir.File("novel.zkt")})
                  .exitCode,
              0);
    const std::string enciphered = ReadBytes(dir.File("novel.zkt"));
    // The names swapped by mistake.
    const ProcessResult swapped =
        Zkt({"decipher", "-p", "1234", dir.File("novel.txt"), "-o", dir.File("novel.zkt")});
    EXPECT_EQ(swapped.exitCode, 1);
    EXPECT_TRUE(Says(swapped, "holds no enciphered text")) << swapped.err;
    EXPECT_EQ(ReadBytes(dir.File("novel.zkt")), enciphered);
    EXPECT_EQ(FolderEntries(dir.path()), (std::vector<std::string>{"novel.txt", "novel.zkt"}));
    // From a pipe, to a file and to standard output; NUL bytes alike.
    for (const std::string& input : {novel, std::string(3 << 20, '\0')}) {
        const ProcessResult piped =
            Zkt({"decipher", "-p", "1234", "-o", dir.File("novel.zkt")}, input);
        EXPECT_EQ(piped.exitCode, 1);
        EXPECT_TRUE(Says(piped, "holds no enciphered text")) << piped.err;
        EXPECT_EQ(ReadBytes(dir.File("novel.zkt")), enciphered);
        const ProcessResult out = Zkt({"decipher", "-p", "1234"}, input);
        EXPECT_EQ(out.exitCode, 1);
        EXPECT_EQ(out.out, "");
    }
}

// Longer than what is judged before standard output gets its first bytes:
// the opening's last group, cut by the piece, is no damage.
TEST(ZktJudgingTest, ALongTextIsDecipheredThroughPipesWhole) {
    const std::string novel = Novel();
    const ProcessResult enciphered = Zkt({"encipher", "-p", "1234", "--encoding", "utf-8"}, novel);
    ASSERT_EQ(enciphered.exitCode, 0) << enciphered.err;
    const ProcessResult deciphered =
        Zkt({"decipher", "-p", "1234", "--encoding", "utf-8", "--eol", "crlf"}, enciphered.out);
    EXPECT_EQ(deciphered.exitCode, 0) << deciphered.err;
    EXPECT_TRUE(deciphered.out == novel + "\r\n");  // the writing rule ends the last line
}

// A document of 5 Mi characters, longer than the pieces the reading takes
// and than its opening: a wrong pass number is told as one, from a file and
// from a pipe; a group broken across any of those cuts is named whole.
TEST(ZktJudgingTest, ALongDocumentIsToldTrulyAcrossEveryCut) {
    TempDir dir;
    std::mt19937 rng(41);
    WriteBytes(dir.File("long.txt"), ToUtf8(RandomJapanese(rng, 5 << 20)));
    ASSERT_EQ(Zkt({"encipher", "-p", "1234", "--encoding", "utf-8", dir.File("long.txt"), "-o",
                   dir.File("long.zkt")})
                  .exitCode,
              0);
    const std::string whole = ReadBytes(dir.File("long.zkt"));
    const ProcessResult fromFile =
        Zkt({"decipher", "-p", "4821", dir.File("long.zkt"), "-o", dir.File("out.txt")});
    const ProcessResult fromPipe =
        Zkt({"decipher", "-p", "4821", "-o", dir.File("out.txt")}, whole);
    for (const ProcessResult& run : {fromFile, fromPipe}) {
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(Says(run, "wrong pass number?")) << run.err;
        EXPECT_FALSE(Says(run, "damaged")) << run.err;
    }
    // The reading's pieces (1 MiB), the opening judged first (64 Ki units),
    // and where the reading is given up.
    for (const std::size_t cut :
         {std::size_t{1} << 16, std::size_t{1} << 20, std::size_t{4} << 20}) {
        const std::size_t separator = whole.find_first_of("!K#M$L%P&N'R([)]W/Y.", cut - 2);
        ASSERT_NE(separator, std::string::npos);
        // Into the group that ends there.
        const std::string damaged = whole.substr(0, separator) + "G" + whole.substr(separator);
        WriteBytes(dir.File("damaged.zkt"), damaged);
        const ProcessResult file =
            Zkt({"decipher", "-p", "1234", dir.File("damaged.zkt"), "-o", dir.File("out.txt")});
        const ProcessResult pipe =
            Zkt({"decipher", "-p", "1234", "-o", dir.File("out.txt")}, damaged);
        for (const ProcessResult& run : {file, pipe}) {
            EXPECT_EQ(run.exitCode, 1) << cut;
            const std::size_t at = run.err.find("at characters ");
            ASSERT_NE(at, std::string::npos) << run.err;
            std::size_t digits = 0;
            const std::uint64_t first = std::stoull(run.err.substr(at + 14), &digits);
            const std::uint64_t last = std::stoull(run.err.substr(at + 14 + digits + 3));
            EXPECT_LE(first, separator + 1) << run.err;
            EXPECT_EQ(last, separator + 2) << run.err;
        }
    }
}

TEST(ZktJudgingTest, AFileMixedFromTwoSavesIsRefusedAsDamaged) {
    TempDir dir;
    WriteBytes(dir.File("a.txt"), Novel());
    ASSERT_EQ(Zkt({"encipher", "-p", "1234", dir.File("a.txt"), "-o", dir.File("a.zkt")}).exitCode,
              0);
    ASSERT_EQ(Zkt({"encipher", "-p", "4321", dir.File("a.txt"), "-o", dir.File("b.zkt")}).exitCode,
              0);
    const std::string a = ReadBytes(dir.File("a.zkt"));
    const std::string b = ReadBytes(dir.File("b.zkt"));
    // The first part from one save, the rest from the other, a few bytes
    // apart: both saves wrote the same length at about the same place.
    const std::size_t half = a.size() / 2;
    WriteBytes(dir.File("mixed.zkt"), a.substr(0, half) + b.substr(half + 3));
    const ProcessResult mixed =
        Zkt({"decipher", "-p", "1234", dir.File("mixed.zkt"), "-o", dir.File("out.txt")});
    EXPECT_EQ(mixed.exitCode, 1);
    EXPECT_TRUE(Says(mixed, "the enciphered text is damaged")) << mixed.err;
    // Named where the two meet.
    const std::size_t at = mixed.err.find("at characters ");
    ASSERT_NE(at, std::string::npos) << mixed.err;
    const std::uint64_t place = std::stoull(mixed.err.substr(at + 14));
    EXPECT_LE(place, half + 5) << mixed.err;
    EXPECT_GE(place + 5, half) << mixed.err;
    EXPECT_EQ(FolderEntries(dir.path()),
              (std::vector<std::string>{"a.txt", "a.zkt", "b.zkt", "mixed.zkt"}));
}

// A stray character typed into a note, at its start, middle and end: the
// place is named, not the pass number blamed; --force writes the same
// bytes as ever.
TEST(ZktJudgingTest, AStrayCharacterIsNamedWithItsPlace) {
    TempDir dir;
    const std::string note = "明日は雨が降るらしい。\r\n傘を持っていくこと。\r\n";
    const ProcessResult enciphered = Zkt({"encipher", "-p", "4821", "-"}, note);
    ASSERT_EQ(enciphered.exitCode, 0);
    // Kept in a file of two lines, as an editor may have wrapped it.
    const std::string wrapped = enciphered.out.substr(0, 40) + "\r\n" + enciphered.out.substr(40);
    struct Stray {
        std::size_t at;
        std::string words;
    };
    const Stray strays[] = {
        {0,
         "a character outside the alphabets of enciphered text at characters 1–5 (line 1, "
         "column 1)"},
        {60, "at characters 58–62 (line 2, column 16)"},
        {wrapped.size() - 11, "(line 2, column"},
    };
    for (const Stray& stray : strays) {
        const std::string damaged = wrapped.substr(0, stray.at) + "G" + wrapped.substr(stray.at);
        const ProcessResult refused = Zkt({"decipher", "-p", "4821", "-"}, damaged);
        EXPECT_EQ(refused.exitCode, 1) << stray.at;
        EXPECT_TRUE(Says(refused, "damaged: ")) << refused.err;
        EXPECT_TRUE(Says(refused, stray.words)) << refused.err;
        EXPECT_FALSE(Says(refused, "wrong pass number")) << refused.err;
        // What a broken group gives need not be a character of CP932.
        const ProcessResult forced =
            Zkt({"decipher", "-p", "4821", "--force", "--encoding", "utf-16le", "-"}, damaged);
        EXPECT_EQ(forced.exitCode, 0);
        EXPECT_FALSE(forced.out.empty());
    }
}

// Separators alone are no enciphered text, however many: decipher and
// recover say the same.
TEST(ZktJudgingTest, SeparatorsAloneAreToldAsNoEncipheredTextByBoth) {
    const std::string separators(2 << 20, '!');
    const ProcessResult deciphered = Zkt({"decipher", "-p", "1234"}, separators);
    EXPECT_EQ(deciphered.exitCode, 1);
    EXPECT_TRUE(Says(deciphered, "holds no enciphered text")) << deciphered.err;
    const ProcessResult recovered = Zkt({"recover"}, separators);
    EXPECT_EQ(recovered.exitCode, 1);
    EXPECT_TRUE(Says(recovered, "holds no enciphered text")) << recovered.err;
}

}  // namespace
}  // namespace solvena::testing
