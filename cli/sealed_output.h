// SPDX-License-Identifier: MIT
#pragma once

// An old note's text sealed as it is deciphered: the deciphering writes into
// a pipe, and the password file is sealed from the other end, so the plain
// text is never in a file, and the memory stays that of the two streams.

#include <string>

#include "files/file_io.h"
#include "sealing/password_seal.h"

namespace solvena::zkt {

// A writer of the password file of what `plain` writes. A failure of
// `plain` (a decipherment refused midway, say) stops the sealing before the
// message is finished, so that no whole password file holds a part of the
// text; `outcome` tells how the sealing ended.
files::ContentWriter SealedWriter(files::ContentWriter plain, std::string password,
                                  sealing::SealChoices choices, std::string outputName,
                                  sealing::Outcome& outcome);

}  // namespace solvena::zkt
