// SPDX-License-Identifier: MIT
#include "app/line_end_marks.h"

#include <QTextBlock>
#include <QTextDocument>

#include "app/editor_text.h"

namespace solvena::app {

void LineEndMarks::highlightBlock(const QString& text) {
    QTextCharFormat dim;
    dim.setForeground(QColor(150, 150, 150));
    for (const char16_t mark : {kLoneCrMark, kLoneLfMark}) {
        for (qsizetype at = text.indexOf(QChar(mark)); at >= 0;
             at = text.indexOf(QChar(mark), at + 1)) {
            setFormat(static_cast<int>(at), 1, dim);
        }
    }
}

bool HoldsMark(QStringView editorText) {
    return editorText.contains(QChar(kLoneCrMark)) || editorText.contains(QChar(kLoneLfMark));
}

bool RangeHoldsMark(const QTextDocument& document, int position, int length) {
    const int end = position + length;
    for (QTextBlock block = document.findBlock(position); block.isValid() && block.position() < end;
         block = block.next()) {
        if (HoldsMark(block.text())) {
            return true;
        }
    }
    return false;
}

}  // namespace solvena::app
