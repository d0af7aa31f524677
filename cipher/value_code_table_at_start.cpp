// SPDX-License-Identifier: MIT
// The value-code table built from the reference function when first asked
// (a few milliseconds), for builds that would rather not carry it.
#include <vector>

#include "cipher/value_code.h"
#include "cipher/value_code_table.h"

namespace solvena::cipher::detail {
namespace {

std::vector<std::uint64_t> Build() {
    std::vector<std::uint64_t> table;
    table.reserve(kMaxShiftedValue - kMinShiftedValue + 1);
    for (std::int32_t v = kMinShiftedValue; v <= kMaxShiftedValue; ++v) {
        table.push_back(ValueCodeEntry(v));
    }
    return table;
}

}  // namespace

const std::uint64_t* ValueCodeTable() {
    static const std::vector<std::uint64_t> table = Build();
    return table.data();
}

}  // namespace solvena::cipher::detail
