// SPDX-License-Identifier: MIT
#pragma once

// The form Form2, "進行状況表示計": the progress bar of a running cipher
// command and its only way to stop: closing the window (its "キャンセル"
// button, Escape, the close box) moves Module2's CipherPosition to
// CipherLength, which ends the run.

#include <QDialog>

#include "module2.h"

class QPushButton;

namespace solvena::dialogs {

class Form2 : public QDialog {
  public:
    Form2(app::Module2& shared, QWidget* owner);

    void Form_Load();
    void Command1_Click();
    void Form_Unload();
    void done(int result) override;

    // The inner width of the progress area in twips, the bar's full width.
    double Picture1ScaleWidth() const;
    // The bar's width in twips; the widget is touched only when its width
    // in pixels changes.
    void SetShape1Width(float twips);
    float Shape1Width() const { return shape1Width_; }
    int Shape1Pixels() const;
    // The window has been closed, by the person or by the command.
    bool Unloaded() const { return unloaded_; }

  private:
    app::Module2& shared_;
    QWidget* picture1_ = nullptr;
    QWidget* shape1_ = nullptr;
    float shape1Width_ = 0;
    bool unloaded_ = false;
};

}  // namespace solvena::dialogs
