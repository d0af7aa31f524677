// SPDX-License-Identifier: MIT
#include "app/editor_box.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include "app/editor_text.h"
#include "app/fill_undo.h"
#include "app/line_end_marks.h"
#include "app/mark_font.h"
#include "app/wrap_choice.h"

namespace solvena::app {

EditorBox::EditorBox(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("Text1"));
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    wrap_ = new WrapChoice(*this);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_InputMethodEnabled, true);
    // Like the multi-line box of old, Tab moves on to the next control.
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, &EditorBox::OnContentsChange);
    marks_ = new LineEndMarks(this);
    fillUndo_ = new FillUndo(*this);
    installEventFilter(this);
    viewport()->installEventFilter(this);
    setFont(WithMarkFont(font()));
}

void EditorBox::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        const QFont withMarks = WithMarkFont(font());
        if (withMarks != font()) {
            setFont(withMarks);
        }
    }
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
    // Until a fill is complete, the document is the one before it.
    if (filling_) {
        return textBeforeFill_;
    }
    // Kept until the next change: the cipher commands, saving and recovery
    // all ask for a text of millions of characters, and more than once.
    if (!textKnown_) {
        knownText_ = FromEditorText(*document());
        textKnown_ = true;
    }
    return knownText_;
}

bool EditorBox::IsEmpty() const {
    return document()->isEmpty();
}

void EditorBox::OnContentsChange(int position, int removed, int added) {
    textKnown_ = false;
    if (programChange_ || (removed == 0 && added == 0)) {
        return;
    }
    wrap_->Edited(position, removed, added);
    // A mark comes in by a paste, or back by an undo.
    if (marks_->document() == nullptr && RangeHoldsMark(*document(), position, added)) {
        ShowMarks(true);
    }
    emit Changed(true);
}

void EditorBox::SetText(const QString& text) {
    if (Text() == text) {
        return;
    }
    programChange_ = true;
    Fill(text, false, {});
    programChange_ = false;
    emit Changed(false);
}

bool EditorBox::ReplaceText(const QString& text, const KeepGoing& keepGoing) {
    if (Text() == text) {
        return true;
    }
    programChange_ = true;
    const bool filled = Fill(text, true, keepGoing);
    programChange_ = false;
    if (filled) {
        emit Changed(false);
    }
    return filled;
}

namespace {

// The units filled between two questions whether to go on: a few
// milliseconds of work.
constexpr qsizetype kFillPart = 64 * kPieceLength;

// Where a part of the fill ends: not inside a surrogate or escape pair.
qsizetype PartEnd(const QString& text, qsizetype from) {
    qsizetype end = std::min(text.size(), from + kFillPart);
    if (end < text.size() && (text[end].isLowSurrogate() || text[end - 1] == kEditorEscape)) {
        --end;
    }
    return end;
}

}  // namespace

void EditorBox::ShowMarks(bool held) {
    if (held == (marks_->document() != nullptr)) {
        return;
    }
    marks_->setDocument(held ? document() : nullptr);
    if (held) {
        marks_->rehighlight();  // now rather than after the first paint
    }
}

bool EditorBox::Fill(const QString& text, bool undoable, const KeepGoing& keepGoing) {
    if (!undoable) {
        // A fresh document: no undo history, nothing laid out yet.
        setPlainText(QString());
        document()->setUndoRedoEnabled(false);
    }
    const QString editorText = ToEditorText(text);
    const int stepsBefore = document()->availableUndoSteps();
    textBeforeFill_ = Text();
    const bool heldMarks = marks_->document() != nullptr;
    ShowMarks(false);
    wrap_->ChooseFor(editorText);
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    bool stopped = false;
    for (qsizetype from = 0; from < editorText.size() || from == 0;) {
        const qsizetype end = PartEnd(editorText, from);
        InsertEditorText(cursor, QStringView(editorText).mid(from, end - from));
        from = end;
        if (from >= editorText.size()) {
            break;
        }
        if (!keepGoing) {
            continue;
        }
        filling_ = true;
        setUpdatesEnabled(false);
        stopped = !keepGoing(static_cast<double>(from) / static_cast<double>(editorText.size()));
        setUpdatesEnabled(true);
        filling_ = false;
        if (stopped) {
            break;
        }
    }
    cursor.endEditBlock();
    textBeforeFill_.clear();
    if (stopped) {
        // The fill was one undo step: taking it back leaves the document as
        // it was, and it cannot be redone.
        document()->undo();
        document()->clearUndoRedoStacks(QTextDocument::RedoStack);
        ShowMarks(heldMarks);
        wrap_->Recheck();
        return false;
    }
    // Enabling it again would forget the undo step the file's text is at.
    if (undoable) {
        fillUndo_->Filled(stepsBefore);
    } else {
        document()->setUndoRedoEnabled(true);
        MarkSaved();
    }
    moveCursor(QTextCursor::Start);
    ShowMarks(HoldsMark(editorText));
    knownText_ = text;
    textKnown_ = true;
    return true;
}

