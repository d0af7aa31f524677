// SPDX-License-Identifier: MIT
#include "app/fill_undo.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace solvena::app {

FillUndo::FillUndo(QPlainTextEdit& editor) : QObject(&editor), editor_(editor) {
    editor.installEventFilter(this);
    connect(editor.document(), &QTextDocument::undoCommandAdded, this, &FillUndo::StepAdded);
}

void FillUndo::Filled(int stepsBefore) {
    fills_.push_back({stepsBefore, editor_.document()->availableUndoSteps()});
}

void FillUndo::StepAdded() {
    const int steps = editor_.document()->availableUndoSteps();
    std::erase_if(fills_, [steps](const Fill& fill) { return fill.after >= steps; });
}

bool FillUndo::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &editor_ || event->type() != QEvent::KeyPress || editor_.isReadOnly()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Undo)) {
        return Step(true);
    }
    return key->matches(QKeySequence::Redo) && Step(false);
}

bool FillUndo::Step(bool undo) {
    QTextDocument& document = *editor_.document();
    const int steps = document.availableUndoSteps();
    const auto fillAt = [this, steps](bool fromAfter) {
        return std::any_of(fills_.begin(), fills_.end(), [steps, fromAfter](const Fill& fill) {
            return (fromAfter ? fill.after : fill.before) == steps;
        });
    };
    const bool fill = undo ? document.isUndoAvailable() && fillAt(true)
                           : document.isRedoAvailable() && fillAt(false);
    if (!fill) {
        return false;
    }
    // Numbers, not a cursor, which the step would carry along.
    const int anchor = editor_.textCursor().anchor();
    const int position = editor_.textCursor().position();
    const int scrolled = editor_.verticalScrollBar()->value();
    undo ? editor_.undo() : editor_.redo();
    // The same places in the text now there, as far as it goes.
    const int last = document.characterCount() - 1;
    QTextCursor cursor(&document);
    cursor.setPosition(std::min(anchor, last));
    cursor.setPosition(std::min(position, last), QTextCursor::KeepAnchor);
    editor_.setTextCursor(cursor);
    editor_.verticalScrollBar()->setValue(scrolled);
    return true;
}

}  // namespace solvena::app
