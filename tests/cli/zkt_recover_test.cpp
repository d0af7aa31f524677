// SPDX-License-Identifier: MIT
// zkt recover, and zkt decipher refusing what does not look like text.

#include <gtest/gtest.h>

#include <sstream>

#include "cli/recover_command.h"
#include "tests/support/process.h"
#include "tests/support/random_text.h"
#include "tests/support/sample_texts.h"
#include "tests/support/temp_dir.h"

namespace solvena::testing {
namespace {

ProcessResult Zkt(const std::vector<std::string>& args, const std::string& input = "") {
    return RunProcess(ZKT_PATH, args, input);
}

std::vector<std::vector<std::string>> Rows(const std::string& out) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string> fields;
        std::istringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) {
            fields.push_back(field);
        }
        rows.push_back(fields);
    }
    return rows;
}

// Two lines of prose in UTF-8.
const std::string kProse =
    "今朝は早く目が覚めたので、駅まで歩いてみることにした。\r\n"
    "まだ薄暗い道に人の姿はなく、パン屋の窓だけが明るかった。\r\n";

TEST(ZktRecoverTest, PrintsTheBestCandidatesBestFirst) {
    const std::string zkt = Zkt({"encipher", "-p", "4821", "--encoding", "utf-8"}, kProse).out;
    const ProcessResult r = Zkt({"recover", "--encoding", "utf-8"}, zkt);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const auto rows = Rows(r.out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][0], "4821");
    // 27 characters, the line break, 12 more.
    EXPECT_EQ(rows[0][2],
              "今朝は早く目が覚めたので、駅まで歩いてみることにした。⏎まだ薄暗い道に人の姿はな");
    double last = 1;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 3u);
        const double score = std::stod(row[1]);
        EXPECT_TRUE(score >= 0 && score <= last) << row[1];
        EXPECT_EQ(row[1].size(), 5u);  // 0.xxx
        last = score;
    }
    EXPECT_EQ(Rows(Zkt({"recover", "-n", "2"}, zkt).out).size(), 2u);
    EXPECT_EQ(Rows(Zkt({"recover", "-n1"}, zkt).out).size(), 1u);
}

TEST(ZktRecoverTest, ExitStatusSaysWhetherTheAnswerIsClear) {
    // Digits that two pass numbers both turn into digits only.
    const std::string tie = Zkt({"encipher", "-p", "500"}, "7182818284\r\n").out;
    const ProcessResult unclear = Zkt({"recover"}, tie);
    EXPECT_EQ(unclear.exitCode, 1);
    EXPECT_NE(unclear.err.find("clearly ahead"), std::string::npos) << unclear.err;
    EXPECT_EQ(Rows(unclear.out).size(), 5u);

    const ProcessResult plain = Zkt({"recover"}, "Meet Ken at the station (10:30).\r\n");
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_EQ(plain.out, "");
    EXPECT_NE(plain.err.find("no enciphered text"), std::string::npos) << plain.err;

    for (const std::vector<std::string>& args : {std::vector<std::string>{"recover", "-n", "0"},
                                                 {"recover", "-n", "x"},
                                                 {"recover", "-p", "12"},
                                                 {"recover", "-o", "out"},
                                                 {"encipher", "-n", "3"},
                                                 {"encipher", "--force"},
                                                 {"decipher", "--pass-list"}}) {
        EXPECT_EQ(Zkt(args, tie).exitCode, 2) << args[1];
    }
}

TEST(ZktRecoverTest, PassListHoldsEveryValueOnce) {
    const ProcessResult r = Zkt({"recover", "--pass-list"});
    EXPECT_EQ(r.exitCode, 0);
    const auto rows = Rows(r.out);
    std::vector<int> values;
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 2u);
        values.push_back(std::stoi(row[0]));
    }
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(std::adjacent_find(values.begin(), values.end()), values.end());
    EXPECT_EQ(std::count(values.begin(), values.end(), -1), 0);
    EXPECT_EQ(
        std::count_if(values.begin(), values.end(), [](int v) { return v >= -999 && v <= 9999; }),
        10998);
    // The larger ones come from exponents, and -p takes their entries.
    const auto at = std::find(values.begin(), values.end(), 30000);
    ASSERT_NE(at, values.end());
    EXPECT_EQ(rows[static_cast<std::size_t>(at - values.begin())][1], "3e4");
    EXPECT_EQ(Zkt({"encipher", "-p", "3e4"}, "a\r\n").exitCode, 0);
}

