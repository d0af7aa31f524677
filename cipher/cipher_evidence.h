// SPDX-License-Identifier: MIT
#pragma once

// What an enciphered text shows of itself, whatever the pass number: how
// much of it is written as enciphering writes it, and where it is not.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace solvena::cipher {

// How a place breaks the enciphered format.
enum class Damage {
    OutOfCycle,        // a separator that is not the next of the cycle
    OutsideAlphabets,  // a character that is no digit symbol where one belongs
    GroupTooLong,      // more than three digits before the separator, or none within four places
    AfterEndMarker,    // text after the end marker, which deciphering leaves out
};

// Where: the first character of the group it breaks, by its place in the
// text (from 1, every unit counted, line breaks too), its line and column
// (from 1, lines ended by CR); and the group's last character (its
// separator, or the last place the reader looked for one), so that a stray
// character typed anywhere in it lies between the two. After the end
// marker, the one character.
struct DamagePlace {
    Damage kind;
    std::uint64_t position = 0;
    std::uint64_t line = 0;
    std::uint64_t column = 0;
    std::uint64_t last = 0;
};

// The text read as enciphering writes it.
struct CipherEvidence {
    std::int64_t groups = 0;  // places read as a group, clean or not
    // Groups exactly as enciphering writes them: "-" or nothing, one to three
    // digit symbols, the separator of the group's place in the cycle. After a
    // group lost or added, the cycle goes on from the separators that follow.
    std::int64_t cleanGroups = 0;
    // The end marker right after the last group, nothing but line breaks after it.
    bool endMarker = false;
    // The end marker after the last group, whatever follows it.
    bool markerSeen = false;
    // The first place inside the groups that breaks the format, and the first
    // after the end marker.
    std::optional<DamagePlace> damage;
    std::optional<DamagePlace> afterEnd;
    // Some line break has text after it, so that a place is told by its line.
    bool severalLines = false;

    // Something to decipher: a clean group, or the end marker alone (an
    // empty text). A text never enciphered may still hold a few groups by
    // chance, "d)" for one, but hardly ever one in its place in the cycle.
    bool HoldsEncipheredText() const { return cleanGroups > 0 || endMarker; }
};

// Reads an enciphered text a piece at a time, as the decipher reader does:
// a line break (CR and the unit after it) is passed over wherever it stands.
class EvidenceScan {
  public:
    void Feed(std::u16string_view piece);
    // The text has ended.
    CipherEvidence Finish();
    // What the text fed so far shows, the group it may end inside left
    // unread: the reading stopped before the end.
    const CipherEvidence& SoFar() const { return evidence_; }

  private:
    void Scan(bool final);
    // Reads the clean groups of `text` from its start; the units they took.
    std::size_t CleanGroups(std::u16string_view text);
    // Appends a run without line breaks to unread_, reading its clean
    // groups where it stands when nothing waits before them.
    void Take(std::u16string_view run);
    // Reads the group at unread_[at]; the units it took, or 0 to wait for more.
    std::size_t Group(std::size_t at, bool final);
    void ReadAfterEnd(std::size_t at);
    // Notes the first damage of its kind: the group at unread_[at] to
    // unread_[last].
    void Note(std::optional<DamagePlace>& first, Damage kind, std::size_t at, std::size_t last);
    // The place in the text of unread_[at]: from 1, and the line breaks
    // taken out before it.
    std::pair<std::uint64_t, std::size_t> TextPlace(std::size_t at) const;

    std::u16string unread_;            // line breaks taken out
    std::vector<std::size_t> breaks_;  // where in unread_ each line break stood
    std::uint64_t consumed_ = 0;       // units of the text before unread_[0]
    std::uint64_t line_ = 1;           // of unread_[0]
    std::uint64_t lineStart_ = 0;      // the text's units before that line
    bool dropNext_ = false;            // the last piece ended in a CR
    bool broken_ = false;              // a line break was the last thing fed
    int cycle_ = 0;                    // the place of the last group in the cycle
    int lastSeparator_ = 0;            // the cycle place of the last group's separator
    bool stopped_ = false;             // the stop symbol was met
    std::size_t markerMatched_ = 0;    // of the end marker, after the stop symbol
    CipherEvidence evidence_;
};

// The whole text at once.
CipherEvidence ExamineEnciphered(std::u16string_view enciphered);

// The text before `end`, cut after its last separator there: whole groups.
std::u16string_view WholeGroupsBefore(std::u16string_view enciphered, std::size_t end);
// And closed by the end marker, so that it reads as a text of its own.
std::u16string ClosedBefore(std::u16string_view enciphered, std::size_t end);

// From 0 to 1: the share of clean groups, and less when the end marker is
// missing; 0 for a text with nothing to decipher. (Places where no separator
// follows within four characters count as groups that are not clean.)
double EvidenceFactor(const CipherEvidence& evidence);

// Below this factor the input is mostly not what enciphering writes, and
// what it deciphers to is no text: enciphered texts are clean throughout.
inline constexpr double kEnoughEvidence = 0.5;

}  // namespace solvena::cipher
