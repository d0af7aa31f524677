// SPDX-License-Identifier: MIT
#pragma once

// Texts as people write them, for judging the plausibility score: prose and
// notes in Japanese and English, and texts of digits.

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

}  // namespace solvena::testing
