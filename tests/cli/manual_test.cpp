// SPDX-License-Identifier: MIT
// The manual page says what the tables of options and the limits in force
// say: a new option's row, or a changed limit, shows here until the page
// follows.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

#include "cli/option_table.h"
#include "cli/options.h"
#include "cli/recover_command.h"
#include "files/save_lock.h"
#include "ranking/pass_ranking.h"
#include "textmodel/plausibility.h"

namespace solvena::zkt {
namespace {

std::string Manual() {
    std::ifstream file(ZKT_MANUAL);
    std::stringstream text;
    text << file.rdbuf();
    // As the page reads: "\-" is a minus.
    return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

// The first line of each entry of the OPTIONS section, as written there.
std::vector<std::string> ManualEntries(const std::string& manual) {
    const std::size_t start = manual.find("\n.SH OPTIONS\n");
    const std::size_t end = manual.find("\n.SH ", start + 1);
    std::istringstream section(manual.substr(start, end - start));
    std::vector<std::string> entries;
    for (std::string line; std::getline(section, line);) {
        if (line == ".TP" && std::getline(section, line)) {
            entries.push_back(line);
        }
    }
    return entries;
}

// An entry of the table as the page's first line of it gives it: the names
// and the value: "-p", "--pass", "ENTRY".
std::vector<std::string> Written(const OptionRow& option) {
    std::vector<std::string> words;
    if (option.shortName != 0) {
        words.push_back(std::string(1, '-') + option.shortName);
    }
    if (option.longName != nullptr) {
        words.push_back(std::string("--") + option.longName);
    }
    if (option.valueName != nullptr) {
        words.emplace_back(option.valueName);
    }
    return words;
}

std::vector<std::string> Words(const std::string& entry) {
    static const std::regex kWord(R"((--?[a-zA-Z][a-z-]*)|\\fI([A-Z]+)\\fR)");
    std::vector<std::string> words;
    for (std::sregex_iterator i(entry.begin(), entry.end(), kWord), end; i != end; ++i) {
        words.push_back((*i)[1].matched ? (*i)[1].str() : (*i)[2].str());
    }
    return words;
}

TEST(ManualTest, DescribesEveryOptionOfTheTableInItsOrder) {
    const std::vector<std::string> entries = ManualEntries(Manual());
    std::vector<std::vector<std::string>> written;
    for (const std::string& entry : entries) {
        written.push_back(Words(entry));
    }
    std::vector<std::vector<std::string>> expected;
    for (const OptionRow& option : OptionTable()) {
        expected.push_back(Written(option));
    }
    EXPECT_EQ(written, expected);
}

// The names the help gives an option's values ("cp932, utf-8 or utf-16le")
// are those the parser takes and the page names in the option's entry.
TEST(ManualTest, NamesTheValuesTheHelpNamesAndTheParserTakes) {
    const std::string manual = Manual();
    for (const std::string longName : {"encoding", "eol"}) {
        const OptionRow& option = *std::find_if(
            OptionTable().begin(), OptionTable().end(),
            [&](const OptionRow& o) { return o.longName != nullptr && o.longName == longName; });
        // "encoding of the plain side: cp932, utf-8 or utf-16le"
        const std::string help = option.help;
        const std::string listed = help.substr(0, help.find_first_of("(\n"));
        const std::string names = listed.substr(listed.find(": ") + 2);
        const std::size_t entry = manual.find(".BR --" + longName + " ");
        ASSERT_NE(entry, std::string::npos) << longName;
        const std::string text = manual.substr(entry, manual.find(".TP", entry) - entry);
        static const std::regex kName(R"([a-z0-9-]+)");
        std::size_t count = 0;
        for (std::sregex_iterator i(names.begin(), names.end(), kName), end; i != end; ++i) {
            const std::string name = i->str();
            if (name == "or") {
                continue;
            }
            ++count;
            Options options;
            EXPECT_FALSE(option.set(options, name).has_value()) << name;
            EXPECT_TRUE(std::regex_search(text, std::regex("\n\\.BR? " + name + "( |\n)")))
                << "--" << longName << " " << name;
        }
        EXPECT_GE(count, 2U) << longName;
    }
}

// "2000 times as likely": 2 to the bits, to two figures.
std::string TimesAsLikely(double bits) {
    const double times = std::pow(2.0, bits);
    const double unit = std::pow(10.0, std::floor(std::log10(times)) - 1);
    return std::to_string(static_cast<long>(std::round(times / unit) * unit)) + " times as likely";
}

TEST(ManualTest, StatesTheLimitsInForce) {
    std::string manual = Manual();
    std::replace(manual.begin(), manual.end(), '\n', ' ');
    const auto number = [](auto value) { return std::to_string(static_cast<long>(value)); };
    const std::string wrongPass = number(ranking::kWrongPassBits);
    const std::string clearLead = number(ranking::kClearLeadBits);
    for (const std::string& said : {
             "one character in " + number(textmodel::kGarbageOneIn) + " or more",
             "at least " + number(textmodel::kShortestCompared) + " characters",
             "shorter than " + number(textmodel::kShortestCompared) + " characters",
             "at least " + wrongPass + " bits cheaper",
             TimesAsLikely(ranking::kWrongPassBits),
             "a bit for every " + number(ranking::kUnitsPerMarginBit) + " characters",
             "the first " + number(kPreviewCharacters) + " characters",
             "divided by " + number(textmodel::kImpossibleBits),
             "best candidates (default " + number(kDefaultCandidates) + ")",
             "at least " + clearLead + " bits cheaper than the second's, " +
                 TimesAsLikely(ranking::kClearLeadBits),
             "longer than " + number(files::kSavePatience.count() / 1000) + " seconds",
         }) {
        EXPECT_NE(manual.find(said), std::string::npos) << said;
    }
}

}  // namespace
}  // namespace solvena::zkt
