// SPDX-License-Identifier: MIT
#include "app/editor_search.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <utility>

#include "app/editor_text.h"

namespace solvena::app {
namespace {

// Units read one after the other, with a look at the next.
class QueryUnits {
  public:
    explicit QueryUnits(const QString& text) : text_(text) {}
    bool Peek(char16_t& unit) const {
        if (at_ >= text_.size()) {
            return false;
        }
        unit = text_[at_].unicode();
        return true;
    }
    void Advance() { ++at_; }

  private:
    const QString& text_;
    qsizetype at_ = 0;
};

// The document's units from a place on, as a search reads them: a line
// break (kLineInBlock) between two blocks of different lines, nothing
// between two pieces of one line.
class DocumentUnits {
  public:
    DocumentUnits(const QTextBlock& block, const QString& text, int offset)
        : block_(block), text_(&text), offset_(offset), position_(block.position() + offset) {}

    bool Peek(char16_t& unit) {
        while (offset_ >= text_->size()) {
            const QTextBlock next = block_.next();
            if (!next.isValid()) {
                return false;
            }
            if (!ContinuesLine(next)) {
                unit = kLineInBlock;
                return true;
            }
            Enter(next);
        }
        unit = (*text_)[offset_].unicode();
        return true;
    }
    void Advance() {
        if (offset_ < text_->size()) {
            ++offset_;
        } else {
            Enter(block_.next());
        }
        position_ = block_.position() + offset_;
    }
    // The document position after the last unit taken: a look at the next
    // unit, which may enter the next piece, leaves it where it is.
    int Position() const { return position_; }

  private:
    void Enter(const QTextBlock& block) {
        block_ = block;
        later_ = block.text();
        text_ = &later_;
        offset_ = 0;
    }

    QTextBlock block_;
    const QString* text_;
    QString later_;  // the text of a block after the first
    int offset_;
    int position_;
};

// Folded units read from units of either kind.
template <class Units>
class FoldedReader {
  public:
    FoldedReader(Units& units, const Folding& folding) : units_(units), folding_(folding) {}

    bool Next(char16_t& unit) {
        if (pending_ != 0) {
            unit = std::exchange(pending_, char16_t{0});
            return true;
        }
        char16_t raw = 0;
        if (!units_.Peek(raw)) {
            return false;
        }
        units_.Advance();
        const bool letterOfPair = previous_ == kEditorEscape;
        previous_ = raw;
        char16_t next = 0;
        if (letterOfPair) {
            unit = raw;  // an escape pair's letter stands for its unit
        } else if (QChar::isHighSurrogate(raw) && units_.Peek(next) &&
                   QChar::isLowSurrogate(next)) {
            units_.Advance();
            previous_ = next;
            const char32_t point = folding_.Point(QChar::surrogateToUcs4(raw, next));
            unit = QChar::highSurrogate(point);
            pending_ = QChar::lowSurrogate(point);
        } else if (raw >= 0xFF61 && raw <= 0xFF9D && units_.Peek(next) &&
                   folding_.Composed(raw, next) != 0) {
            units_.Advance();
            previous_ = next;
            unit = folding_.Composed(raw, next);
        } else {
            unit = folding_.Unit(raw);
        }
        return true;
    }
    // The last unit given was the first of a pair's two.
    bool InPair() const { return pending_ != 0; }

  private:
    Units& units_;
    const Folding& folding_;
    char16_t pending_ = 0;
    char16_t previous_ = 0;
};

// A place may not start on the letter of an escape pair or the second unit
// of a surrogate pair.
bool CanStartAt(const QString& text, qsizetype at) {
    if (at == 0 || at >= text.size()) {
        return true;
    }
    const char16_t before = text[at - 1].unicode();
    const char16_t unit = text[at].unicode();
    return !(before == kEditorEscape && IsEscapeLetter(unit)) &&
           !(QChar::isHighSurrogate(before) && QChar::isLowSurrogate(unit));
}

// The offsets of a block's text in [lo, hi) where one of `firsts` stands,
// first to last.
class Candidates {
  public:
    Candidates(const QString& text, const std::vector<char16_t>& firsts, qsizetype lo, qsizetype hi)
        : text_(text), firsts_(firsts), hi_(std::min(hi, text.size())), next_(firsts.size()) {
        for (std::size_t i = 0; i < firsts.size(); ++i) {
            next_[i] = Find(i, lo);
        }
    }
    // The next offset, or -1.
    qsizetype Next() {
        const auto least = std::min_element(next_.begin(), next_.end());
        if (least == next_.end() || *least >= hi_) {
            return -1;
        }
        const qsizetype at = *least;
        *least = Find(static_cast<std::size_t>(least - next_.begin()), at + 1);
        return at;
    }

  private:
    qsizetype Find(std::size_t i, qsizetype from) const {
        const qsizetype at = from < hi_ ? text_.indexOf(QChar(firsts_[i]), from) : -1;
        return at < 0 || at >= hi_ ? hi_ : at;
    }

