// SPDX-License-Identifier: MIT
#include "textmodel/unit_class.h"

#include <algorithm>
#include <iterator>

namespace solvena::textmodel {
namespace {

struct ClassRun {
    char16_t first;
    int unitClass;
};
#include "textmodel/unicode_tables.inc"

}  // namespace

UnitClass ClassOf(char16_t unit) {
    const ClassRun* after =
        std::upper_bound(std::begin(kClassRuns), std::end(kClassRuns), unit,
                         [](char16_t u, const ClassRun& run) { return u < run.first; });
    return static_cast<UnitClass>(std::prev(after)->unitClass);
}

std::size_t BlockCount() {
    return std::size(kBlockStarts);
}

void FillClassesAndBlocks(std::vector<std::uint8_t>& classes, std::vector<std::uint16_t>& blocks) {
    classes.resize(0x10000);
    blocks.resize(0x10000);
    std::size_t run = 0;
    std::size_t block = 0;
    for (char32_t u = 0; u < 0x10000; ++u) {
        while (run + 1 < std::size(kClassRuns) && kClassRuns[run + 1].first <= u) {
            ++run;
        }
        while (block + 1 < std::size(kBlockStarts) && kBlockStarts[block + 1] <= u) {
            ++block;
        }
        classes[u] = static_cast<std::uint8_t>(kClassRuns[run].unitClass);
        blocks[u] = static_cast<std::uint16_t>(block);
    }
}

}  // namespace solvena::textmodel