bool EditorBox::eventFilter(QObject* watched, QEvent* event) {
    if (filling_) {
        switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::Wheel:
            case QEvent::InputMethod:
            case QEvent::DragEnter:
            case QEvent::Drop:
                return true;
            default:
                break;
        }
    }
    return QPlainTextEdit::eventFilter(watched, event);
}

void EditorBox::DeleteAcrossSeam(QTextCursor& cursor, bool back) {
    // The character beyond the seam goes; an emptied piece goes too.
    const QTextBlock block = cursor.block();
    cursor.beginEditBlock();
    const QTextBlock other = back ? block.previous() : block.next();
    if (block.length() == 1 || other.length() == 1) {
        back ? cursor.deletePreviousChar() : cursor.deleteChar();
    } else {
        cursor.movePosition(back ? QTextCursor::PreviousCharacter : QTextCursor::NextCharacter);
    }
    back ? cursor.deletePreviousChar() : cursor.deleteChar();
    cursor.endEditBlock();
    setTextCursor(cursor);
}

bool EditorBox::CrossPieceBoundary(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier) {
        return false;
    }
    QTextCursor cursor = textCursor();
    const QTextBlock block = cursor.block();
    const bool atPieceStart = cursor.atBlockStart() && ContinuesLine(block);
    const bool beforePiece = cursor.atBlockEnd() && ContinuesLine(block.next());
    const QTextCursor::MoveMode mode =
        modifiers == Qt::ShiftModifier ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right: {
            // The end of one piece and the start of the next are one place:
            // a step moves over a character, not over the seam.
            const bool left = event->key() == Qt::Key_Left;
            if (!(left ? atPieceStart : beforePiece)) {
                return false;
            }
            const auto step = left ? QTextCursor::PreviousCharacter : QTextCursor::NextCharacter;
            cursor.movePosition(step, mode, 2);
            setTextCursor(cursor);
            return true;
        }
        case Qt::Key_Backspace:
        case Qt::Key_Delete: {
            const bool back = event->key() == Qt::Key_Backspace;
            if (isReadOnly() || cursor.hasSelection() || !(back ? atPieceStart : beforePiece)) {
                return false;
            }
            DeleteAcrossSeam(cursor, back);
            return true;
        }
        default:
            return false;
    }
}

void EditorBox::keyPressEvent(QKeyEvent* event) {
    if (CrossPieceBoundary(event)) {
        event->accept();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !isReadOnly() && (event->modifiers() & Qt::ShiftModifier) == 0) {
        // A line break typed in a piece starts a line of its own, rather
        // than another piece of the same line.
        QTextCursor cursor = textCursor();
        InsertEditorText(cursor, u"\n");
        setTextCursor(cursor);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

namespace {

// A copy inside the program carries the editor text itself, so that a lone
// CR or LF comes back as one; other programs get the document's characters.
const QString kEditorTextFormat = QStringLiteral("application/x-solvena-editor-text");

QByteArray Utf16Bytes(const QString& text) {
    return {reinterpret_cast<const char*>(text.utf16()), text.size() * 2};
}

QString FromUtf16Bytes(const QByteArray& bytes) {
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()),
                              bytes.size() / 2);
}

// Plain text from another program: its line breaks (LF, CR LF or CR) are
// line breaks, and every other character is itself, marks included.
QString EditorTextOfPlainText(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return ToEditorText(text);
}

}  // namespace

void EditorBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    sinceDoubleClick_.start();
    doubleClickAt_ = event->position().toPoint();
}

void EditorBox::mousePressEvent(QMouseEvent* event) {
    QPlainTextEdit::mousePressEvent(event);
    const bool third = sinceDoubleClick_.isValid() &&
                       sinceDoubleClick_.elapsed() < QApplication::doubleClickInterval() &&
                       (event->position().toPoint() - doubleClickAt_).manhattanLength() <
                           QApplication::startDragDistance();
    if (third && event->button() == Qt::LeftButton) {
        sinceDoubleClick_.invalidate();
        setTextCursor(LineOf(cursorForPosition(event->position().toPoint())));
    }
}

QMimeData* EditorBox::createMimeDataFromSelection() const {
    auto* mime = new QMimeData;
    const QString editorText = SelectedEditorText(textCursor());
    mime->setData(kEditorTextFormat, Utf16Bytes(editorText));
    mime->setText(DocumentTextOf(editorText));
    return mime;
}

bool EditorBox::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(kEditorTextFormat) || source->hasText();
}

void EditorBox::insertFromMimeData(const QMimeData* source) {
    if (isReadOnly() || source == nullptr || !canInsertFromMimeData(source)) {
        return;
    }
    const QString text = source->hasFormat(kEditorTextFormat)
                             ? FromUtf16Bytes(source->data(kEditorTextFormat))
                             : EditorTextOfPlainText(source->text());
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertEditorText(cursor, text);
    cursor.endEditBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
}

void EditorBox::UndoStep(bool undo) {
    if (!fillUndo_->Step(undo)) {
        undo ? this->undo() : redo();
    }
}

}  // namespace solvena::app
