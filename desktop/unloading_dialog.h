// SPDX-License-Identifier: MIT
#pragma once

// A dialog with an unload handler: every way of closing it (its buttons,
// the close box, Escape, the program) runs the handler exactly once, before
// the dialog goes.

#include <QDialog>

namespace solvena::desktop {

class UnloadingDialog : public QDialog {
  public:
    using QDialog::QDialog;

    // Every way of closing ends here, which runs Form_Unload.
    void done(int result) override;
    // Runs Unload the first time it is called, and then never again.
    void Form_Unload();
    // The dialog has been closed, by a person or by the program.
    bool Unloaded() const { return unloaded_; }

  protected:
    // What the dialog hands over as it goes.
    virtual void Unload() = 0;

  private:
    bool unloaded_ = false;
};

}  // namespace solvena::desktop
