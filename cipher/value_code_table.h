// SPDX-License-Identifier: MIT
#pragma once

// The table of packed value codes (ValueCodeEntry) of every shifted value
// kMinShiftedValue..kMaxShiftedValue, which the encipher loop looks up. The
// desktop program and zkt compile it in, generated at build time; a page
// in a browser builds it when first asked, sparing a megabyte of download.

#include <cstdint>

namespace solvena::cipher::detail {

// The entry of kMinShiftedValue; the others follow it in order.
const std::uint64_t* ValueCodeTable();

}  // namespace solvena::cipher::detail
