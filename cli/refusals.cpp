// SPDX-License-Identifier: MIT
#include "cli/refusals.h"

namespace solvena::zkt {
namespace {

const char* DamageName(cipher::Damage kind) {
    switch (kind) {
        case cipher::Damage::OutOfCycle:
            return "a separator out of its cycle";
        case cipher::Damage::OutsideAlphabets:
            return "a character outside the alphabets of enciphered text";
        case cipher::Damage::GroupTooLong:
            return "a group too long";
        case cipher::Damage::AfterEndMarker:
            break;
    }
    return "text after the end marker";
}

}  // namespace

std::string DescribeDamage(const cipher::DamagePlace& place, bool severalLines) {
    // The whole group, so that a stray character anywhere in it is found.
    std::string said =
        std::string(DamageName(place.kind)) +
        (place.last > place.position ? " at characters " + std::to_string(place.position) +
                                           "\u2013" + std::to_string(place.last)
                                     : " at character " + std::to_string(place.position));
    if (severalLines) {
        said += " (line " + std::to_string(place.line) + ", column " +
                std::to_string(place.column) + ")";
    }
    return said;
}

std::string RefusalLine(ranking::Decipherment verdict, const cipher::CipherEvidence& evidence,
                        const std::string& input, const std::string& recover,
                        const std::string& outcome) {
    const std::int64_t broken = evidence.groups - evidence.cleanGroups;
    std::string reason;
    std::string hint;
    switch (verdict) {
        case ranking::Decipherment::Plausible:
            return std::string();
        case ranking::Decipherment::NothingEnciphered:
            reason = "holds no enciphered text";
            break;
        case ranking::Decipherment::NotEnciphered:
            reason = "is mostly not enciphered text (" + std::to_string(broken) + " of " +
                     std::to_string(evidence.groups) +
                     " groups are not as enciphering writes them)";
            break;
        case ranking::Decipherment::Damaged:
            reason = "the enciphered text is damaged: " +
                     DescribeDamage(*evidence.damage, evidence.severalLines) +
                     (broken > 1 ? " (" + std::to_string(broken) + " damaged groups in all)" : "");
            hint = outcome == kNotDeciphered ? "" : " (--force writes what it deciphers to)";
            break;
        default:
            reason = "the result does not look like text: wrong pass number? (try " + recover +
                     "; --force writes it anyway)";
            break;
    }
    return "zkt: " + input + ": " + reason + (outcome.empty() ? "" : "; " + outcome) +
           (outcome.empty() ? "" : hint) + "\n";
}

}  // namespace solvena::zkt
