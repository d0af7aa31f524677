// SPDX-License-Identifier: MIT
#include "dialogs/form2.h"

#include <QLabel>
#include <QPushButton>

#include "desktop/look.h"

namespace solvena::dialogs {
namespace {

using desktop::TwipsRect;

const QColor kAreaColour{192, 255, 255};
const QColor kBarColour{0, 255, 0};

}  // namespace

Form2::Form2(state::Module2& shared, QWidget* owner)
    : UnloadingDialog(owner, desktop::ToolFrame()), shared_(shared) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("進行状況表示計"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/progress.svg")));
    setModal(false);
    setFixedSize(desktop::Pixels(3744), desktop::Pixels(1416));
    desktop::SetBackground(this, desktop::kDialogBackground);

    auto* label1 = new QLabel(QStringLiteral("しばらくお待ちください・・・"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setGeometry(TwipsRect(120, 120, 3492, 252));
    label1->setFont(desktop::JapaneseFont(desktop::Face::Gothic, 10.2, true));

    progressArea_ = new QWidget(this);
    progressArea_->setObjectName(QStringLiteral("Picture1"));
    progressArea_->setGeometry(TwipsRect(0, 480, 3732, 372));
    desktop::SetBackground(progressArea_, kAreaColour);
    progressArea_->setAccessibleName(QStringLiteral("進行状況"));
    progressArea_->setAccessibleDescription(QStringLiteral("暗号化または解読の進み具合"));
    bar_ = new QWidget(progressArea_);
    bar_->setObjectName(QStringLiteral("Shape1"));
    bar_->setGeometry(TwipsRect(0, 0, 12, 372));
    desktop::SetBackground(bar_, kBarColour);

    auto* command1 = new QPushButton(QStringLiteral("キャンセル"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(TwipsRect(1320, 960, 1212, 372));
    command1->setCursor(desktop::HandCursor());
    desktop::SetButtonColour(command1, desktop::kPaleOrange);
    command1->setAccessibleName(QStringLiteral("キャンセル"));
    command1->setAccessibleDescription(QStringLiteral("止めて、文書を元のままにします"));
    connect(command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    Form_Load();
}

void Form2::Form_Load() {
    // The bar fills the area from top to bottom and starts 1 twip wide.
    bar_->resize(bar_->width(), progressArea_->height());
    SetShape1Width(1);
}

double Form2::Picture1ScaleWidth() const {
    return progressArea_->width() * desktop::kTwipsPerPixel;
}

void Form2::SetShape1Width(float twips) {
    barWidth_ = twips;
    const int pixels = desktop::Pixels(twips);
    if (pixels != bar_->width()) {
        bar_->resize(pixels, bar_->height());
    }
}

int Form2::Shape1Pixels() const {
    return bar_->width();
}

void Form2::Command1_Click() {
    close();
}

void Form2::Unload() {
    shared_.CipherPosition = shared_.CipherLength;
}

}  // namespace solvena::dialogs
