// SPDX-License-Identifier: MIT
#pragma once

// The password window, "パスワード": asks for the password of a password
// file, or for a new one twice when a document is sealed, and leaves it in
// Module2's Password (empty when closed without one). A weak new password
// is warned of, never refused: the file is the user's.

#include "desktop/unloading_dialog.h"
#include "state/module2.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace solvena::desktop {
class Platform;
}

namespace solvena::dialogs {

inline constexpr char16_t kPasswordPrompt[] = u"▼パスワードを入力してください";
inline constexpr char16_t kPasswordWrong[] = u"▼パスワードが違います。もう一度どうぞ";
inline constexpr char16_t kNewPasswordPrompt[] = u"▼新しいパスワードを２度入力してください";
inline constexpr char16_t kPasswordsDiffer[] = u"▼２つのパスワードが違います";
inline constexpr char16_t kShortPassword[] =
    u"短いパスワードは当てられやすくなります（10 文字以上をお勧めします）";
inline constexpr char16_t kPassNumberLikePassword[] =
    u"４桁までの数字は、パスナンバーと同じくらい弱いパスワードです";

// What a new password is warned of: none (empty), a short one, or one as
// weak as a pass number.
const char16_t* PasswordWarning(const QString& password);

class PasswordForm : public desktop::UnloadingDialog {
  public:
    PasswordForm(state::Module2& shared, desktop::Platform& platform, QWidget* owner);

    void Form_Load();
    void Text1_Change();
    void Check1_Click();
    void Command1_Click();
    void Command2_Click();

  protected:
    // Without a confirmed password, Password is emptied.
    void Unload() override;

  private:
    void Place(bool twice);

    state::Module2& shared_;
    desktop::Platform& platform_;
    QLabel* promptLabel_ = nullptr;        // Label1
    QLineEdit* passwordBox_ = nullptr;     // Text1
    QLabel* againLabel_ = nullptr;         // Label2
    QLineEdit* againBox_ = nullptr;        // Text2
    QCheckBox* showBox_ = nullptr;         // Check1
    QLabel* warningLabel_ = nullptr;       // Label3
    QPushButton* okButton_ = nullptr;      // Command1
    QPushButton* cancelButton_ = nullptr;  // Command2
    bool okClicked_ = false;
};

}  // namespace solvena::dialogs
