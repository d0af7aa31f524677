// SPDX-License-Identifier: MIT
#include "cipher/vector_forms.h"

#include <cstdlib>

namespace solvena::cipher::detail {

bool VectorFormsAllowed() {
    static const bool allowed = std::getenv("SOLVENA_PLAIN_LOOPS") == nullptr;
    return allowed;
}

}  // namespace solvena::cipher::detail
