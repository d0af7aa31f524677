// SPDX-License-Identifier: MIT
// Writes a plain document file of about the given size in megabytes:
// Japanese prose-like text with ASCII and line breaks, in code page 932.

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "document/codepage.h"
#include "files/file_io.h"
#include "tests/support/random_text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_sample_document MEGABYTES OUTPUT\n");
        return 2;
    }
    const std::size_t bytes = std::strtoull(argv[1], nullptr, 10) << 20;
    std::mt19937 rng(20261207);
    std::string document;
    document.reserve(bytes + 4096);
    while (document.size() < bytes) {
        std::u16string text = solvena::testing::RandomJapanese(rng, 1 << 16);
        for (char16_t& c : text) {
            if (solvena::document::Encode(std::u16string_view(&c, 1),
                                          solvena::document::Encoding::Cp932)
                    .bad.count != 0) {
                c = u'x';
            }
        }
        document += solvena::document::Encode(text, solvena::document::Encoding::Cp932).bytes;
    }
    document += "\r\n";
    const solvena::files::Status written = solvena::files::WriteFileSafely(argv[2], document);
    if (!written) {
        std::fprintf(stderr, "%s: %s\n", argv[2], written.error().Describe().c_str());
        return 1;
    }
    return 0;
}
