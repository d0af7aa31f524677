// SPDX-License-Identifier: MIT
#include "dialogs/orla.h"

#include <QLabel>
#include <QPushButton>

#include "desktop/look.h"
#include "desktop/platform.h"

namespace solvena::dialogs {
namespace {

using desktop::Face;
using desktop::TwipsRect;

const QColor kTitleColour{0, 0, 255};

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(font);
    return label;
}

void Colour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace

QString Orla::VersionLine(int major, int minor, int revision) {
    return QStringLiteral("バージョン  %1.%2%3").arg(major).arg(minor).arg(revision);
}

Orla::Orla(QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("Orla"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    setModal(true);
    desktop::SetBackground(this, desktop::kDialogBackground);
    setFixedSize(desktop::Pixels(4680), desktop::Pixels(1656));

    QLabel* label1 =
        MakeLabel(this, "Label1", QStringLiteral("ソルベナⅡ"), TwipsRect(840, 120, 3732, 372),
                  desktop::JapaneseFont(Face::Gothic, 16.2, true));
    label1->setAlignment(Qt::AlignCenter);
    Colour(label1, kTitleColour);
    QLabel* label2 = MakeLabel(this, "Label2", QStringLiteral("for Windows 95/98"),
                               TwipsRect(1200, 480, 2895, 255),
                               desktop::JapaneseFont(Face::ProportionalGothic, 9.6, true));
    label2->setAlignment(Qt::AlignCenter);
    Colour(label2, kTitleColour);
    const QFont small = desktop::JapaneseFont(Face::Gothic, 9, true);
    versionLabel_ = MakeLabel(this, "Label3", QString(), TwipsRect(360, 840, 3375, 255), small);
    MakeLabel(this, "Label4", QStringLiteral("(C) 1999-2026 ソルベナ開発チーム"),
              TwipsRect(360, 1080, 3612, 252), small);
    MakeLabel(this, "Label5", QStringLiteral("完成日：１９９９年１月４日"),
              TwipsRect(360, 1320, 3132, 252), small);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(TwipsRect(240, 120, 432, 432));
    image1->setPixmap(QIcon(QStringLiteral(":/icons/solvena.svg")).pixmap(32, 32));
    image1->setScaledContents(true);
    image1->setToolTip(QStringLiteral(
        "「このプログラムによって生じるいかなる問題に対しても，開発者は責任を負いません」"));

    auto* command1 = new QPushButton(QStringLiteral("ＯＫ"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(TwipsRect(3960, 1200, 615, 375));
    command1->setCursor(desktop::HandCursor());
    desktop::SetButtonColour(command1, desktop::kPaleOrange);
    command1->setDefault(true);
    command1->setAccessibleName(QStringLiteral("OK"));
    command1->setAccessibleDescription(QStringLiteral("バージョン情報を閉じます"));
    command1->setFocus();
    connect(command1, &QPushButton::clicked, this, &Orla::Command1_Click);

    // Opened in the centre of the screen.
    desktop::CentreOnScreen(this);
    Form_Load();
}

void Orla::Form_Load() {
    const desktop::Version version = desktop::Platform::ProgramVersion();
    versionLabel_->setText(VersionLine(version.major, version.minor, version.revision));
}

void Orla::Command1_Click() {
    accept();
}

}  // namespace solvena::dialogs
