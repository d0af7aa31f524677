// SPDX-License-Identifier: MIT
// The table's codes as the build machine's converter gave them, for a
// build whose C library has no code page 932 (a page in a browser).
#include <algorithm>
#include <iterator>

#include "document/cp932_table.h"

namespace solvena::document::detail {
namespace {

#include "document/cp932_table.inc"

}  // namespace

bool FillCodes(Cp932Table& table) {
    std::copy(std::begin(kSingle), std::end(kSingle), table.single.begin());
    table.pair.assign(0x10000, Cp932Table::kNoUnit);
    for (const std::uint32_t pair : kPairs) {
        table.pair[pair >> 16] = static_cast<std::int32_t>(pair & 0xFFFF);
    }
    table.code = FirstCodes(table);
    for (const std::uint32_t written : kWrittenOtherwise) {
        table.code[written >> 16] = static_cast<std::uint16_t>(written & 0xFFFF);
    }
    return true;
}

}  // namespace solvena::document::detail
