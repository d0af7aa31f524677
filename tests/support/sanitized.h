// SPDX-License-Identifier: MIT
#pragma once

// Whether this test program was built with AddressSanitizer, which reserves
// far more address space than a memory limit lets a test have.

namespace solvena::testing {

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif
#else
inline constexpr bool kSanitized = false;
#endif

}  // namespace solvena::testing
