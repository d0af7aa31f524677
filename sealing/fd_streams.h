// SPDX-License-Identifier: MIT
// Password files read from and written to open files, a piece at a time.
#pragma once

#include "sealing/password_seal.h"

namespace solvena::sealing {

// Reads `fd` from where it stands; a failure leaves its errno in `failure`.
Reader ReadFd(int fd, int& failure);
// Writes all it is given to `fd`; a failure leaves its errno in `failure`.
Writer WriteFd(int fd, int& failure);

}  // namespace solvena::sealing
