// SPDX-License-Identifier: MIT
#include "cli/options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "cipher/cipher.h"
#include "cli/command_table.h"
#include "cli/option_table.h"
#include "ranking/pass_ranking.h"

namespace solvena::zkt {
namespace {

Options Parse(const std::vector<std::string>& args) {
    ParsedOptions parsed = ParseOptions(args);
    EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
    return parsed.options.value_or(Options{});
}

std::string Refused(const std::vector<std::string>& args) {
    ParsedOptions parsed = ParseOptions(args);
    EXPECT_FALSE(parsed.options.has_value());
    return parsed.error;
}

TEST(OptionsTest, OptionsStandBeforeOrAfterTheFile) {
    const Options a = Parse({"encipher", "-p", "1234", "in.txt", "-o", "out.zkt"});
    const Options b = Parse({"encipher", "in.txt", "--output=out.zkt", "--pass", "1234"});
    const Options c = Parse({"-p1234", "encipher", "-oout.zkt", "in.txt"});
    for (const Options& o : {a, b, c}) {
        EXPECT_EQ(o.command, Command::Encipher);
        EXPECT_EQ(o.passEntry, "1234");
        EXPECT_EQ(o.input, "in.txt");
        EXPECT_EQ(o.output, "out.zkt");
        EXPECT_FALSE(o.encoding.has_value());
    }
}

TEST(OptionsTest, PassTakesTheNextArgumentEvenWithADash) {
    EXPECT_EQ(Parse({"decipher", "-p", "-5"}).passEntry, "-5");
    EXPECT_EQ(Parse({"decipher", "--pass", "--help"}).passEntry, "--help");
    EXPECT_EQ(Parse({"decipher", "--pass=-1"}).passEntry, "-1");
}

TEST(OptionsTest, StandardStreamsAndEncodings) {
    const Options o = Parse({"decipher", "-", "--encoding", "UTF-16LE"});
    EXPECT_EQ(o.input, "-");
    EXPECT_EQ(o.output, "-");
    EXPECT_EQ(o.encoding, document::Encoding::Utf16le);
    EXPECT_EQ(Parse({"encipher", "--encoding=cp932"}).encoding, document::Encoding::Cp932);
    EXPECT_EQ(Parse({"encipher", "--encoding", "utf-8"}).encoding, document::Encoding::Utf8);
    EXPECT_EQ(Parse({"encipher", "--", "-odd-name.txt"}).input, "-odd-name.txt");
    EXPECT_EQ(Parse({"encipher", "--eol", "lf"}).eol, document::LineEnd::Lf);
    EXPECT_EQ(Parse({"decipher", "--eol=crlf"}).eol, document::LineEnd::CrLf);
    EXPECT_FALSE(Parse({"decipher"}).eol.has_value());
}

TEST(OptionsTest, LongOptionsMayBeAbbreviatedWhereUnambiguous) {
    EXPECT_EQ(Parse({"decipher", "--enc=utf-8"}).encoding, document::Encoding::Utf8);
    EXPECT_EQ(Parse({"decipher", "--out", "x.txt"}).output, "x.txt");
    EXPECT_EQ(Parse({"decipher", "--fo"}).force, true);
    EXPECT_EQ(Parse({"encipher", "--pass-f", "p.txt"}).passFile, "p.txt");
    // The full name wins over the longer ones it begins.
    EXPECT_EQ(Parse({"decipher", "--pass", "12"}).passEntry, "12");
    EXPECT_NE(Refused({"decipher", "--e", "lf"}).find("ambiguous option '--e' (--encoding, --eol)"),
              std::string::npos);
    EXPECT_NE(Refused({"decipher", "--pass-", "x"}).find("ambiguous"), std::string::npos);
    EXPECT_NE(Refused({"decipher", "--force=yes"}).find("takes no value"), std::string::npos);
    EXPECT_NE(Refused({"decipher", "--bogus"}).find("unknown option '--bogus'"), std::string::npos);
    EXPECT_NE(Refused({"decipher", "--enc"}).find("needs a value"), std::string::npos);
}

TEST(OptionsTest, HelpAndVersionWin) {
    EXPECT_EQ(Parse({"--help"}).command, Command::Help);
    EXPECT_EQ(Parse({"encipher", "-h"}).command, Command::Help);
    EXPECT_EQ(Parse({"--version"}).command, Command::Version);
}

TEST(OptionsTest, UsageErrorsSayWhat) {
    EXPECT_NE(Refused({"scramble"}).find("unknown command"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "-x"}).find("unknown option '-x'"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "-p"}).find("needs a value"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "-o"}).find("needs a value"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "--encoding", "latin1"}).find("unknown encoding"),
              std::string::npos);
    EXPECT_NE(Refused({"encipher", "--eol", "CR"}).find("unknown line end"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "a", "b", "-o", "c"}).find("more than one"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "-", "b"}).find("standard input"), std::string::npos);
    EXPECT_NE(Refused({"decipher", "--find-pass", "-p", "1", "a"}).find("--find-pass"),
              std::string::npos);
    EXPECT_NE(Refused({"encipher", "-o", ""}).find("empty"), std::string::npos);
}

