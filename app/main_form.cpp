// SPDX-License-Identifier: MIT
#include "main_form.h"

#include <QCloseEvent>
#include <QIcon>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "editor_box.h"
#include "file_messages.h"
#include "form11.h"
#include "format_choices.h"
#include "look.h"
#include "orla.h"
#include "platform.h"

namespace solvena::app {
namespace {

using platform::Pixels;
using platform::TwipsRect;

const QColor kEncipherColour{255, 224, 192};
const QColor kDecipherColour{192, 255, 192};
const QColor kWindowColour{192, 192, 192};

// The client area at start, in twips.
constexpr int kClientWidth = 4740;
constexpr int kClientHeight = 3696;

// Products of the resize rule are kept in single precision, then placed on
// whole pixels.
int Place(double value) {
    return static_cast<int>(std::lround(static_cast<float>(value)));
}

// `spoken`: what a screen reader says for the button, which has no caption.
QPushButton* ImageButton(QWidget* parent, const char* name, const QString& spoken,
                         const QString& tip, const QString& icon, int iconSize,
                         const QRect& twipsGeometry) {
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setAccessibleName(spoken);
    button->setAccessibleDescription(tip);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setGeometry(twipsGeometry);
    button->setCursor(platform::HandCursor());
    platform::SetButtonColour(button, kWindowColour);
    return button;
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ');
}

QString TrimBlanks(const QString& text) {
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && IsBlank(text[start])) {
        ++start;
    }
    while (end > start && IsBlank(text[end - 1])) {
        --end;
    }
    return text.mid(start, end - start);
}

}  // namespace

bool HasDocumentEnding(const QString& path) {
    const QString last = path.right(3);
    return last == QLatin1String("txt") || last == QLatin1String("TXT") ||
           last == QLatin1String("ZKT") || last == QLatin1String("zkt");
}

std::optional<ResizedLayout> ResizeRule(double width, double height, bool minimized) {
    if (minimized || height <= 65) {
        return std::nullopt;
    }
    ResizedLayout layout;
    const QRect text1 = TwipsRect(0, 600, 4695, 2532);
    const int buttonHeight = Pixels(375);
    // A height that would be negative becomes 0.
    layout.text1 = QRect(text1.left(), text1.top(), Place(width), std::max(0, Place(height - 92)));
    layout.command1 =
        QRect(Place(width * 0.1), Place(height - 35), Place(width * 0.3), buttonHeight);
    layout.command2 =
        QRect(Place(width * 0.6), Place(height - 35), Place(width * 0.3), buttonHeight);
    layout.command10Left = Place(width - 115);
    layout.command11Left = Place(width - 55);
    return layout;
}

