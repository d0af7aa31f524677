// SPDX-License-Identifier: MIT
#include "cipher/value_code_table.h"

#include <iterator>

#include "cipher/value_code.h"

namespace solvena::cipher::detail {
namespace {

constexpr std::uint64_t kValueCodes[] = {
#include "cipher/value_code_table.inc"
};
static_assert(std::size(kValueCodes) == kMaxShiftedValue - kMinShiftedValue + 1);

}  // namespace

const std::uint64_t* ValueCodeTable() {
    return kValueCodes;
}

}  // namespace solvena::cipher::detail
