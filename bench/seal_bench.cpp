// SPDX-License-Identifier: MIT
// A large text sealed and unsealed a piece at a time: the time it takes,
// and the memory at its peak, which must not grow with the text (a 2 GB
// note in well under 100 MB).
// Usage: seal_bench [MEGABYTES]   (1024 unless given)

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "sealing/password_seal.h"

namespace {

using solvena::sealing::Outcome;

double PeakMegabytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Text that does not compress away, made as it is read.
solvena::sealing::Reader Lines(std::size_t size) {
    return [size, fed = std::size_t{0}, state = 1u](char* buffer, std::size_t room,
                                                    std::size_t& got) mutable {
        got = std::min(room, size - fed);
        for (std::size_t i = 0; i < got; ++i) {
            state = state * 1103515245u + 12345u;
            buffer[i] = static_cast<char>('a' + (state >> 16) % 26);
        }
        fed += got;
        return true;
    };
}

}  // namespace

int main(int argc, char** argv) {
    const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1024;
    const std::size_t size = megabytes << 20;
    // The sealed file, kept on disk as a careful save would write it.
    std::FILE* file = std::tmpfile();
    const solvena::sealing::Writer toFile = [file](const char* bytes, std::size_t length) {
        return std::fwrite(bytes, 1, length, file) == length;
    };
    auto start = std::chrono::steady_clock::now();
    const Outcome sealed =
        solvena::sealing::Seal(Lines(size), toFile, "合言葉", {false, "big.txt"});
    const double sealSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::rewind(file);
    const solvena::sealing::Reader fromFile = [file](char* buffer, std::size_t room,
                                                     std::size_t& got) {
        got = std::fread(buffer, 1, room, file);
        return std::ferror(file) == 0;
    };
    std::size_t opened = 0;
    const solvena::sealing::Writer counted = [&opened](const char*, std::size_t length) {
        opened += length;
        return true;
    };
    start = std::chrono::steady_clock::now();
    const Outcome unsealed = solvena::sealing::Unseal(fromFile, counted, "合言葉").outcome;
    const double unsealSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "%zu MB: sealed in %.2f s, unsealed in %.2f s, peak memory %.1f MB%s\n", megabytes,
        sealSeconds, unsealSeconds, PeakMegabytes(),
        sealed == Outcome::Done && unsealed == Outcome::Done && opened == size ? "" : " (FAILED)");
    return sealed == Outcome::Done && unsealed == Outcome::Done && opened == size ? 0 : 1;
}
