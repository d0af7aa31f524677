// SPDX-License-Identifier: MIT
#pragma once

// The form Form11, "パスナンバー入力画面": asks for the pass number and
// leaves it in Module2's PassNumber, or -1 when closed without one. The
// entry is checked after every keystroke.

#include <QDialog>
#include <cstdint>

#include "module2.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace solvena::platform {
class Platform;
}

namespace solvena::dialogs {

inline constexpr char16_t kPassPrompt[] = u"▼パスナンバーを入力してください";
inline constexpr char16_t kPassRejected[] = u"▼４桁以内の数字を入力してください";

class Form11 : public QDialog {
  public:
    Form11(app::Module2& shared, platform::Platform& platform, QWidget* owner);

    void Form_Load();
    void Text1_Change();
    void Text1_KeyPress(int& keyAscii);
    void Command1_Click();
    void Form_Unload();

    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    app::Module2& shared_;
    platform::Platform& platform_;
    QLabel* label1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
    std::int16_t okClicked_ = app::kFalse;
    bool unloaded_ = false;
};

}  // namespace solvena::dialogs
