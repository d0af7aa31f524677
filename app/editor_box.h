// SPDX-License-Identifier: MIT
#pragma once

// Text1 of the main window: a multi-line editor that holds the document
// text exactly (see editor_text.h) and reports every change of it once. A
// long line is held in pieces; keys, the clipboard and drops treat the
// places between pieces as no place at all.

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <functional>

class QSyntaxHighlighter;

namespace solvena::app {

class FillUndo;
class WrapChoice;

class EditorBox : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit EditorBox(QWidget* parent = nullptr);

    // The document text, line breaks as CR LF.
    QString Text() const;
    bool IsEmpty() const;

    // Puts a text in place of the document. The text that is already there
    // is no change at all; any other text is one change, and starts a new
    // undo history.
    void SetText(const QString& text);

    // The same, as one step that Ctrl+Z takes back. A long text goes in in
    // parts; between them `keepGoing` is asked, with the share of the text
    // in place (pending events may run there, while the editor neither
    // paints nor takes input). When it says no, the document is left
    // exactly as it was and the result is false.
    using KeepGoing = std::function<bool(double done)>;
    bool ReplaceText(const QString& text, const KeepGoing& keepGoing = {});

    // The text as its file holds it: put there by SetText, or saved. Ctrl+Z
    // and Ctrl+Y that come back to it come back to an unchanged document.
    void MarkSaved() {
        // Set afresh: an unmodified document keeps the undo step it was
        // marked at.
        document()->setModified(true);
        document()->setModified(false);
    }
    // A text that no file holds: no undo comes back to a saved state.
    void MarkUnsaved() { document()->setModified(true); }

    // 元に戻す or やり直す from the editor's menu, as Ctrl+Z and Ctrl+Y do
    // them: the step of a cipher result keeps the caret and the view.
    void UndoStep(bool undo);

  protected:
    // Whatever font it is given, the marks' glyphs come with it.
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A third click selects the line clicked, not the block that holds it.
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A copy carries the editor text for pastes inside the program and the
    // document's characters for other programs.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    // Files dragged onto the editor are the main window's to open, not text
    // to insert.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  signals:
    // Every change of the text, once; `byPerson`: typed, pasted, dropped or
    // taken back by a person rather than put there by the program.
    void Changed(bool byPerson);

  private:
    void OnContentsChange(int position, int removed, int added);
    // Puts the document text in place of everything, as one undoable step
    // or as a fresh document.
    bool Fill(const QString& text, bool undoable, const KeepGoing& keepGoing);
    // Whether the marks of lone line ends are shown dimmed; only a document
    // that holds one needs the work.
    void ShowMarks(bool held);
    // Keys that would stop at, or delete, the place between two pieces of a
    // line; true when handled.
    bool CrossPieceBoundary(QKeyEvent* event);
    void DeleteAcrossSeam(QTextCursor& cursor, bool back);

    bool eventFilter(QObject* watched, QEvent* event) override;

    QSyntaxHighlighter* marks_ = nullptr;
    WrapChoice* wrap_ = nullptr;
    FillUndo* fillUndo_ = nullptr;
    QElapsedTimer sinceDoubleClick_;
    QPoint doubleClickAt_;
    mutable QString knownText_;  // Text(), while textKnown_
    mutable bool textKnown_ = false;
    bool programChange_ = false;
    bool filling_ = false;  // input waits while a fill lets events run
    QString textBeforeFill_;
};

}  // namespace solvena::app
