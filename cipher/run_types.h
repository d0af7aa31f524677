#pragma once

#include <cstdint>

namespace solvena::cipher {

// Called by a run after every character (encipher) or group (decipher) with
// the run's CipherPosition and CipherLength, so that a caller can draw
// progress. Positions are 1-based code-unit positions of the run's input.
using StepHook = void (*)(void* context, std::int64_t position, std::int64_t length);

}  // namespace solvena::cipher
