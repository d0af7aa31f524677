// SPDX-License-Identifier: MIT
#pragma once

// The AVX-512 intrinsics the vector forms of the cipher loops use, where the
// compiler targets x86-64; whether the processor has them is asked at run
// time. SOLVENA_AVX512 is defined when they can be compiled.

#if defined(__x86_64__)
// GCC 12 warns of the undefined vectors inside its own AVX-512 intrinsics.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#pragma GCC diagnostic pop
#define SOLVENA_AVX512 1
#endif
