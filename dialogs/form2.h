// SPDX-License-Identifier: MIT
#pragma once

// The form Form2, "進行状況表示計": the progress bar of a running cipher
// command and its only way to stop: closing the window (its "キャンセル"
// button, Escape, the close box) moves Module2's CipherPosition to
// CipherLength, which ends the run.

#include "desktop/unloading_dialog.h"
#include "state/module2.h"

class QPushButton;

namespace solvena::dialogs {

class Form2 : public desktop::UnloadingDialog {
  public:
    Form2(state::Module2& shared, QWidget* owner);

    void Form_Load();
    void Command1_Click();

    // The inner width of the progress area in twips, the bar's full width.
    double Picture1ScaleWidth() const;
    // The bar's width in twips; the widget is touched only when its width
    // in pixels changes.
    void SetShape1Width(float twips);
    float Shape1Width() const { return barWidth_; }
    int Shape1Pixels() const;

  protected:
    // Closing moves CipherPosition to CipherLength.
    void Unload() override;

  private:
    state::Module2& shared_;
    QWidget* progressArea_ = nullptr;  // Picture1
    QWidget* bar_ = nullptr;           // Shape1
    float barWidth_ = 0;
};

}  // namespace solvena::dialogs
