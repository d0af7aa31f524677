// SPDX-License-Identifier: MIT
#pragma once

// Whether the cipher may choose a vector form the processor has (AVX2,
// AVX-512) over its plain loop. SOLVENA_PLAIN_LOOPS in the environment,
// read once, turns them off, so that the tests and fuzz runs of a machine
// that has the vector forms cover the plain loops as well.

namespace solvena::cipher::detail {

bool VectorFormsAllowed();

}  // namespace solvena::cipher::detail
