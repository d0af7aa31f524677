// SPDX-License-Identifier: MIT
// How well a deciphered text is judged, on real texts in every script this
// machine has translations for, and on the samples of the tests: each text
// is enciphered with 1234, then
//  - deciphered with 1234: refusing it is a false alarm;
//  - deciphered with 1235 and 1233, and with a random wrong pass number:
//    letting one through is a miss;
//  - ranked by `zkt recover`'s ranking: the right pass number should be
//    first, and clearly ahead; a wrong one clearly ahead misleads.
// Also on passwords and keys it makes, which no pass number should read
// so much better as to refuse the right one.
// Prints a table per script and one per length; `-v` lists every fault.
//   build/bench/recover_accuracy [-v]

#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string_view>

#include "bench/found_texts.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "ranking/decipher_judge.h"
#include "ranking/pass_ranking.h"
#include "tests/support/random_text.h"
#include "tests/support/sample_texts.h"

namespace {

using solvena::bench::Characters;
using solvena::bench::FoundText;
using solvena::ranking::Decipherment;

constexpr std::int16_t kPass = 1234;

struct Tally {
    int texts = 0;
    int refused = 0;     // right pass refused
    int judged = 0;      // texts of 10 characters or more
    int neighbours = 0;  // of 2 per judged text, caught
    int randoms = 0;     // of 1 per judged text, caught
    int first = 0;       // right pass ranked first
    int clear = 0;       // and clearly ahead
    int wrongClear = 0;  // a wrong one first and clearly ahead

    void Add(const Tally& t) {
        texts += t.texts;
        refused += t.refused;
        judged += t.judged;
        neighbours += t.neighbours;
        randoms += t.randoms;
        first += t.first;
        clear += t.clear;
        wrongClear += t.wrongClear;
    }
};

const char* Bucket(std::size_t characters) {
    if (characters < 10) {
        return "1-9";
    }
    if (characters < 20) {
        return "10-19";
    }
    if (characters < 50) {
        return "20-49";
    }
    if (characters < 200) {
        return "50-199";
    }
    return characters < 2000 ? "200-1999" : "2000+";
}

bool Accepted(const std::u16string& input, std::int16_t pass) {
    const std::u16string text = solvena::cipher::DecipherText(input, pass);
    return solvena::ranking::JudgeDecipherment(input, pass, text) == Decipherment::Plausible;
}

// A text on one line of the listing.
std::u16string Flat(std::u16string text) {
    for (char16_t& u : text) {
        u = u == u'\r' || u == u'\n' || u == u'\t' ? u' ' : u;
    }
    return text;
}

void Fault(bool verbose, const char* what, const FoundText& t) {
    if (verbose) {
        std::printf("  %-9s %-8s %-9s %5zu  %s\n", what, t.language.c_str(), t.form.c_str(),
                    Characters(t.text),
                    solvena::testing::ToUtf8(Flat(t.text.substr(0, 50))).c_str());
    }
}

Tally Try(const FoundText& t, std::mt19937& rng, bool verbose) {
    const std::string enciphered = solvena::cipher::EncipherText(t.text, kPass);
    const std::u16string input(enciphered.begin(), enciphered.end());
    Tally tally;
    tally.texts = 1;
    if (!Accepted(input, kPass)) {
        ++tally.refused;
        Fault(verbose, "refused", t);
    }
    if (Characters(t.text) < 10) {
        return tally;
    }
    tally.judged = 1;
    for (const std::int16_t wrong : {std::int16_t{kPass + 1}, std::int16_t{kPass - 1}}) {
        if (!Accepted(input, wrong)) {
            ++tally.neighbours;
        } else {
            Fault(verbose, wrong > kPass ? "1235 ok" : "1233 ok", t);
        }
    }
    std::uniform_int_distribution<int> passes(0, 9998);
    int random = passes(rng);
    random += random >= kPass ? 1 : 0;
    if (!Accepted(input, static_cast<std::int16_t>(random))) {
        ++tally.randoms;
    } else {
        Fault(verbose, "random ok", t);
    }
    const solvena::ranking::PassRanking ranking = solvena::ranking::RankPassNumbers(input, 1);
    if (ranking.best[0].pass == kPass) {
        ++tally.first;
        tally.clear += ranking.ClearlyAhead() ? 1 : 0;
    } else {
        tally.wrongClear += ranking.ClearlyAhead() ? 1 : 0;
        Fault(verbose, "not first", t);
    }
    return tally;
}

void Header(const char* by) {
    std::printf("\n%-12s %5s %8s | %6s %12s %12s %12s %6s %5s\n", by, "texts", "refused", "10+",
                "neighbours", "random", "first", "clear", "wrong");
}

void Row(const std::string& name, const Tally& t) {
    const auto percent = [](int part, int whole) {
        return whole == 0 ? 100.0 : 100.0 * part / whole;
    };
    std::printf("%-12s %5d %3d %4.1f%% | %6d %5d %5.1f%% %5d %5.1f%% %5d %5.1f%% %6d %5d\n",
                name.c_str(), t.texts, t.refused, percent(t.refused, t.texts), t.judged,
                t.neighbours, percent(t.neighbours, 2 * t.judged), t.randoms,
                percent(t.randoms, t.judged), t.first, percent(t.first, t.judged), t.clear,
                t.wrongClear);
}

// Passwords and keys: random characters of the alphabets programs draw
// them from, 6 to 32 of them.
std::vector<FoundText> MadeKeys(std::mt19937& rng) {
    const std::string_view alphabets[] = {
        "0123456789",
        "0123456789abcdef",
        "abcdefghijklmnopqrstuvwxyz0123456789",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/",
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!@#$%^&*-_=+?",
    };
    std::vector<FoundText> keys;
    for (std::size_t i = 0; i < 600; ++i) {
        const std::string_view alphabet = alphabets[i % std::size(alphabets)];
        std::u16string key;
        for (std::size_t n = 6 + rng() % 27; key.size() < n;) {
            key += static_cast<char16_t>(alphabet[rng() % alphabet.size()]);
        }
        keys.push_back({"key", "key", key});
    }
    return keys;
}

}  // namespace

