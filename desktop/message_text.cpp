// SPDX-License-Identifier: MIT
#include "desktop/message_text.h"

#include <QMessageBox>

namespace solvena::desktop {

QString ShownMessage(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !text[end].isSpace()) {
            ++end;
        }
        const qsizetype length = end - start;
        if (length > kLongestShownRun) {
            // Both ends of a path tell the most: the folder it starts in
            // and the file's own name.
            const qsizetype kept = (kLongestShownRun - 1) / 2;
            shown += text.mid(start, kept) + QChar(0x2026) + text.mid(end - kept, kept);
        } else {
            shown += text.mid(start, length);
        }
        if (end < text.size()) {
            shown += text[end];
        }
        start = end + 1;
    }
    return shown;
}

void SetMessageText(QMessageBox& box, const QString& text) {
    const QString shown = ShownMessage(text);
    box.setText(shown);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (shown != text) {
        box.setDetailedText(text);
    }
}

}  // namespace solvena::desktop
