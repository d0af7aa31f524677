// SPDX-License-Identifier: MIT
#pragma once

// The cipher of ソルベナ: standard C++ only, no I/O, no global state.
//
//   alphabet.h         digit symbols, separator cycle, st / ts / st2 / ts2
//   value_code.h       a shifted value written in base 43 (the reference form)
//   encipher.h         EncipherText and the resumable EncipherRun
//   decipher.h         DecipherText and the resumable DecipherRun
//   pass_entry.h       which typed entries are pass numbers
//   cipher_evidence.h  what an enciphered text shows of itself
//
// Whether a deciphered text looks like text is the text model's question
// (textmodel/), and ranking every pass number by it is ranking/'s.
//
// Inside: chunk_classes.h, encipher_avx512.h and group_parser_avx512.h are
// the vector forms of the loops, chosen at run time by what the processor
// has; the one-shot functions use them through RunToEnd.
//
// The desktop program drives EncipherRun / DecipherRun one yield point at a
// time so that its window stays responsive and a run can be cancelled; the
// one-shot functions drive the same runs to their end, so the command-line
// tool and the desktop program produce the same text by the same code.

#include "cipher/alphabet.h"         // IWYU pragma: export
#include "cipher/cipher_evidence.h"  // IWYU pragma: export
#include "cipher/decipher.h"         // IWYU pragma: export
#include "cipher/encipher.h"         // IWYU pragma: export
#include "cipher/pass_entry.h"       // IWYU pragma: export
#include "cipher/value_code.h"       // IWYU pragma: export
