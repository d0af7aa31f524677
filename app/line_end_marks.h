// SPDX-License-Identifier: MIT
#pragma once

// The marks that the editor shows for a lone CR or LF (editor_text.h).

#include <QStringView>
#include <QSyntaxHighlighter>

class QTextDocument;

namespace solvena::app {

// Shows the marks of lone CR and LF dimmed, so that they read as line ends
// rather than as text. It works on a document only while a mark is in it:
// its pass over every character of a fill of millions costs more than the
// fill itself.
class LineEndMarks : public QSyntaxHighlighter {
  public:
    explicit LineEndMarks(QObject* parent) : QSyntaxHighlighter(parent) {}

  protected:
    void highlightBlock(const QString& text) override;
};

bool HoldsMark(QStringView editorText);

// Whether the characters from `position` on, `length` of them, hold a mark.
bool RangeHoldsMark(const QTextDocument& document, int position, int length);

}  // namespace solvena::app
