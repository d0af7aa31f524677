#include "editor_box.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "editor_text.h"

namespace solvena::app {

EditorBox::EditorBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("Text1"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    // Like the multi-line box of old, Tab moves on to the next control.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &EditorBox::OnContentsChange);
}

namespace {

bool CarriesFiles(const QDropEvent* event) {
    return event->mimeData() != nullptr && event->mimeData()->hasUrls();
}

}  // namespace

void EditorBox::dragEnterEvent(QDragEnterEvent* event) {
    if (CarriesFiles(event)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragEnterEvent(event);
}

void EditorBox::dragMoveEvent(QDragMoveEvent* event) {
    if (CarriesFiles(event)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dragMoveEvent(event);
}

void EditorBox::dropEvent(QDropEvent* event) {
    if (CarriesFiles(event)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::dropEvent(event);
}

QString EditorBox::Text() const {
    return FromEditorText(*document());
}

bool EditorBox::IsEmpty() const {
    return document()->isEmpty();
}

void EditorBox::OnContentsChange(int, int removed, int added) {
    if (!programChange_ && (removed != 0 || added != 0)) {
        emit Changed(true);
    }
}

void EditorBox::SetText(const QString& text) {
    if (Text() == text) {
        return;
    }
    programChange_ = true;
    setPlainText(ToEditorText(text));
    programChange_ = false;
    emit Changed(false);
}

void EditorBox::ReplaceText(const QString& text) {
    if (Text() == text) {
        return;
    }
    programChange_ = true;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.insertText(ToEditorText(text));
    cursor.endEditBlock();
    programChange_ = false;
    moveCursor(QTextCursor::Start);
    emit Changed(false);
}

}  // namespace solvena::app
