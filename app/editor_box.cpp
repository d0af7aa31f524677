#include "editor_box.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "editor_text.h"

namespace solvena::app {

namespace {

// Shows the marks of lone CR and LF dimmed, so that they read as line ends
// rather than as text.
class LineEndMarks : public QSyntaxHighlighter {
  public:
    explicit LineEndMarks(QTextDocument* document) : QSyntaxHighlighter(document) {}

  protected:
    void highlightBlock(const QString& text) override {
        QTextCharFormat dim;
        dim.setForeground(QColor(150, 150, 150));
        for (const char16_t mark : {kLoneCrMark, kLoneLfMark}) {
            for (qsizetype at = text.indexOf(QChar(mark)); at >= 0;
                 at = text.indexOf(QChar(mark), at + 1)) {
                setFormat(static_cast<int>(at), 1, dim);
            }
        }
    }
};

}  // namespace

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
    new LineEndMarks(document());
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