TEST(OptionsTest, RecoverOptions) {
    const Options o = Parse({"recover", "-n", "12", "notes.zkt"});
    EXPECT_EQ(o.command, Command::Recover);
    EXPECT_EQ(o.candidates, 12u);
    EXPECT_EQ(o.input, "notes.zkt");
    EXPECT_EQ(Parse({"recover"}).candidates, kDefaultCandidates);
    EXPECT_TRUE(Parse({"recover", "--pass-list"}).passList);
    EXPECT_TRUE(Parse({"decipher", "--force", "-p", "1"}).force);
    EXPECT_NE(Refused({"recover", "-n", "-3"}).find("-n needs a whole number"), std::string::npos);
    EXPECT_NE(Refused({"encipher", "--force"}).find("belongs to decipher"), std::string::npos);
}

// The help states the limits the tool applies.
TEST(OptionsTest, HelpGivesTheLimitsInForce) {
    const std::string usage = Usage();
    for (const std::string& limit :
         {"at least " + std::to_string(solvena::textmodel::kShortestCompared) + " characters",
          "at least " + std::to_string(static_cast<int>(solvena::ranking::kWrongPassBits)) +
              " bits",
          "at least " + std::to_string(static_cast<int>(solvena::ranking::kClearLeadBits)) +
              " bits",
          "in " + std::to_string(solvena::textmodel::kGarbageOneIn) + " or more"}) {
        EXPECT_NE(usage.find(limit), std::string::npos) << limit;
    }
}

// Each command takes the options its row in the table of options names and
// refuses the others, so that a new option needs only its row. A value
// for each kind of value: "-o -" is recover's own standard output.
TEST(OptionsTest, EveryCommandTakesTheOptionsOfItsRowsAndNoOther) {
    const std::map<std::string, std::string> sample = {
        {"ENTRY", "1"}, {"FILE", "f"}, {"OUT", "-"}, {"ENC", "utf-8"},
        {"EOL", "lf"},  {"N", "3"},    {"DIR", "d"}};
    for (const CommandRow& command : Commands()) {
        if (command.name.empty()) {
            continue;  // --help and --version, which take no command
        }
        for (const OptionRow& option : OptionTable()) {
            std::vector<std::string> args{std::string(command.name), option.Name()};
            if (option.valueName != nullptr) {
                const auto value = sample.find(option.valueName);
                ASSERT_NE(value, sample.end()) << "no sample " << option.valueName;
                args.push_back(value->second);
            }
            const ParsedOptions parsed = ParseOptions(args);
            EXPECT_EQ(parsed.options.has_value(),
                      (option.commands & CommandBit(command.command)) != 0)
                << command.name << " " << option.Name() << ": " << parsed.error;
        }
    }
}

}  // namespace
}  // namespace solvena::zkt
