// SPDX-License-Identifier: MIT
#pragma once

// Finding a text in the editor's document, and replacing it. The text
// looked for is document text, and is found as the document's characters,
// whatever the editor holds them as (editor_text.h): a line break (CR LF)
// wherever the editor ends a line, within a piece or between pieces, and
// nowhere else; a lone CR or LF where the document has one, not where it
// has the mark ␍ or ␊ as a character of its own; across the places where
// a long line is cut into pieces as if they were not there. A place found
// never splits a line break, an escape pair or a surrogate pair.

#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "app/search_folding.h"

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace solvena::app {

// A place found, as positions of the editor's document.
struct Found {
    int start;
    int end;
    bool operator==(const Found&) const = default;
};

class EditorSearch {
  public:
    EditorSearch(const QTextDocument& document, const QString& text, SearchOptions options);

    // Nothing to look for.
    bool Empty() const { return folded_.isEmpty(); }
    // The first place that starts at `from` or after it (forward), or the
    // last that starts before it, going round the document's end when
    // there is none; `wrapped` says whether it went round.
    std::optional<Found> Next(int from, bool forward, bool& wrapped) const;
    // The place that starts exactly at `start`, if any.
    std::optional<Found> At(int start) const;
    // Every place, first to last, none overlapping another.
    std::vector<Found> All() const;

  private:
    // The first place that starts in [from, to), or the last.
    std::optional<Found> FirstIn(int from, int to) const;
    std::optional<Found> LastIn(int from, int to) const;
    // Shows `visit` the places of a block that start in [from, to), first
    // to last, while it asks for more; false when it stopped.
    bool ScanBlock(const QTextBlock& block, int from, int to,
                   const std::function<bool(const Found&)>& visit) const;

    const QTextDocument& document_;
    Folding folding_;
    QString folded_;                // the text looked for, folded
    std::vector<char16_t> firsts_;  // the units a place can start with
    bool startsWithLineBreak_ = false;
};

// Replaces the cursor's selection by `replacement` (document text); the
// cursor then stands after it.
void ReplaceSelection(QTextCursor& cursor, const QString& replacement);

// Replaces every place by `replacement` as one step that Ctrl+Z takes back.
void ReplaceAll(QTextDocument& document, const std::vector<Found>& places,
                const QString& replacement);

}  // namespace solvena::app
