// SPDX-License-Identifier: MIT
// Speed of the cipher core against the physical floor of copying as many
// bytes as the enciphered text has. Items are plain code units throughout,
// so the three rates compare directly.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "tests/support/random_text.h"

namespace {

constexpr std::size_t kUnits = 1 << 20;
constexpr std::int16_t kPass = 1234;

const std::u16string& PlainText() {
    static const std::u16string text = [] {
        std::mt19937 rng(19990104);
        return solvena::testing::RandomJapanese(rng, kUnits);
    }();
    return text;
}

const std::string& Enciphered() {
    static const std::string text = solvena::cipher::EncipherText(PlainText(), kPass);
    return text;
}

void EncipherText(benchmark::State& state) {
    const std::u16string& plain = PlainText();
    for (auto _ : state) {
        std::string out = solvena::cipher::EncipherText(plain, kPass);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(plain.size()));
}

void DecipherText(benchmark::State& state) {
    const std::string& ascii = Enciphered();
    const std::u16string enciphered(ascii.begin(), ascii.end());
    for (auto _ : state) {
        std::u16string out = solvena::cipher::DecipherText(enciphered, kPass);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(PlainText().size()));
}

void MemcpyBaseline(benchmark::State& state) {
    const std::string& source = Enciphered();
    std::string target(source.size(), '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(PlainText().size()));
}

BENCHMARK(EncipherText)->Unit(benchmark::kMillisecond);
BENCHMARK(DecipherText)->Unit(benchmark::kMillisecond);
BENCHMARK(MemcpyBaseline)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
