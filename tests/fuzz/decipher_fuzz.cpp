// SPDX-License-Identifier: MIT
// Any UTF-16 input and any pass number: deciphering never fails and agrees
// with the plainly written reader, and deciphering what enciphering wrote
// gives the text back, by either way of driving a run.

#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/oracles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace solvena;
    const std::int16_t pass = fuzz::Pass(data, size);
    const std::u16string text = fuzz::Units(data + (size >= 2 ? 2 : 0), size >= 2 ? size - 2 : 0);

    cipher::DecipherRun run(text, pass);
    run.RunToEnd();
    const std::u16string read = run.TakeResult();
    if (read.size() > text.size() / 2 + 1) {
        fuzz::Fail("more characters than groups");
    }
    if (text.size() <= 4096 && read != testing::ReferenceDecipher(text, pass)) {
        fuzz::Fail("decipher differs from the reference reader");
    }
    // Driven to the end at once (whole windows of groups) or yield by yield
    // (the careful reader): the same run.
    cipher::DecipherRun stepped(text, pass);
    while (stepped.RunToYield()) {
    }
    if (stepped.CipherPosition() != run.CipherPosition() ||
        stepped.SeparatorIndex() != run.SeparatorIndex() ||
        stepped.ShiftedValue() != run.ShiftedValue() || stepped.TakeResult() != read) {
        fuzz::Fail("the run to its end differs from the run yield by yield");
    }
    const std::string enciphered = cipher::EncipherText(text, pass);
    const std::u16string wide(enciphered.begin(), enciphered.end());
    if (cipher::DecipherText(wide, pass) != text) {
        fuzz::Fail("decipher of encipher is not the text");
    }
    return 0;
}