MainForm::MainForm(Module2& shared, platform::Platform& platform)
    : shared_(shared), platform_(platform) {
    shared_.showPassNumberDialog = [this] {
        dialogs::Form11 dialog(shared_, platform_, this);
        dialog.exec();
    };
    setObjectName(QStringLiteral("メイン"));
    setWindowTitle(QStringLiteral("ソルベナ"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    platform::SetBackground(this, kWindowColour);
    resize(Pixels(kClientWidth), Pixels(kClientHeight));
    BuildControls();
}

MainForm::~MainForm() = default;

void MainForm::BuildControls() {
    picTaskBar_ = new QWidget(this);
    picTaskBar_->setObjectName(QStringLiteral("PicTaskBar"));
    picTaskBar_->setGeometry(TwipsRect(0, 0, 4740, 540));
    platform::SetBackground(picTaskBar_, kWindowColour);

    // Each tooltip also names the button's key.
    command6_ = ImageButton(picTaskBar_, "Command6", QStringLiteral("開く"),
                            QStringLiteral("ファイルを開く (Ctrl+O)"),
                            QStringLiteral(":/icons/open.svg"), 32, TwipsRect(0, 0, 615, 495));
    command9_ = ImageButton(picTaskBar_, "Command9", QStringLiteral("新規作成"),
                            QStringLiteral("新規作成 (Ctrl+N)"), QStringLiteral(":/icons/new.svg"),
                            32, TwipsRect(720, 0, 615, 495));
    command7_ = ImageButton(picTaskBar_, "Command7", QStringLiteral("保存"),
                            QStringLiteral("保存 (Ctrl+S)"), QStringLiteral(":/icons/save.svg"), 32,
                            TwipsRect(1440, 0, 615, 495));
    command10_ = ImageButton(picTaskBar_, "Command10", QStringLiteral("ヘルプ"),
                             QStringLiteral("ヘルプ (F1)"), QStringLiteral(":/icons/help.svg"), 32,
                             TwipsRect(3360, 0, 615, 495));
    command11_ = ImageButton(picTaskBar_, "Command11", QStringLiteral("終了"),
                             QStringLiteral("終了 (Ctrl+Q)"), QStringLiteral(":/icons/exit.svg"),
                             16, TwipsRect(4080, 0, 615, 495));

    text1_ = new EditorBox(this);
    text1_->setAccessibleName(QStringLiteral("文書"));
    text1_->setAccessibleDescription(QStringLiteral("暗号化または解読する文書"));
    text1_->setGeometry(TwipsRect(0, 600, 4695, 2532));
    text1_->setFont(platform::JapaneseFont(platform::Face::Gothic, 10.5, false));

    command1_ = new QPushButton(QStringLiteral("暗号化"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(120, 3240, 1332, 375));
    command2_ = new QPushButton(QStringLiteral("解読"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(TwipsRect(3120, 3240, 1332, 375));
    command1_->setToolTip(QStringLiteral("暗号化 (Ctrl+E)"));
    command2_->setToolTip(QStringLiteral("解読 (Ctrl+D)"));
    for (QPushButton* button : {command1_, command2_}) {
        button->setCursor(platform::HandCursor());
        button->setFont(platform::JapaneseFont(platform::Face::ProportionalGothic, 10.5, false));
    }
    command1_->setAccessibleDescription(QStringLiteral("文書全体をパスナンバーで暗号化します"));
    command2_->setAccessibleDescription(
        QStringLiteral("暗号化された文書をパスナンバーで解読します"));
    platform::SetButtonColour(command1_, kEncipherColour);
    platform::SetButtonColour(command2_, kDecipherColour);

    // Tab order: the cipher buttons first, the editor last.
    QWidget::setTabOrder(command1_, command2_);
    QWidget::setTabOrder(command2_, command6_);
    QWidget::setTabOrder(command6_, command7_);
    QWidget::setTabOrder(command7_, command9_);
    QWidget::setTabOrder(command9_, command10_);
    QWidget::setTabOrder(command10_, command11_);
    QWidget::setTabOrder(command11_, text1_);

    connect(text1_, &EditorBox::Changed, this, [this](bool byPerson) {
        changedByPerson_ = byPerson;
        Text1_Change();
    });
    connect(command1_, &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &MainForm::Command2_Click);
    connect(command6_, &QPushButton::clicked, this, &MainForm::Command6_Click);
    connect(command7_, &QPushButton::clicked, this, &MainForm::Command7_Click);
    connect(command9_, &QPushButton::clicked, this, &MainForm::Command9_Click);
    connect(command10_, &QPushButton::clicked, this, &MainForm::Command10_Click);
    connect(command11_, &QPushButton::clicked, this, &MainForm::Command11_Click);
    // The keys press their buttons, so they run exactly the buttons'
    // handlers and do nothing while a button is disabled (during a run).
    // Qt's standard Quit key is empty on some desktops: Ctrl+Q is set here.
    const std::pair<QKeySequence, QPushButton*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), command9_},
        {QKeySequence(Qt::CTRL | Qt::Key_O), command6_},
        {QKeySequence(Qt::CTRL | Qt::Key_S), command7_},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), command11_},
        {QKeySequence(Qt::Key_F1), command10_},
        {QKeySequence(Qt::CTRL | Qt::Key_E), command1_},
        {QKeySequence(Qt::CTRL | Qt::Key_D), command2_},
    };
    for (const auto& [key, pressed] : keys) {
        auto* shortcut = new QShortcut(key, this);
        QPushButton* button = pressed;
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled()) {
                button->click();
            }
        });
    }
    setAcceptDrops(true);
}

