// SPDX-License-Identifier: MIT
// Speed of code page 932 decoding and encoding on a document file, against
// copying as many bytes. Usage: codepage_bench FILE [ROUNDS]
// (make a file with make_sample_document). Prints the best of ROUNDS.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "document/codepage.h"

namespace {

template <typename Work>
double BestSeconds(int rounds, Work work) {
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: codepage_bench FILE [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
    std::ifstream in(argv[1], std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        std::perror(argv[1]);
        return 1;
    }
    using solvena::document::Encoding;
    solvena::document::Decoded decoded;
    solvena::document::Encoded encoded;
    std::string copy(bytes.size(), '\0');
    const double copySeconds = BestSeconds(rounds, [&] {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        asm volatile("" : : "r"(copy.data()) : "memory");
    });
    // What the results alone cost: fresh memory of the size Decode and
    // Encode allocate, zero-filled (page faults included).
    const double allocateSeconds = BestSeconds(rounds, [&] {
        std::u16string units;
        units.resize(bytes.size());
        std::string out;
        out.resize(bytes.size());
        asm volatile("" : : "r"(units.data()), "r"(out.data()) : "memory");
    });
    const double decodeSeconds =
        BestSeconds(rounds, [&] { decoded = solvena::document::Decode(bytes, Encoding::Cp932); });
    const double encodeSeconds = BestSeconds(
        rounds, [&] { encoded = solvena::document::Encode(decoded.text, Encoding::Cp932); });
    const double megabytes = static_cast<double>(bytes.size()) / 1e6;
    std::printf("%.1f MB of CP932, %zu characters; best of %d\n", megabytes, decoded.text.size(),
                rounds);
    std::printf("memcpy   %8.3f s %9.1f MB/s\n", copySeconds, megabytes / copySeconds);
    std::printf("allocate %8.3f s  (the results of both, fresh and zero-filled)\n",
                allocateSeconds);
    std::printf("decode   %8.3f s %9.1f MB/s  %5.1f x memcpy%s\n", decodeSeconds,
                megabytes / decodeSeconds, decodeSeconds / copySeconds,
                decoded.ok ? "" : "  (failed)");
    std::printf("encode   %8.3f s %9.1f MB/s  %5.1f x memcpy%s\n", encodeSeconds,
                megabytes / encodeSeconds, encodeSeconds / copySeconds,
                encoded.bytes == bytes ? "" : "  (not the same bytes)");
    return 0;
}
