// SPDX-License-Identifier: MIT
#pragma once

// The hidden files a save makes beside its target: the new bytes before
// they are renamed into place, or a copy of the old bytes while a file is
// rewritten in place. Their names follow one pattern of this program's own,
// ".<target>.solvena-XXXXXX", so that what a killed save left behind can be
// told from anything else and removed.

#include <string>
#include <string_view>

#include "files/descriptor.h"

namespace solvena::files {

struct Temporary {
    Descriptor fd;
    std::string name;  // inside the folder it was made in

    ~Temporary();  // no longer the one a stop at once removes (below)
};

// Creates a new file of the pattern for `target` (a name in `folder`) with
// O_EXCL and `mode` (which the umask or the folder's default ACL narrows),
// locked while the save that made it runs. Fails with errno set.
bool MakeTemporary(int folder, std::string_view target, unsigned mode, Temporary& made);

// For a signal handler that ends the process at once (async-signal-safe):
// removes the temporary the save in progress is writing, which is no whole
// file yet, and returns true; or, while a file is being rewritten in place
// (half written, it would be damaged), returns false, and the process ends
// with `status` as soon as that file is whole again.
bool AbandonSaveAtOnce(int status) noexcept;

// While one lives a file is rewritten in place: a stop at once waits for it,
// and the kept copy of its old bytes is no throwaway temporary.
class InPlaceRewrite {
  public:
    InPlaceRewrite() noexcept;
    ~InPlaceRewrite();  // ends the process if a stop at once was asked meanwhile
    InPlaceRewrite(const InPlaceRewrite&) = delete;
    InPlaceRewrite& operator=(const InPlaceRewrite&) = delete;
};

// True when `name` is one of this program's temporary names, for any file.
bool IsTemporaryName(std::string_view name);

// True when `name` is one of this program's temporary names for `target`.
bool IsTemporaryFor(std::string_view name, std::string_view target);

// Removes what killed saves of `target` left in `folder`: files of the
// pattern that belong to this user, that no running save holds, that were
// last changed before this process started, and that are no marked copy
// (kept_copies.h) of a file the save left damaged.
void RemoveStaleTemporaries(int folder, std::string_view target);

}  // namespace solvena::files
