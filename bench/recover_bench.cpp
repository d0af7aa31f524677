// SPDX-License-Identifier: MIT
// Speed of zkt recover's ranking: every pass number for a 1 MB enciphered
// file (goal: at most 1 s) and for a 200-character note (goal: at most
// 0.1 s), and the judgement zkt decipher and 解読 add to a run.

#include <benchmark/benchmark.h>

#include <string>

#include "cipher/alphabet.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "ranking/decipher_judge.h"
#include "ranking/pass_ranking.h"
#include "tests/support/sample_texts.h"

namespace {

constexpr std::int16_t kPass = 4821;

// Sample prose repeated until its enciphered text reaches `bytes`.
std::u16string EncipheredOf(std::size_t bytes) {
    std::u16string plain;
    std::string enciphered;
    while (enciphered.size() < bytes) {
        for (const auto& sample : solvena::testing::SampleTexts()) {
            plain += sample.text;
        }
        enciphered = solvena::cipher::EncipherText(plain, kPass);
    }
    // Whole groups only: cut after a separator, then the end marker.
    std::size_t end = bytes - 7;
    while (!solvena::cipher::IsSeparator(static_cast<char32_t>(enciphered[end - 1]))) {
        --end;
    }
    enciphered = enciphered.substr(0, end) + "ZELKORA";
    return {enciphered.begin(), enciphered.end()};
}

std::u16string NoteOf(std::size_t characters) {
    const std::u16string plain = solvena::testing::SampleTexts()[0].text.substr(0, characters);
    const std::string enciphered = solvena::cipher::EncipherText(plain, kPass);
    return {enciphered.begin(), enciphered.end()};
}

void Rank(benchmark::State& state, const std::u16string& input) {
    for (auto _ : state) {
        const solvena::ranking::PassRanking ranking = solvena::ranking::RankPassNumbers(input, 5);
        if (ranking.best[0].pass != kPass) {
            state.SkipWithError("the right pass number was not ranked first");
        }
        benchmark::DoNotOptimize(ranking.best.data());
    }
}

void RankOneMegabyte(benchmark::State& state) {
    Rank(state, EncipheredOf(1 << 20));
}

void RankNote200(benchmark::State& state) {
    Rank(state, NoteOf(200));
}

void JudgeOneMegabyte(benchmark::State& state) {
    const std::u16string input = EncipheredOf(1 << 20);
    const std::u16string plain = solvena::cipher::DecipherText(input, kPass);
    for (auto _ : state) {
        benchmark::DoNotOptimize(solvena::ranking::JudgeDecipherment(input, kPass, plain));
    }
}

BENCHMARK(RankOneMegabyte)->Unit(benchmark::kMillisecond);
BENCHMARK(RankNote200)->Unit(benchmark::kMillisecond);
BENCHMARK(JudgeOneMegabyte)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
