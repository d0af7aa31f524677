// SPDX-License-Identifier: MIT
#include "dialogs/form11.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cipher/pass_entry.h"
#include "desktop/key_ascii.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "desktop/text_convert.h"

namespace solvena::dialogs {
namespace {

using desktop::kEnter;
using desktop::TwipsRect;

}  // namespace

Form11::Form11(state::Module2& shared, desktop::Platform& platform, QWidget* owner)
    : UnloadingDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                 Qt::MSWindowsFixedSizeDialogHint),
      shared_(shared),
      platform_(platform) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("パスナンバー入力画面"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    setModal(true);
    setFixedSize(desktop::Pixels(4680), desktop::Pixels(1500));
    desktop::SetBackground(this, desktop::kDialogBackground);

    promptLabel_ = new QLabel(this);
    promptLabel_->setObjectName(QStringLiteral("Label1"));
    promptLabel_->setGeometry(TwipsRect(240, 120, 4215, 375));
    promptLabel_->setAlignment(Qt::AlignCenter);
    promptLabel_->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 12, true));

    passBox_ = new QLineEdit(this);
    passBox_->setObjectName(QStringLiteral("Text1"));
    passBox_->setGeometry(TwipsRect(1320, 840, 1695, 375));
    // No composition: digits are typed as they are (full-width ones count too).
    passBox_->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly |
                                  Qt::ImhNoPredictiveText);
    passBox_->setAttribute(Qt::WA_InputMethodEnabled, false);
    passBox_->installEventFilter(this);
    passBox_->setAccessibleName(QStringLiteral("パスナンバー"));
    passBox_->setAccessibleDescription(QStringLiteral("4 文字までの数字"));

    // Enter presses the focused button (in the entry it is the OK action).
    okButton_ = desktop::DialogButton(this, QStringLiteral("Command1"), QStringLiteral("ＯＫ"));
    okButton_->setGeometry(TwipsRect(3480, 840, 855, 375));
    okButton_->setAccessibleName(QStringLiteral("OK"));
    okButton_->setAccessibleDescription(QStringLiteral("このパスナンバーで始めます"));
    okButton_->hide();

    findButton_ =
        desktop::DialogButton(this, QStringLiteral("Command2"), QStringLiteral("探す(&F)…"));
    findButton_->setGeometry(TwipsRect(120, 840, 1140, 375));
    findButton_->setToolTip(QStringLiteral("パスナンバーを探す"));
    findButton_->setAccessibleName(QStringLiteral("パスナンバーを探す"));
    findButton_->setAccessibleDescription(QStringLiteral("忘れたパスナンバーを、文書から探します"));
    findButton_->setVisible(static_cast<bool>(shared_.showPassFinder));
    connect(findButton_, &QPushButton::clicked, this, &Form11::Command2_Click);

    connect(passBox_, &QLineEdit::textChanged, this, &Form11::Text1_Change);
    connect(okButton_, &QPushButton::clicked, this, &Form11::Command1_Click);
    passBox_->setFocus();
    Form_Load();
}

void Form11::Form_Load() {
    promptLabel_->setText(QString::fromUtf16(cipher::kPassPrompt));
    okClicked_ = false;
}

void Form11::Text1_Change() {
    const QString entry = passBox_->text();
    if (entry.isEmpty()) {
        okButton_->setAccessibleName(QStringLiteral("OK"));
        okButton_->setAccessibleDescription(QStringLiteral("このパスナンバーで始めます"));
        okButton_->hide();
        passBox_->setFocus();
        promptLabel_->setText(QString::fromUtf16(cipher::kPassPrompt));
        return;
    }
    const std::optional<std::int16_t> pass = cipher::ReadPassEntry(desktop::ToU16View(entry));
    if (!pass) {
        // Not a number, more than four characters, or too large.
        platform_.Beep();
        passBox_->setText(QString());
        promptLabel_->setText(QString::fromUtf16(cipher::kPassRejected));
        return;
    }
    shared_.PassNumber = *pass;
    okButton_->show();
}

bool Form11::eventFilter(QObject* watched, QEvent* event) {
    if (watched == passBox_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyAscii = desktop::KeyAscii(key);
        if (keyAscii != 0) {
            Text1_KeyPress(keyAscii);
            if (keyAscii == 0) {
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Form11::Text1_KeyPress(int& keyAscii) {
    if (keyAscii == kEnter) {
        // Swallowed, without a beep, whether or not OK is shown.
        keyAscii = 0;
        Command1_Click();
    }
}

void Form11::Command1_Click() {
    okClicked_ = true;
    accept();
}

void Form11::Command2_Click() {
    shared_.showPassFinder();
    if (shared_.PassNumber == -1) {
        passBox_->setFocus();
        return;
    }
    // The number found is taken as a confirmed entry.
    found_ = true;
    Command1_Click();
}

void Form11::Unload() {
    if (!found_ && (passBox_->text().isEmpty() || !okClicked_)) {
        shared_.PassNumber = -1;
    }
}

}  // namespace solvena::dialogs
