// SPDX-License-Identifier: MIT
#include "sealing/quiet_errors.h"

#include <fcntl.h>
#include <unistd.h>

namespace solvena::sealing {

QuietErrors::QuietErrors() {
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (nowhere < 0) {
        return;
    }
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (saved_ >= 0) {
        ::dup2(nowhere, STDERR_FILENO);
    }
    ::close(nowhere);
}

QuietErrors::~QuietErrors() {
    if (saved_ >= 0) {
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
}

}  // namespace solvena::sealing
