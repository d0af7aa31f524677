// SPDX-License-Identifier: MIT
#include "form11.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "look.h"
#include "pass_entry.h"
#include "platform.h"
#include "text_convert.h"

namespace solvena::dialogs {
namespace {

using platform::TwipsRect;

const QColor kOkColour{192, 255, 192};
constexpr int kEnter = 13;

}  // namespace

Form11::Form11(app::Module2& shared, platform::Platform& platform, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      shared_(shared),
      platform_(platform) {
    setObjectName(QStringLiteral("Form11"));
    setWindowTitle(QStringLiteral("パスナンバー入力画面"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    setModal(true);
    setFixedSize(platform::Pixels(4680), platform::Pixels(1500));
    platform::SetBackground(this, platform::kDialogBackground);

    label1_ = new QLabel(this);
    label1_->setObjectName(QStringLiteral("Label1"));
    label1_->setGeometry(TwipsRect(240, 120, 4215, 375));
    label1_->setAlignment(Qt::AlignCenter);
    label1_->setFont(platform::JapaneseFont(platform::Face::ProportionalGothic, 12, true));

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(TwipsRect(1320, 840, 1695, 375));
    // No composition: digits are typed as they are (full-width ones count too).
    text1_->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly | Qt::ImhNoPredictiveText);
    text1_->setAttribute(Qt::WA_InputMethodEnabled, false);
    text1_->installEventFilter(this);
    text1_->setAccessibleName(QStringLiteral("パスナンバー"));
    text1_->setAccessibleDescription(QStringLiteral("4 文字までの数字"));

    command1_ = new QPushButton(QStringLiteral("ＯＫ"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(3480, 840, 855, 375));
    command1_->setCursor(platform::HandCursor());
    command1_->setAutoDefault(false);
    platform::SetButtonColour(command1_, kOkColour);
    command1_->setAccessibleName(QStringLiteral("OK"));
    command1_->setAccessibleDescription(QStringLiteral("このパスナンバーで始めます"));
    command1_->hide();

    connect(text1_, &QLineEdit::textChanged, this, &Form11::Text1_Change);
    connect(command1_, &QPushButton::clicked, this, &Form11::Command1_Click);
    text1_->setFocus();
    Form_Load();
}

void Form11::Form_Load() {
    label1_->setText(QString::fromUtf16(kPassPrompt));
    okClicked_ = app::kFalse;
}

void Form11::Text1_Change() {
    const QString entry = text1_->text();
    if (entry.isEmpty()) {
        command1_->setAccessibleName(QStringLiteral("OK"));
        command1_->setAccessibleDescription(QStringLiteral("このパスナンバーで始めます"));
        command1_->hide();
        text1_->setFocus();
        label1_->setText(QString::fromUtf16(kPassPrompt));
        return;
    }
    const std::optional<std::int16_t> pass = cipher::ReadPassEntry(platform::ToU16View(entry));
    if (!pass) {
        // Not a number, more than four characters, or too large.
        platform_.Beep();
        text1_->setText(QString());
        label1_->setText(QString::fromUtf16(kPassRejected));
        return;
    }
    shared_.PassNumber = *pass;
    command1_->show();
}

bool Form11::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        int keyAscii = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ? kEnter : 0;
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
    okClicked_ = app::kTrue;
    accept();
}

void Form11::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void Form11::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    if (text1_->text().isEmpty() || okClicked_ == app::kFalse) {
        shared_.PassNumber = -1;
    }
}

}  // namespace solvena::dialogs
