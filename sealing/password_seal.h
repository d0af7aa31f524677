// SPDX-License-Identifier: MIT
// A text kept private in an OpenPGP password file, as `gpg --symmetric`
// writes one and every OpenPGP program reads: the bytes of the text file,
// encrypted with AES-256 under a key made from the password (iterated and
// salted S2K, SHA-256) and protected against change by the integrity packet.
// Both directions stream, a piece at a time, so a file of any size takes
// little memory.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace solvena::sealing {

// Fills `buffer` with up to `room` bytes and says how many in `got`, 0 at
// the end; false when reading failed (the caller knows why).
using Reader = std::function<bool(char* buffer, std::size_t room, std::size_t& got)>;
// Takes `size` bytes; false when writing failed (the caller knows why).
using Writer = std::function<bool(const char* bytes, std::size_t size)>;

// How sealing or unsealing ended. Whatever was written before an outcome
// other than Done is to be thrown away: a message is known good only at its
// end.
enum class Outcome {
    Done,
    WrongPassword,
    Damaged,         // a changed byte, a cut-short file, a broken packet
    NoIntegrity,     // encrypted without the integrity packet: any change would go unseen
    EncryptedToKey,  // for a public key, not a password
    NotEncrypted,    // OpenPGP, but only signed or stored
    NotOpenPgp,
    ReadFailed,
    WriteFailed,
    Failed,  // the library could not do it (no memory, say)
};

struct SealChoices {
    bool armored = false;   // text (.asc) rather than binary (.gpg)
    std::string innerName;  // the name the message carries, as gpg records it
};

// The S2K count written: the largest OpenPGP can say, as strong as the
// format allows while a note still opens in a fraction of a second.
inline constexpr std::size_t kKeyIterations = 65011712;

Outcome Seal(const Reader& read, const Writer& write, std::string_view password,
             const SealChoices& choices);

struct Unsealed {
    Outcome outcome = Outcome::Failed;
    std::string innerName;  // what the message calls its text
};

// Reads any password message gpg or another OpenPGP program writes: any
// cipher they offer, compressed or not, binary or armored.
Unsealed Unseal(const Reader& read, const Writer& write, std::string_view password);

// A reader of bytes held in memory, and a writer that appends to a string.
Reader ReadFrom(std::string_view bytes);
Writer AppendTo(std::string& bytes);

}  // namespace solvena::sealing
