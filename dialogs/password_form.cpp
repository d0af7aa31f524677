// SPDX-License-Identifier: MIT
#include "dialogs/password_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "desktop/look.h"
#include "desktop/platform.h"

namespace solvena::dialogs {
namespace {

using desktop::TwipsRect;

// Shorter than this, a password is warned of.
constexpr int kAdvisedLength = 10;

QLineEdit* NewPasswordBox(QWidget* owner, const QString& name, const QString& accessible) {
    auto* box = new QLineEdit(owner);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setAccessibleName(accessible);
    return box;
}

}  // namespace

const char16_t* PasswordWarning(const QString& password) {
    if (password.isEmpty()) {
        return nullptr;
    }
    const bool digitsOnly =
        std::all_of(password.begin(), password.end(), [](QChar c) { return c.isDigit(); });
    if (digitsOnly && password.size() <= 4) {
        return kPassNumberLikePassword;
    }
    return password.size() < kAdvisedLength ? kShortPassword : nullptr;
}

PasswordForm::PasswordForm(state::Module2& shared, desktop::Platform& platform, QWidget* owner)
    : UnloadingDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                 Qt::MSWindowsFixedSizeDialogHint),
      shared_(shared),
      platform_(platform) {
    setObjectName(QStringLiteral("PasswordForm"));
    setWindowTitle(QStringLiteral("パスワード"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    setModal(true);
    desktop::SetBackground(this, desktop::kDialogBackground);

    promptLabel_ = new QLabel(this);
    promptLabel_->setObjectName(QStringLiteral("Label1"));
    promptLabel_->setAlignment(Qt::AlignCenter);
    promptLabel_->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 12, true));
    passwordBox_ = NewPasswordBox(this, QStringLiteral("Text1"), QStringLiteral("パスワード"));
    againLabel_ = new QLabel(QStringLiteral("パスワード（確認）"), this);
    againLabel_->setObjectName(QStringLiteral("Label2"));
    againBox_ = NewPasswordBox(this, QStringLiteral("Text2"), QStringLiteral("パスワード（確認）"));
    againLabel_->setBuddy(againBox_);
    warningLabel_ = new QLabel(this);
    warningLabel_->setObjectName(QStringLiteral("Label3"));
    warningLabel_->setWordWrap(true);
    showBox_ = new QCheckBox(QStringLiteral("表示する(&S)"), this);
    showBox_->setObjectName(QStringLiteral("Check1"));
    showBox_->setAccessibleName(QStringLiteral("パスワードを表示する"));
    cancelButton_ =
        desktop::DialogButton(this, QStringLiteral("Command2"), QStringLiteral("キャンセル"));
    okButton_ = desktop::DialogButton(this, QStringLiteral("Command1"), QStringLiteral("ＯＫ"));
    okButton_->setAccessibleName(QStringLiteral("OK"));
    // Enter is OK wherever the focus is but on キャンセル.
    okButton_->setDefault(true);

    connect(passwordBox_, &QLineEdit::textChanged, this, &PasswordForm::Text1_Change);
    connect(againBox_, &QLineEdit::textChanged, this, &PasswordForm::Text1_Change);
    connect(showBox_, &QCheckBox::clicked, this, &PasswordForm::Check1_Click);
    connect(okButton_, &QPushButton::clicked, this, &PasswordForm::Command1_Click);
    connect(cancelButton_, &QPushButton::clicked, this, &PasswordForm::Command2_Click);
    Form_Load();
}

void PasswordForm::Place(bool twice) {
    const int row = twice ? 2220 : 1080;
    setFixedSize(desktop::Pixels(5400), desktop::Pixels(row + 600));
    promptLabel_->setGeometry(TwipsRect(240, 120, 4920, 375));
    passwordBox_->setGeometry(TwipsRect(240, 600, 4920, 375));
    againLabel_->setGeometry(TwipsRect(240, 1020, 4920, 300));
    againBox_->setGeometry(TwipsRect(240, 1320, 4920, 375));
    warningLabel_->setGeometry(TwipsRect(240, 1710, 4920, 450));
    showBox_->setGeometry(TwipsRect(240, row, 1800, 375));
    cancelButton_->setGeometry(TwipsRect(3000, row, 1200, 375));
    okButton_->setGeometry(TwipsRect(4320, row, 840, 375));
    againLabel_->setVisible(twice);
    againBox_->setVisible(twice);
    warningLabel_->setVisible(twice);
}

void PasswordForm::Form_Load() {
    const bool twice = shared_.PasswordNew;
    Place(twice);
    const char16_t* prompt = twice                      ? kNewPasswordPrompt
                             : shared_.PasswordWasWrong ? kPasswordWrong
                                                        : kPasswordPrompt;
    promptLabel_->setText(QString::fromUtf16(prompt));
    okClicked_ = false;
    Text1_Change();
    passwordBox_->setFocus();
}

void PasswordForm::Text1_Change() {
    const bool twice = shared_.PasswordNew;
    okButton_->setEnabled(!passwordBox_->text().isEmpty() &&
                          (!twice || !againBox_->text().isEmpty()));
    const char16_t* warning = PasswordWarning(passwordBox_->text());
    warningLabel_->setText(warning != nullptr ? QString::fromUtf16(warning) : QString());
}

void PasswordForm::Check1_Click() {
    const QLineEdit::EchoMode mode =
        showBox_->isChecked() ? QLineEdit::Normal : QLineEdit::Password;
    passwordBox_->setEchoMode(mode);
    againBox_->setEchoMode(mode);
}

void PasswordForm::Command1_Click() {
    if (passwordBox_->text().isEmpty()) {
        return;  // Enter on an empty entry: nothing to take yet
    }
    if (shared_.PasswordNew && againBox_->text() != passwordBox_->text()) {
        platform_.Beep();
        promptLabel_->setText(QString::fromUtf16(kPasswordsDiffer));
        againBox_->setFocus();
        againBox_->selectAll();
        return;
    }
    shared_.Password = passwordBox_->text();
    okClicked_ = true;
    accept();
}

void PasswordForm::Command2_Click() {
    reject();
}

void PasswordForm::Unload() {
    if (!okClicked_) {
        shared_.Password.clear();
    }
    // Nothing of the entry stays in the window's memory longer than needed.
    passwordBox_->clear();
    againBox_->clear();
}

}  // namespace solvena::dialogs
