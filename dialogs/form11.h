// SPDX-License-Identifier: MIT
#pragma once

// The form Form11, "パスナンバー入力画面": asks for the pass number and
// leaves it in Module2's PassNumber, or -1 when closed without one. The
// entry is checked after every keystroke.

#include "desktop/unloading_dialog.h"
#include "state/module2.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace solvena::desktop {
class Platform;
}

namespace solvena::dialogs {

class Form11 : public desktop::UnloadingDialog {
  public:
    Form11(state::Module2& shared, desktop::Platform& platform, QWidget* owner);

    void Form_Load();
    void Text1_Change();
    void Text1_KeyPress(int& keyAscii);
    void Command1_Click();
    // パスナンバーを探す: shown while a pass number to decipher with is asked.
    void Command2_Click();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Without a confirmed number PassNumber becomes -1.
    void Unload() override;

  private:
    state::Module2& shared_;
    desktop::Platform& platform_;
    QLabel* promptLabel_ = nullptr;      // Label1
    QLineEdit* passBox_ = nullptr;       // Text1
    QPushButton* okButton_ = nullptr;    // Command1
    QPushButton* findButton_ = nullptr;  // Command2
    bool okClicked_ = false;
    bool found_ = false;  // PassNumber holds a number the search found
};

}  // namespace solvena::dialogs
