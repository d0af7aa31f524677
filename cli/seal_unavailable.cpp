// SPDX-License-Identifier: MIT
// The page's zkt: librnp has no build for a browser, so seal and unseal say
// where password files are made instead of being left out of the help.
#include "cli/messages.h"
#include "cli/zkt.h"

namespace solvena::zkt {

int RunSealing(const Options& /*options*/, const Environment& env) {
    Say(env,
        "zkt: password files are not sealed or opened in the page's zkt; use the zkt "
        "of the desktop install, or gpg\n");
    return kUsageError;
}

}  // namespace solvena::zkt
