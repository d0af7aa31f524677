// SPDX-License-Identifier: MIT
#pragma once

// Texts as people write them, for judging deciphered texts: prose and notes
// in Japanese and English, texts of digits, and prose and notes in many
// other scripts.

#include <string>
#include <vector>

namespace solvena::testing {

struct SampleText {
    const char* name;
    std::u16string text;
};

// Every sample, long ones first (several hundred characters each).
const std::vector<SampleText>& SampleTexts();

// Short notes of about ten characters.
const std::vector<SampleText>& SampleNotes();

// A few lines of everyday prose in each of many scripts: Thai, Arabic,
// Hebrew, Devanagari, Tamil, Georgian, Hangul, simplified and traditional
// Chinese, Cyrillic, Greek, and English with emoji.
const std::vector<SampleText>& WorldTexts();

// A note of 10 to 25 characters in each of the same scripts, and in
// Khmer, Tibetan, Myanmar, Sinhala, Armenian, Ethiopic, Hindi and Nepali.
const std::vector<SampleText>& WorldNotes();

}  // namespace solvena::testing