    const QString& text_;
    const std::vector<char16_t>& firsts_;
    qsizetype hi_;
    std::vector<qsizetype> next_;
};

}  // namespace

EditorSearch::EditorSearch(const QTextDocument& document, const QString& text,
                           SearchOptions options)
    : document_(document), folding_(options) {
    QString editorText = ToEditorText(text);
    editorText.replace(QLatin1Char('\n'), QChar(kLineInBlock));
    QueryUnits units(editorText);
    FoldedReader reader(units, folding_);
    for (char16_t unit = 0; reader.Next(unit);) {
        folded_.append(QChar(unit));
    }
    if (!folded_.isEmpty()) {
        firsts_ = folding_.Preimage(folded_[0].unicode());
        startsWithLineBreak_ = folded_[0] == QChar(kLineInBlock);
    }
}

namespace {

// The end of the place `folded` that starts at `offset` of a block, if it is one.
std::optional<int> PlaceEnd(const QTextBlock& block, const QString& text, qsizetype offset,
                            const QString& folded, const Folding& folding) {
    DocumentUnits units(block, text, static_cast<int>(offset));
    FoldedReader reader(units, folding);
    for (const QChar wanted : folded) {
        char16_t unit = 0;
        if (!reader.Next(unit) || unit != wanted.unicode()) {
            return std::nullopt;
        }
    }
    if (reader.InPair()) {
        return std::nullopt;
    }
    return units.Position();
}

}  // namespace

bool EditorSearch::ScanBlock(const QTextBlock& block, int from, int to,
                             const std::function<bool(const Found&)>& visit) const {
    const QString text = block.text();
    const qsizetype lo = std::max(0, from - block.position());
    const qsizetype hi = to - block.position();
    const auto tryAt = [&](qsizetype at) {
        const std::optional<int> end = PlaceEnd(block, text, at, folded_, folding_);
        return !end || visit(Found{block.position() + static_cast<int>(at), *end});
    };
    Candidates candidates(text, firsts_, lo, hi);
    for (qsizetype at = candidates.Next(); at >= 0; at = candidates.Next()) {
        if (CanStartAt(text, at) && !tryAt(at)) {
            return false;
        }
    }
    // The line break after the block, when the text looked for starts with one.
    const qsizetype last = text.size();
    if (startsWithLineBreak_ && last >= lo && last < hi && block.next().isValid()) {
        return tryAt(last);
    }
    return true;
}

std::optional<Found> EditorSearch::FirstIn(int from, int to) const {
    std::optional<Found> first;
    for (QTextBlock block = document_.findBlock(from);
         !first && block.isValid() && block.position() < to; block = block.next()) {
        ScanBlock(block, from, to, [&](const Found& found) {
            first = found;
            return false;
        });
    }
    return first;
}

std::optional<Found> EditorSearch::LastIn(int from, int to) const {
    std::optional<Found> last;
    for (QTextBlock block = document_.findBlock(std::max(from, to - 1));
         !last && block.isValid() && block.position() + block.length() > from;
         block = block.previous()) {
        ScanBlock(block, from, to, [&](const Found& found) {
            last = found;
            return true;
        });
    }
    return last;
}

std::optional<Found> EditorSearch::Next(int from, bool forward, bool& wrapped) const {
    wrapped = false;
    if (Empty()) {
        return std::nullopt;
    }
    const int end = document_.characterCount();
    std::optional<Found> found = forward ? FirstIn(from, end) : LastIn(0, from);
    if (!found) {
        wrapped = true;
        found = forward ? FirstIn(0, from) : LastIn(from, end);
    }
    return found;
}

std::optional<Found> EditorSearch::At(int start) const {
    return Empty() ? std::nullopt : FirstIn(start, start + 1);
}

std::vector<Found> EditorSearch::All() const {
    std::vector<Found> places;
    if (Empty()) {
        return places;
    }
    // Each block read once; a place that starts inside the one before is none.
    const int end = document_.characterCount();
    int after = 0;
    for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
        ScanBlock(block, block.position(), end, [&](const Found& found) {
            if (found.start >= after) {
                places.push_back(found);
                after = found.end;
            }
            return true;
        });
    }
    return places;
}

void ReplaceSelection(QTextCursor& cursor, const QString& replacement) {
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertEditorText(cursor, ToEditorText(replacement));
    cursor.endEditBlock();
}

void ReplaceAll(QTextDocument& document, const std::vector<Found>& places,
                const QString& replacement) {
    const QString editorText = ToEditorText(replacement);
    // Text without a line break goes in as it is, in the block of the place.
    const bool oneLine = !editorText.contains(QLatin1Char('\n'));
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    // From the last to the first, so that the places before stay where they are.
    for (auto place = places.rbegin(); place != places.rend(); ++place) {
        cursor.setPosition(place->start);
        cursor.setPosition(place->end, QTextCursor::KeepAnchor);
        if (oneLine) {
            cursor.insertText(editorText);
        } else {
            cursor.removeSelectedText();
            InsertEditorText(cursor, editorText);
        }
    }
    cursor.endEditBlock();
}

}  // namespace solvena::app
