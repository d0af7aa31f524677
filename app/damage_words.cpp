// SPDX-License-Identifier: MIT
#include "app/damage_words.h"

#include <QTextCursor>

#include "app/editor_box.h"
#include "app/editor_text.h"
#include "ranking/verdicts.h"

namespace solvena::app {

QString DamagedQuestion(const cipher::CipherEvidence& evidence) {
    return QString::fromStdU16String(ranking::DamagedQuestion(evidence));
}

void SelectDamage(EditorBox& editor, const cipher::DamagePlace& place) {
    QTextCursor cursor(editor.document());
    const int at = EditorPositionOf(*editor.document(), static_cast<qint64>(place.position) - 1);
    // The whole group it breaks: the stray character is somewhere in it.
    const int last = EditorPositionOf(*editor.document(), static_cast<qint64>(place.last) - 1);
    cursor.setPosition(at);
    cursor.setPosition(std::min(std::max(at, last) + 1, editor.document()->characterCount() - 1),
                       QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.ensureCursorVisible();
}

}  // namespace solvena::app
