// SPDX-License-Identifier: MIT
#include "cipher/cipher_evidence.h"

#include <string>

#include "cipher/alphabet.h"

namespace solvena::cipher {
namespace {

// The text without the line breaks (CR and the character after it) that
// the decipher reader passes over.
std::u16string WithoutLineBreaks(std::u16string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == kCarriageReturn) {
            ++i;
        } else {
            units.push_back(text[i]);
        }
    }
    return units;
}

// A value code as enciphering writes it: "-" or nothing, then one to three
// digit symbols.
bool IsCleanValueCode(std::u16string_view code) {
    const std::size_t sign = !code.empty() && code[0] == kMinusSign ? 1 : 0;
    const std::size_t digits = code.size() - sign;
    if (digits < 1 || digits > 3) {
        return false;
    }
    for (std::size_t i = sign; i < code.size(); ++i) {
        if (!IsDigitSymbol(code[i])) {
            return false;
        }
    }
    return true;
}

bool OnlyLineEnds(std::u16string_view rest) {
    return rest.find_first_not_of(u"\r\n") == std::u16string_view::npos;
}

}  // namespace

CipherEvidence ExamineEnciphered(std::u16string_view enciphered) {
    const std::u16string units = WithoutLineBreaks(enciphered);
    const std::u16string_view text = units;
    const std::u16string marker(kEndMarker.begin(), kEndMarker.end());
    CipherEvidence evidence;
    std::size_t pos = 0;
    int cycle = 0;
    while (pos < text.size()) {
        if (text[pos] == kStopSymbol) {
            evidence.endMarker = text.substr(pos).starts_with(marker) &&
                                 OnlyLineEnds(text.substr(pos + marker.size()));
            break;
        }
        // As the reader does: the first separator among the next four places
        // ends the group.
        std::size_t length = 0;
        for (std::size_t k = 1; k <= 4 && pos + k < text.size(); ++k) {
            if (IsSeparator(text[pos + k])) {
                length = k;
                break;
            }
        }
        cycle = cycle % kCycleLength + 1;
        ++evidence.groups;
        if (length == 0) {
            ++pos;
            continue;
        }
        if (IsCleanValueCode(text.substr(pos, length)) &&
            text[pos + length] == static_cast<char16_t>(SeparatorAt(cycle))) {
            ++evidence.cleanGroups;
        }
        pos += length + 1;
    }
    return evidence;
}

double EvidenceFactor(const CipherEvidence& evidence) {
    if (!evidence.HoldsEncipheredText()) {
        return 0.0;
    }
    if (evidence.groups == 0) {
        return 1.0;  // the end marker alone
    }
    const double clean =
        static_cast<double>(evidence.cleanGroups) / static_cast<double>(evidence.groups);
    // A text cut short before its end marker still deciphers; it is only a
    // little less certain to be enciphered text.
    return evidence.endMarker ? clean : 0.9 * clean;
}

std::u16string ClosedOpening(std::u16string_view opening) {
    std::size_t cut = opening.size();
    while (cut > 0 && !IsSeparator(opening[cut - 1])) {
        --cut;
    }
    std::u16string closed(opening.substr(0, cut));
    closed.append(kEndMarker.begin(), kEndMarker.end());
    return closed;
}

}  // namespace solvena::cipher
