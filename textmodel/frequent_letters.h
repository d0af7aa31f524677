// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace solvena::textmodel {

// How much likelier than the other units of its block a new unit is in the
// everyday writing of its script: above 1 for the letters and signs most
// words hold, 1 where nothing is known.
float FrequentLetterWeight(char16_t unit);

}  // namespace solvena::textmodel
