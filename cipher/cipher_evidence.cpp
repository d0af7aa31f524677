// SPDX-License-Identifier: MIT
#include "cipher/cipher_evidence.h"

#include <algorithm>

#include "cipher/alphabet.h"

namespace solvena::cipher {
namespace {

int Next(int place) {
    return place % kCycleLength + 1;
}

// How far a damaged group is followed for its separator: a sign, three
// digits and a few stray characters.
constexpr std::size_t kGroupLookout = 8;

// Where a value code first breaks the format as enciphering writes it ("-"
// or nothing, then one to three digit symbols), as an offset into it.
std::optional<std::pair<Damage, std::size_t>> CodeDamage(std::u16string_view code) {
    const std::size_t sign = code[0] == kMinusSign ? 1 : 0;
    for (std::size_t i = sign; i < code.size(); ++i) {
        if (!IsDigitSymbol(code[i])) {
            return std::pair(Damage::OutsideAlphabets, i);
        }
    }
    if (code.size() == sign) {
        return std::pair(Damage::OutsideAlphabets, std::size_t{0});
    }
    if (code.size() - sign > 3) {
        return std::pair(Damage::GroupTooLong, std::size_t{0});
    }
    return std::nullopt;
}

}  // namespace

void EvidenceScan::Feed(std::u16string_view piece) {
    std::size_t at = 0;
    if (dropNext_ && !piece.empty()) {
        dropNext_ = false;
        at = 1;
    }
    while (at < piece.size()) {
        const std::size_t cr = FindCarriageReturn(piece, at);
        const std::size_t end = cr == piece.npos ? piece.size() : cr;
        Take(piece.substr(at, end - at));
        evidence_.severalLines = evidence_.severalLines || (broken_ && end > at);
        broken_ = broken_ && end == at;
        if (cr == piece.npos) {
            break;
        }
        breaks_.push_back(unread_.size());
        broken_ = true;
        at = cr + 2;
        dropNext_ = at > piece.size();
    }
    Scan(false);
}

CipherEvidence EvidenceScan::Finish() {
    Scan(true);
    evidence_.markerSeen = stopped_ && markerMatched_ == kEndMarker.size();
    evidence_.endMarker = evidence_.markerSeen && !evidence_.afterEnd.has_value();
    return evidence_;
}

void EvidenceScan::Take(std::u16string_view run) {
    if (unread_.empty() && breaks_.empty() && !stopped_) {
        // Clean groups read where they stand are not copied: most of a
        // text fed at once.
        const std::size_t clean = CleanGroups(run);
        consumed_ += clean;
        run.remove_prefix(clean);
    }
    unread_.append(run);
}

void EvidenceScan::Scan(bool final) {
    std::size_t at = 0;
    while (at < unread_.size() && !stopped_) {
        at += CleanGroups(std::u16string_view(unread_).substr(at));
        const std::size_t taken = at < unread_.size() ? Group(at, final) : 0;
        if (taken == 0) {
            break;
        }
        at += taken;
    }
    if (stopped_) {
        ReadAfterEnd(at);
        at = unread_.size();
    }
    // Line breaks up to the first unit kept are passed: they still count
    // for the places of the units after them.
    std::size_t passed = 0;
    while (passed < breaks_.size() && breaks_[passed] <= at) {
        lineStart_ = consumed_ + breaks_[passed] + 2 * (passed + 1);
        ++passed;
    }
    line_ += passed;
    consumed_ += at + 2 * passed;
    breaks_.erase(breaks_.begin(), breaks_.begin() + static_cast<std::ptrdiff_t>(passed));
    for (std::size_t& place : breaks_) {
        place -= at;
    }
    unread_.erase(0, at);
}

std::size_t EvidenceScan::CleanGroups(std::u16string_view text) {
    // Nearly every group is as enciphering writes it: those are read here
    // in one pass, the rest one by one in Group. A clean group's separator
    // is the first among its next four places, as the reader takes it.
    const char16_t* const begin = text.data();
    const char16_t* const end = text.data() + text.size();
    const char16_t* p = begin;
    std::int64_t groups = 0;
    while (end - p > 4) {
        const char16_t* digits = p + (*p == kMinusSign ? 1 : 0);
        std::size_t count = 0;
        while (count < 3 && IsDigitSymbol(digits[count])) {
            ++count;
        }
        const int separator = SeparatorPlace(digits[count]);
        const int expected = Next(cycle_);
        if (count == 0 || (separator != expected && separator != Next(lastSeparator_))) {
            break;
        }
        cycle_ = separator;
        lastSeparator_ = separator;
        p = digits + count + 1;
        ++groups;
    }
    evidence_.groups += groups;
    evidence_.cleanGroups += groups;
    return static_cast<std::size_t>(p - begin);
}

std::size_t EvidenceScan::Group(std::size_t at, bool final) {
    if (unread_[at] == kStopSymbol) {
        stopped_ = true;
        return 0;
    }
    if (at + kGroupLookout >= unread_.size() && !final) {
        return 0;  // the group may go on in the next piece
    }
    // As the reader does: the first separator among the next four places
    // ends the group.
    std::size_t length = 0;
    for (std::size_t k = 1; k <= 4 && at + k < unread_.size(); ++k) {
        if (IsSeparator(unread_[at + k])) {
            length = k;
            break;
        }
    }
    ++evidence_.groups;
    cycle_ = Next(cycle_);
    if (length == 0) {
        std::size_t last = at + 4;
        while (last < at + kGroupLookout && last + 1 < unread_.size() &&
               !IsSeparator(unread_[last])) {
            ++last;
        }
        Note(evidence_.damage, Damage::GroupTooLong, at, last);
        lastSeparator_ = 0;
        return 1;
    }
    const std::optional<std::pair<Damage, std::size_t>> code =
        CodeDamage(std::u16string_view(unread_).substr(at, length));
    const int separator = SeparatorPlace(unread_[at + length]);
    // A separator that follows the last one goes on with the cycle after a
    // group was lost or added.
    const bool inCycle = separator == cycle_ || separator == Next(lastSeparator_);
    if (inCycle) {
        cycle_ = separator;
    }
    lastSeparator_ = separator;
    if (code) {
        Note(evidence_.damage, code->first, at, at + length);
    } else if (!inCycle) {
        Note(evidence_.damage, Damage::OutOfCycle, at, at + length);
    } else {
        ++evidence_.cleanGroups;
    }
    return length + 1;
}

void EvidenceScan::ReadAfterEnd(std::size_t at) {
    for (; at < unread_.size() && !evidence_.afterEnd; ++at) {
        if (markerMatched_ < kEndMarker.size() &&
            unread_[at] == static_cast<char16_t>(kEndMarker[markerMatched_])) {
            ++markerMatched_;
        } else if (markerMatched_ < kEndMarker.size() || unread_[at] != u'\n') {
            Note(evidence_.afterEnd, Damage::AfterEndMarker, at, at);
        }
    }
}

std::pair<std::uint64_t, std::size_t> EvidenceScan::TextPlace(std::size_t at) const {
    std::size_t before = 0;
    while (before < breaks_.size() && breaks_[before] <= at) {
        ++before;
    }
    return {consumed_ + at + 2 * before + 1, before};
}

void EvidenceScan::Note(std::optional<DamagePlace>& first, Damage kind, std::size_t at,
                        std::size_t last) {
    if (first) {
        return;
    }
    const auto [position, before] = TextPlace(at);
    DamagePlace place{kind, position, line_ + before, 0, TextPlace(last).first};
    // The line starts after the last line break taken out before the unit.
    const std::uint64_t start =
        before == 0 ? lineStart_ : consumed_ + breaks_[before - 1] + 2 * before;
    place.column = place.position - start;
    first = place;
}

CipherEvidence ExamineEnciphered(std::u16string_view enciphered) {
    EvidenceScan scan;
    scan.Feed(enciphered);
    return scan.Finish();
}

std::u16string_view WholeGroupsBefore(std::u16string_view enciphered, std::size_t end) {
    std::size_t cut = std::min(end, enciphered.size());
    while (cut > 0 && !IsSeparator(enciphered[cut - 1])) {
        --cut;
    }
    return enciphered.substr(0, cut);
}

std::u16string ClosedBefore(std::u16string_view enciphered, std::size_t end) {
    std::u16string closed(WholeGroupsBefore(enciphered, end));
    closed.append(kEndMarker.begin(), kEndMarker.end());
    return closed;
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

}  // namespace solvena::cipher
