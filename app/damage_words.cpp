// SPDX-License-Identifier: MIT
#include "app/damage_words.h"

#include <QTextCursor>

#include "app/editor_box.h"
#include "app/editor_text.h"

namespace solvena::app {
namespace {

QString DamageName(cipher::Damage kind) {
    switch (kind) {
        case cipher::Damage::OutOfCycle:
            return QStringLiteral("区切りの記号が順番どおりでないところ");
        case cipher::Damage::OutsideAlphabets:
            return QStringLiteral("暗号文に使われない文字");
        case cipher::Damage::GroupTooLong:
            return QStringLiteral("長すぎる数字のまとまり");
        case cipher::Damage::AfterEndMarker:
            break;
    }
    return QStringLiteral("終わりの印の後の文字");
}

}  // namespace

QString DamagedQuestion(const cipher::CipherEvidence& evidence) {
    const cipher::DamagePlace& place = *evidence.damage;
    QString where = place.last > place.position
                        ? QStringLiteral("%1～%2 文字目").arg(place.position).arg(place.last)
                        : QStringLiteral("%1 文字目").arg(place.position);
    if (evidence.severalLines) {
        where += QStringLiteral("（%1 行 %2 列）").arg(place.line).arg(place.column);
    }
    return QStringLiteral(
               "暗号文が壊れています。%1に%2があります。\n"
               "パスナンバーの違いではありません。結果を表示しますか？")
        .arg(where, DamageName(place.kind));
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
