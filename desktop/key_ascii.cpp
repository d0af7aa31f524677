// SPDX-License-Identifier: MIT
#include "desktop/key_ascii.h"

#include <QKeyEvent>

namespace solvena::desktop {

int KeyAscii(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return kEnter;
    }
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        return 0;
    }
    return text.at(0).unicode();
}

}  // namespace solvena::desktop
