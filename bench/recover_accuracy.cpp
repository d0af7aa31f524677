// SPDX-License-Identifier: MIT
// How often `zkt recover` ranks the right pass number first: pieces of
// several lengths cut from the sample texts, each enciphered under a few
// pass numbers, then ranked. Also the threshold's false alarms (a right
// text scoring below it) and how close the best wrong text comes to it.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "decipher.h"
#include "encipher.h"
#include "random_text.h"
#include "recover.h"
#include "sample_texts.h"

namespace {

using solvena::cipher::kPlausibleScore;

struct Tally {
    int tried = 0;
    int first = 0;
    int clear = 0;
    int falseAlarms = 0;
    int confidentlyWrong = 0;
    double lowestRight = 1;
    double highestWrong = 0;
};

void Try(const std::u16string& text, std::int16_t pass, Tally& tally) {
    const std::string enciphered = solvena::cipher::EncipherText(text, pass);
    const std::u16string input(enciphered.begin(), enciphered.end());
    const solvena::cipher::PassRanking ranking = solvena::cipher::RankPassNumbers(input, 2);
    ++tally.tried;
    const bool first = ranking.best[0].pass == pass;
    tally.first += first ? 1 : 0;
    tally.clear += first && ranking.ClearlyAhead() ? 1 : 0;
    const double right = first ? ranking.best[0].score : ranking.best[1].score;
    const double wrong = first ? ranking.runnerUpScore : ranking.best[0].score;
    tally.falseAlarms += right < kPlausibleScore ? 1 : 0;
    tally.confidentlyWrong += !first && ranking.ClearlyAhead() ? 1 : 0;
    tally.lowestRight = std::min(tally.lowestRight, right);
    tally.highestWrong = std::max(tally.highestWrong, wrong);
    if (!first) {
        std::printf("  missed %d (got %d): %s\n", pass, ranking.best[0].pass,
                    solvena::testing::ToUtf8(text.substr(0, 40)).c_str());
    }
}

void Report(const char* what, const Tally& t) {
    std::printf(
        "%-22s %4d texts  first %4d  clearly ahead %4d  wrong but clearly ahead %2d  "
        "below threshold %3d  lowest right %.3f  highest wrong %.3f\n",
        what, t.tried, t.first, t.clear, t.confidentlyWrong, t.falseAlarms, t.lowestRight,
        t.highestWrong);
}

}  // namespace

int main() {
    std::mt19937 rng(20261207);
    std::uniform_int_distribution<int> passes(0, 9999);
    constexpr std::size_t kLengths[] = {10, 20, 50, 200, 0};
    for (std::size_t length : kLengths) {
        Tally all;
        for (const auto& sample : solvena::testing::SampleTexts()) {
            const std::u16string& whole = sample.text;
            Tally tally;
            const std::size_t pieces = length == 0 ? 1 : 6;
            for (std::size_t k = 0; k < pieces; ++k) {
                std::u16string piece = whole;
                if (length != 0 && whole.size() > length) {
                    const std::size_t start = (whole.size() - length) * k / pieces;
                    std::size_t start2 = start;
                    // Whole line breaks only: a piece starts after one, never inside.
                    while (start2 > 0 &&
                           (whole[start2] == u'\n' || whole[start2 + length - 1] == u'\r')) {
                        --start2;
                    }
                    piece = whole.substr(start2, length);
                }
                for (int p = 0; p < 3; ++p) {
                    Try(piece, static_cast<std::int16_t>(passes(rng)), tally);
                }
            }
            Report(sample.name, tally);
            all.tried += tally.tried;
            all.first += tally.first;
            all.clear += tally.clear;
            all.falseAlarms += tally.falseAlarms;
            all.confidentlyWrong += tally.confidentlyWrong;
            all.lowestRight = std::min(all.lowestRight, tally.lowestRight);
            all.highestWrong = std::max(all.highestWrong, tally.highestWrong);
        }
        char title[40];
        std::snprintf(title, sizeof title, "length %zu: all", length);
        Report(length == 0 ? "whole texts: all" : title, all);
    }
    Tally notes;
    for (const auto& note : solvena::testing::SampleNotes()) {
        for (int p = 0; p < 10; ++p) {
            Try(note.text, static_cast<std::int16_t>(passes(rng)), notes);
        }
    }
    Report("ten-character notes", notes);

    // Wrong pass numbers that a threshold alone lets through.
    std::printf("\nwrong pass numbers scoring at or above the threshold %.2f:\n", kPlausibleScore);
    std::vector<solvena::testing::SampleText> all = solvena::testing::SampleTexts();
    for (const auto& note : solvena::testing::SampleNotes()) {
        all.push_back(note);
    }
    for (const auto& sample : all) {
        const std::string enciphered = solvena::cipher::EncipherText(sample.text, 1234);
        const std::u16string input(enciphered.begin(), enciphered.end());
        const auto ranking = solvena::cipher::RankPassNumbers(input, 20000);
        int above = 0;
        int passed = 0;
        for (const auto& r : ranking.best) {
            if (r.pass == 1234) {
                continue;
            }
            above += r.score >= kPlausibleScore ? 1 : 0;
            const std::u16string text = solvena::cipher::DecipherText(input, r.pass);
            passed += solvena::cipher::JudgeDecipherment(input, r.pass, text) ==
                              solvena::cipher::Decipherment::Plausible
                          ? 1
                          : 0;
        }
        const std::u16string right = solvena::cipher::DecipherText(input, 1234);
        const bool rightPasses = solvena::cipher::JudgeDecipherment(input, 1234, right) ==
                                 solvena::cipher::Decipherment::Plausible;
        std::printf("%-22s of %zu: at or above the threshold %4d, let through %4d; right one %s\n",
                    sample.name, ranking.best.size() - 1, above, passed,
                    rightPasses ? "accepted" : "REFUSED");
    }
    return 0;
}
