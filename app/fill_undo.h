// SPDX-License-Identifier: MIT
#pragma once

// Ctrl+Z and Ctrl+Y of a text the program put in place of the whole
// document (a cipher run's result) leave the caret and the view where they
// were, instead of moving them to the end of the text the step brings back:
// after the undo of a long decipher result, the enciphered line's end.

#include <QObject>
#include <vector>

class QPlainTextEdit;

namespace solvena::app {

class FillUndo : public QObject {
  public:
    // Watches the editor's keys; it goes with the editor.
    explicit FillUndo(QPlainTextEdit& editor);

    // A fill of the whole document has just become the last undo step; the
    // document had `stepsBefore` undo steps before it (a step of several
    // edits counts each of them).
    void Filled(int stepsBefore);

    // Ctrl+Z (or Ctrl+Y, `undo` false) asked for by the keys or the menu:
    // true when it was a fill's step, taken here; else nothing is done.
    bool Step(bool undo);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A new step ends what could be redone, fills among them.
    void StepAdded();

    struct Fill {
        int before;  // the undo steps there are before it
        int after;   // and after it
    };
    QPlainTextEdit& editor_;
    std::vector<Fill> fills_;
};

}  // namespace solvena::app
