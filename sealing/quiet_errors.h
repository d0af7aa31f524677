// SPDX-License-Identifier: MIT
#pragma once

namespace solvena::sealing {

// The library prints its own diagnostics on standard error when a password
// is wrong or a message broken, whatever it is asked; the outcome says it
// better. While this lives, standard error goes nowhere: it is held only
// around a call into the library, so that little else can be lost.
class QuietErrors {
  public:
    QuietErrors();
    ~QuietErrors();
    QuietErrors(const QuietErrors&) = delete;
    QuietErrors& operator=(const QuietErrors&) = delete;

  private:
    int saved_ = -1;
};

}  // namespace solvena::sealing