int main(int argc, char** argv) {
    const bool verbose = argc > 1 && std::strcmp(argv[1], "-v") == 0;
    std::vector<FoundText> texts = solvena::bench::FindTexts();
    for (const auto& samples : {solvena::testing::SampleTexts(), solvena::testing::SampleNotes()}) {
        for (const auto& s : samples) {
            texts.push_back({std::string("sample"), s.name, s.text});
        }
    }
    std::mt19937 rng(20261208);
    std::map<std::string, Tally> byScript;
    std::map<std::string, Tally> byLength;
    Tally all;
    int notesRefused = 0;
    for (const FoundText& t : texts) {
        const Tally tally = Try(t, rng, verbose);
        byScript[solvena::bench::ScriptOf(t.text)].Add(tally);
        byLength[Bucket(Characters(t.text))].Add(tally);
        all.Add(tally);
        notesRefused += Characters(t.text) < 10 ? tally.refused : 0;
    }
    std::printf(
        "%zu texts; right pass refused: all texts; the rest: texts of 10 characters or "
        "more (neighbours: 1235 and 1233 caught)\n",
        texts.size());
    Header("script");
    for (const auto& [name, t] : byScript) {
        Row(name, t);
    }
    Header("characters");
    for (const char* bucket : {"1-9", "10-19", "20-49", "50-199", "200-1999", "2000+"}) {
        Row(bucket, byLength[bucket]);
    }
    Header("");
    Row("all", all);
    Tally keys;
    for (const FoundText& t : MadeKeys(rng)) {
        keys.Add(Try(t, rng, verbose));
    }
    Row("keys", keys);
    std::printf("notes under 10 characters refused: %d\n", notesRefused);
    return 0;
}