bool MainForm::ReadCommandLine(QString& notice) {
    // One document at a time: the first argument; a name with blanks is
    // one argument, quoted by the shell.
    const QStringList documents = platform_.DocumentArguments();
    QString path = documents.isEmpty() ? QString() : TrimBlanks(documents.first());
    if (path == QLatin1String("\"")) {
        // A lone quote would leave a negative length: no file.
        path.clear();
    } else if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) &&
               path.endsWith(QLatin1Char('"'))) {
        path = path.mid(1, path.size() - 2);
    }
    if (path.isEmpty()) {
        return true;
    }
    if (!HasDocumentEnding(path)) {
        // Started from a desktop there is no terminal to read the line.
        platform_.Complain(QStringLiteral("%1: not a txt or zkt document file")
                               .arg(platform::Platform::ShownName(path)));
        platform_.Notify(nullptr, QStringLiteral("%1 は開けません。\n開けるのは txt と zkt "
                                                 "のファイルです。")
                                      .arg(path));
        return false;
    }
    if (!platform_.ArgumentsExact()) {
        // The name as Qt holds it is another name: no file is opened under it.
        notice = QStringLiteral(
            "コマンドラインのファイル名を読み取れません"
            "（システムの文字コードにない文字があります）。");
        platform_.Complain(QStringLiteral("%1: the file name is not valid in this system's "
                                          "encoding; nothing is opened")
                               .arg(platform::Platform::ShownName(path)));
        return true;
    }
    if (documents.size() > 1) {
        notice = QStringLiteral("一度に開ける文書は一つだけです。%1 を開きました。").arg(path);
    }
    shared_.DocText.clear();
    shared_.FilePath = path;
    if (platform_.FileExists(path)) {
        files::Result<platform::ReadDocumentResult> read = platform_.ReadDocument(path);
        if (read) {
            shared_.DocText = std::move(read.value().text);
            // A zkt file's text is ASCII: the document keeps the new one's form.
            if (!filedialog::NamesZktFile(path)) {
                shared_.DocFormat = read.value().format;
            }
        } else {
            notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                      platform::DescribeReadError(read.error());
        }
    }
    return true;
}

bool MainForm::Form_Load() {
    QString notice;
    if (!ReadCommandLine(notice)) {
        return false;
    }
    SetCipherButtons(false, false);
    // Opened centred on the screen.
    platform::CentreOnScreen(this);
    show();
    text1_->setFocus();
    text1_->SetText(shared_.DocText);
    if (!notice.isEmpty()) {
        platform_.Notify(this, notice);
    }
    OfferRecovery();
    return true;
}

void MainForm::SetCipherButtons(bool enabled, bool coloured) {
    command1_->setEnabled(enabled);
    command2_->setEnabled(enabled);
    platform::SetButtonColour(command1_, coloured ? kEncipherColour : kWindowColour);
    platform::SetButtonColour(command2_, coloured ? kDecipherColour : kWindowColour);
}

void MainForm::Text1_Change() {
    // Only 0, 1 and more matter; the count stops rather than wrap.
    if (changeCount_ < INT16_MAX) {
        ++changeCount_;
    }
    if (text1_->IsEmpty()) {
        SetCipherButtons(false, false);
        shared_.DocChanged = kFalse;
        changeCount_ = 0;
    } else {
        SetCipherButtons(true, true);
        // What a person puts into an empty editor is a change like any
        // other: a paste or an input-method commit may bring a whole text.
        // Only the program's filling of an empty editor is no edit.
        if (changedByPerson_ && changeCount_ < 2) {
            changeCount_ = 2;
        }
        shared_.DocChanged = changeCount_ > 1 ? kTrue : kFalse;
    }
    ForgetRecoveryIfSettled();
}

void MainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The button bar is docked along the top, always as wide as the window.
    picTaskBar_->resize(width(), picTaskBar_->height());
    Form_Resize();
}

void MainForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        Form_Resize();
    }
}

void MainForm::Form_Resize() {
    const std::optional<ResizedLayout> layout = ResizeRule(width(), height(), isMinimized());
    if (!layout) {
        return;
    }
    text1_->setGeometry(layout->text1);
    command1_->setGeometry(layout->command1);
    command2_->setGeometry(layout->command2);
    command10_->move(layout->command10Left, command10_->y());
    command11_->move(layout->command11Left, command11_->y());
}

void MainForm::Command10_Click() {
    dialogs::Orla about(this);
    about.exec();
}

void MainForm::Command11_Click() {
    close();
}

void MainForm::closeEvent(QCloseEvent* event) {
    if (running_) {
        // The run stops at its next yield point; the window then closes as
        // it would have without the run.
        cancelRequested_ = true;
        closeAfterRun_ = true;
        event->ignore();
        return;
    }
    if (Form_Unload()) {
        event->ignore();
    } else {
        // Saved or given up: a recovered text is settled either way.
        ForgetRecovery();
        event->accept();
    }
}

}  // namespace solvena::app
