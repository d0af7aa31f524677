// SPDX-License-Identifier: MIT
// DecipherStream: a text deciphered as its pieces arrive.

#include <algorithm>

#include "cipher/alphabet.h"
#include "cipher/decipher.h"

namespace solvena::cipher {

void DecipherStream::Feed(std::u16string_view piece, std::u16string& out) {
    if (stopped_) {
        return;
    }
    std::size_t at = 0;
    if (dropNext_ && !piece.empty()) {
        dropNext_ = false;
        at = 1;
    }
    while (at < piece.size()) {
        const std::size_t cr = FindCarriageReturn(piece, at);
        unread_.append(piece.substr(at, cr == piece.npos ? piece.npos : cr - at));
        if (cr == piece.npos) {
            break;
        }
        at = cr + 2;
        dropNext_ = at > piece.size();
    }
    // Pieces too small to be worth a run wait for more.
    constexpr std::size_t kWorthARun = 4096;
    if (unread_.size() >= kWorthARun) {
        Read(true, out);
    }
}

void DecipherStream::Finish(std::u16string& out) {
    if (!stopped_) {
        Read(false, out);
    }
    unread_.clear();
}

void DecipherStream::Read(bool more, std::u16string& out) {
    DecipherRun run(unread_, pass_, separatorIndex_, more);
    run.RunToEnd();
    out.append(run.Result());
    separatorIndex_ = run.SeparatorIndex();
    if (run.MetStopSymbol()) {
        stopped_ = true;
        unread_.clear();
        return;
    }
    const auto read = static_cast<std::size_t>(run.CipherPosition() - 1);
    unread_.erase(0, std::min(read, unread_.size()));
}

}  // namespace solvena::cipher