TEST(ZktRecoverTest, DecipherRefusesWhatDoesNotLookLikeText) {
    TempDir dir;
    const std::string zkt = Zkt({"encipher", "-p", "1234", "--encoding", "utf-8"}, kProse).out;
    WriteBytes(dir.File("notes.zkt"), zkt);
    WriteBytes(dir.File("old.txt"), "old");
    const std::string plain = "Meet Ken at the station (10:30).\r\n";
    WriteBytes(dir.File("notes.txt"), plain);
    struct Case {
        std::string pass;
        std::string input;
        std::string output;
        std::string before;
    };
    for (const Case& c :
         {Case{"4321", "notes.zkt", "old.txt", "old"}, Case{"1235", "notes.zkt", "old.txt", "old"},
          Case{"4321", "notes.zkt", "notes.zkt", zkt},
          Case{"1234", "notes.txt", "notes.txt", plain}}) {
        const ProcessResult r =
            Zkt({"decipher", "-p", c.pass, dir.File(c.input), "-o", dir.File(c.output)});
        EXPECT_EQ(r.exitCode, 1) << c.pass << " " << c.input;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_NE(r.err.find(dir.File(c.input)), std::string::npos) << r.err;
        EXPECT_EQ(ReadBytes(dir.File(c.output)), c.before);
    }
    const ProcessResult wrong = Zkt({"decipher", "-p", "4321"}, zkt);
    EXPECT_EQ(wrong.out, "");
    EXPECT_NE(wrong.err.find("wrong pass number? (try zkt recover"), std::string::npos);

    const ProcessResult forced =
        Zkt({"decipher", "-p", "4321", "--force", "--encoding", "utf-16le"}, zkt);
    EXPECT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_FALSE(forced.out.empty());
    EXPECT_EQ(Zkt({"decipher", "-p", "1234", "--encoding", "utf-8"}, zkt).out, kProse);
    // The end marker alone is an empty text enciphered, not an error.
    const ProcessResult empty = Zkt({"decipher", "-p", "1234"}, "ZELKORA\r\n");
    EXPECT_EQ(empty.exitCode, 0) << empty.err;
    EXPECT_EQ(empty.out, "\r\n");
}

// The same judgement in every script, through the tool: the right pass
// number is taken and ranked first, a neighbouring one refused, and a note
// of one character or a password is never refused.
TEST(ZktRecoverTest, JudgesTextsOfEveryScriptAlike) {
    std::vector<std::string> texts;
    for (const SampleText& sample : WorldTexts()) {
        texts.push_back(ToUtf8(sample.text));
    }
    for (const std::string& text : texts) {
        const std::string zkt = Zkt({"encipher", "-p", "1234", "--encoding", "utf-8"}, text).out;
        const ProcessResult right = Zkt({"decipher", "-p", "1234", "--encoding", "utf-8"}, zkt);
        EXPECT_EQ(right.exitCode, 0) << text << right.err;
        EXPECT_EQ(right.out, text);
        EXPECT_EQ(Zkt({"decipher", "-p", "1235", "--encoding", "utf-8"}, zkt).exitCode, 1) << text;
        const ProcessResult ranked = Zkt({"recover", "-n", "1"}, zkt);
        EXPECT_EQ(ranked.exitCode, 0) << text << ranked.err;
        EXPECT_EQ(ranked.out.substr(0, 5), "1234\t") << text;
    }
    for (const std::string note : {"x", "1", "あ", "\U0001F600"}) {
        const std::string zkt = Zkt({"encipher", "-p", "77", "--encoding", "utf-8"}, note).out;
        const ProcessResult r = Zkt({"decipher", "-p", "77", "--encoding", "utf-8"}, zkt);
        EXPECT_EQ(r.exitCode, 0) << note << r.err;
    }
    // Nor a password that some other pass number reads a little better.
    for (const std::string key : {"Xq7#pL9!zR", "aB3$kP9@wQ"}) {
        const std::string zkt = Zkt({"encipher", "-p", "1234"}, key).out;
        const ProcessResult r = Zkt({"decipher", "-p", "1234"}, zkt);
        EXPECT_EQ(r.exitCode, 0) << key << r.err;
    }
}

struct PreviewCase {
    std::u16string text;
    document::Encoding encoding;
    std::string shown;
};

TEST(ZktRecoverTest, PreviewsAreOneSafeLine) {
    using document::Encoding;
    const std::u16string forty(40, u'あ');
    const PreviewCase cases[] = {
        {u"ab\r\ncd\re\nf", Encoding::Utf8, "ab⏎cd⏎e⏎f"},
        {u"a\tb", Encoding::Utf8, "a b"},
        {u"\x1B[2J\x07\x9B\u202E\uE000", Encoding::Utf8, "\uFFFD[2J\uFFFD\uFFFD\uFFFD\uFFFD"},
        {u"\U0001F600\xD800x\xDC00", Encoding::Utf8, "\U0001F600\uFFFDx\uFFFD"},
        {forty + u"い", Encoding::Utf8, ToUtf8(forty)},
        {u"\U0001F600" + std::u16string(39, u'x') + u"y", Encoding::Utf8,
         "\U0001F600" + std::string(39, 'x')},
        {u"あ\r\n\u00E9", Encoding::Cp932, "\x82\xA0\x81\xAB?"},
    };
    for (const PreviewCase& c : cases) {
        EXPECT_EQ(zkt::Preview(c.text, c.encoding), c.shown) << ToUtf8(c.text);
    }
}

}  // namespace
}  // namespace solvena::testing
