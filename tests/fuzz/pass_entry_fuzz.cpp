// SPDX-License-Identifier: MIT
// Any text as a pass-number entry: an accepted entry is at most four
// characters and gives a value in -32767..32767 that reading it again gives.

#include "cipher/pass_entry.h"
#include "tests/fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string entry = solvena::fuzz::Units(data, size);
    const std::optional<std::int16_t> pass = solvena::cipher::ReadPassEntry(entry);
    if (!pass) {
        return 0;
    }
    if (entry.empty() || entry.size() > 4) {
        solvena::fuzz::Fail("accepted an entry of the wrong length");
    }
    if (*pass < -32767) {
        solvena::fuzz::Fail("accepted a value out of range");
    }
    if (solvena::cipher::ReadPassEntry(entry) != pass) {
        solvena::fuzz::Fail("the same entry read differently");
    }
    return 0;
}
