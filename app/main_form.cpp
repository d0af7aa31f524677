// SPDX-License-Identifier: MIT
#include "app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "app/editor_box.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "dialogs/form11.h"
#include "dialogs/orla.h"
#include "dialogs/pass_finder.h"
#include "dialogs/password_form.h"

namespace solvena::app {
namespace {

using desktop::Pixels;
using desktop::TwipsRect;

const QColor kEncipherColour{255, 224, 192};
const QColor kWindowColour{192, 192, 192};

// The client area at start, in twips.
constexpr int kClientWidth = 4740;
constexpr int kClientHeight = 3696;
// The editor's place at start; the resize rule keeps its corner.
constexpr QRect kEditorPlace = TwipsRect(0, 600, 4695, 2532);
// The cipher buttons' height, in twips.
constexpr int kCipherButtonHeight = 375;

// The resize rule's figures, in pixels of the inner size: below this height
// nothing moves; the editor leaves this much room below it; the cipher
// buttons stand this far above the bottom, at these fractions of the width;
// Help and Exit stand this far left of the right edge.
constexpr double kLowestLaidOut = 65;
constexpr double kBelowEditor = 92;
constexpr double kCipherButtonsUp = 35;
constexpr double kEncipherLeft = 0.1;
constexpr double kDecipherLeft = 0.6;
constexpr double kCipherButtonWidth = 0.3;
constexpr double kHelpFromRight = 115;
constexpr double kExitFromRight = 55;
// The button bar in twips: the Save button's left edge, the buttons' width
// and the gap between two of them.
constexpr int kSaveButtonLeft = 1440;
constexpr int kBarButtonWidth = 615;
constexpr int kSaveButtonRight = kSaveButtonLeft + kBarButtonWidth;
constexpr int kButtonGap = 720 - kBarButtonWidth;

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
    button->setCursor(desktop::HandCursor());
    desktop::SetButtonColour(button, kWindowColour);
    return button;
}

QPushButton* CipherButton(QWidget* parent, const char* name, const QString& caption,
                          const QString& tip, const QString& description, int twipsLeft) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(TwipsRect(twipsLeft, 3240, 1332, kCipherButtonHeight));
    button->setToolTip(tip);
    button->setCursor(desktop::HandCursor());
    button->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 10.5, false));
    button->setAccessibleDescription(description);
    return button;
}

}  // namespace

std::optional<ResizedLayout> ResizeRule(double width, double height, bool minimized) {
    if (minimized || height <= kLowestLaidOut) {
        return std::nullopt;
    }
    ResizedLayout layout;
    const int buttonHeight = Pixels(kCipherButtonHeight);
    const int buttonTop = Place(height - kCipherButtonsUp);
    const int buttonWidth = Place(width * kCipherButtonWidth);
    // A height that would be negative becomes 0.
    layout.editor = QRect(kEditorPlace.left(), kEditorPlace.top(), Place(width),
                          std::max(0, Place(height - kBelowEditor)));
    layout.encipherButton =
        QRect(Place(width * kEncipherLeft), buttonTop, buttonWidth, buttonHeight);
    layout.decipherButton =
        QRect(Place(width * kDecipherLeft), buttonTop, buttonWidth, buttonHeight);
    layout.helpButtonLeft = Place(width - kHelpFromRight);
    layout.exitButtonLeft = Place(width - kExitFromRight);
    return layout;
}

MainForm::MainForm(state::Module2& shared, desktop::Platform& platform)
    : shared_(shared), platform_(platform) {
    shared_.showPassNumberDialog = [this] {
        dialogs::Form11 dialog(shared_, platform_, this);
        dialog.exec();
    };
    shared_.showPasswordDialog = [this] {
        // Over the file dialog when that asks.
        QWidget* over = QApplication::activeModalWidget();
        dialogs::PasswordForm dialog(shared_, platform_, over != nullptr ? over : this);
        dialog.exec();
    };
    setObjectName(QStringLiteral("メイン"));
    setWindowTitle(QStringLiteral("ソルベナ"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    desktop::SetBackground(this, kWindowColour);
    resize(Pixels(kClientWidth), Pixels(kClientHeight));
    BuildButtonBar();
    BuildEditor();
    BuildCipherButtons();
    SetTabOrder();
    ConnectHandlers();
    BindKeys();
    BindFindKeys();
    setAcceptDrops(true);
    SetMinimumSize();
}

void MainForm::SetMinimumSize() {
    // As small as the resize rule keeps every control whole: Help to the
    // right of Save, the editor two rows high, and so the cipher buttons
    // below the editor, wide enough for their captions.
    const int width = Pixels(kSaveButtonRight + kButtonGap) + static_cast<int>(kHelpFromRight);
    const int rows = 2 * editor_->fontMetrics().lineSpacing() + 2 * editor_->frameWidth() +
                     2 * static_cast<int>(editor_->document()->documentMargin());
    setMinimumSize(width, static_cast<int>(kBelowEditor) + rows);
}

MainForm::~MainForm() = default;

void MainForm::BuildButtonBar() {
    buttonBar_ = new QWidget(this);
    buttonBar_->setObjectName(QStringLiteral("PicTaskBar"));
    buttonBar_->setGeometry(TwipsRect(0, 0, kClientWidth, 540));
    desktop::SetBackground(buttonBar_, kWindowColour);

    // Each tooltip also names the button's key.
    openButton_ = ImageButton(buttonBar_, "Command6", QStringLiteral("開く"),
                              QStringLiteral("ファイルを開く (Ctrl+O)"),
                              QStringLiteral(":/icons/open.svg"), 32, TwipsRect(0, 0, 615, 495));
    newButton_ = ImageButton(buttonBar_, "Command9", QStringLiteral("新規作成"),
                             QStringLiteral("新規作成 (Ctrl+N)"), QStringLiteral(":/icons/new.svg"),
                             32, TwipsRect(720, 0, 615, 495));
    saveButton_ = ImageButton(buttonBar_, "Command7", QStringLiteral("保存"),
                              QStringLiteral("保存 (Ctrl+S)"), QStringLiteral(":/icons/save.svg"),
                              32, TwipsRect(kSaveButtonLeft, 0, kBarButtonWidth, 495));
    helpButton_ = ImageButton(buttonBar_, "Command10", QStringLiteral("ヘルプ"),
                              QStringLiteral("ヘルプ (F1)"), QStringLiteral(":/icons/help.svg"), 32,
                              TwipsRect(3360, 0, 615, 495));
    exitButton_ = ImageButton(buttonBar_, "Command11", QStringLiteral("終了"),
                              QStringLiteral("終了 (Ctrl+Q)"), QStringLiteral(":/icons/exit.svg"),
                              16, TwipsRect(4080, 0, 615, 495));
}

void MainForm::BuildEditor() {
    editor_ = new EditorBox(this);
    editor_->setAccessibleName(QStringLiteral("文書"));
    editor_->setAccessibleDescription(QStringLiteral("暗号化または解読する文書"));
    editor_->setGeometry(kEditorPlace);
    editor_->setFont(desktop::JapaneseFont(desktop::Face::Gothic, 10.5, false));
}

void MainForm::BuildCipherButtons() {
    encipherButton_ =
        CipherButton(this, "Command1", QStringLiteral("暗号化"), QStringLiteral("暗号化 (Ctrl+E)"),
                     QStringLiteral("文書全体をパスナンバーで暗号化します"), 120);
    decipherButton_ =
        CipherButton(this, "Command2", QStringLiteral("解読"), QStringLiteral("解読 (Ctrl+D)"),
                     QStringLiteral("暗号化された文書をパスナンバーで解読します"), 3120);
    desktop::SetButtonColour(encipherButton_, kEncipherColour);
    desktop::SetButtonColour(decipherButton_, desktop::kPaleGreen);
}

void MainForm::SetTabOrder() {
    // The cipher buttons first, the editor last.
    desktop::SetTabChain({encipherButton_, decipherButton_, openButton_, saveButton_, newButton_,
                          helpButton_, exitButton_, editor_});
}

void MainForm::ConnectHandlers() {
    connect(editor_, &EditorBox::Changed, this, [this](bool byPerson) {
        changedByPerson_ = byPerson;
        Text1_Change();
    });
    // The editor tells an undo's or a paste's change of this after the
    // change itself.
    connect(editor_->document(), &QTextDocument::modificationChanged, this, [this](bool modified) {
        shared_.SetDocumentChanged(!editor_->IsEmpty() && changeCount_ > 1 && modified);
    });
    connect(encipherButton_, &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(decipherButton_, &QPushButton::clicked, this, &MainForm::Command2_Click);
    connect(openButton_, &QPushButton::clicked, this, &MainForm::Command6_Click);
    connect(saveButton_, &QPushButton::clicked, this, &MainForm::Command7_Click);
    connect(newButton_, &QPushButton::clicked, this, &MainForm::Command9_Click);
    connect(helpButton_, &QPushButton::clicked, this, &MainForm::Command10_Click);
    connect(exitButton_, &QPushButton::clicked, this, &MainForm::Command11_Click);
}

void MainForm::BindKeys() {
    // The keys press their buttons, so they run exactly the buttons'
    // handlers and do nothing while a button is disabled (during a run).
    // Qt's standard Quit key is empty on some desktops: Ctrl+Q is set here.
    const std::pair<QKeySequence, QPushButton*> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_N), newButton_},
        {QKeySequence(Qt::CTRL | Qt::Key_O), openButton_},
        {QKeySequence(Qt::CTRL | Qt::Key_S), saveButton_},
        {QKeySequence(Qt::CTRL | Qt::Key_Q), exitButton_},
        {QKeySequence(Qt::Key_F1), helpButton_},
        {QKeySequence(Qt::CTRL | Qt::Key_E), encipherButton_},
        {QKeySequence(Qt::CTRL | Qt::Key_D), decipherButton_},
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
}

bool MainForm::Form_Load() {
    QString notice;
    if (!ReadCommandLine(notice)) {
        return false;
    }
    SetCipherButtons(false, false);
    // Opened centred on the screen.
    desktop::CentreOnScreen(this);
    show();
    editor_->setFocus();
    editor_->SetText(shared_.DocText);
    if (!notice.isEmpty()) {
        platform_.Notify(this, notice);
    }
    OfferRecovery();
    return true;
}

void MainForm::SetCipherButtons(bool enabled, bool coloured) {
    encipherButton_->setEnabled(enabled);
    decipherButton_->setEnabled(enabled);
    desktop::SetButtonColour(encipherButton_, coloured ? kEncipherColour : kWindowColour);
    desktop::SetButtonColour(decipherButton_, coloured ? desktop::kPaleGreen : kWindowColour);
}

void MainForm::Text1_Change() {
    // Only 0, 1 and more matter; the count stops rather than wrap.
    if (changeCount_ < INT16_MAX) {
        ++changeCount_;
    }
    if (editor_->IsEmpty()) {
        SetCipherButtons(false, false);
        shared_.SetDocumentChanged(false);
        changeCount_ = 0;
    } else {
        SetCipherButtons(true, true);
        // What a person puts into an empty editor is a change like any
        // other: a paste or an input-method commit may bring a whole text.
        // Only the program's filling of an empty editor is no edit.
        if (changedByPerson_ && changeCount_ < 2) {
            changeCount_ = 2;
        }
        // A changed text the program put there afresh is one no file holds;
        // a person's Ctrl+Z back to the text its file holds is no change.
        QTextDocument& document = *editor_->document();
        if (!changedByPerson_ && changeCount_ > 1 && !document.isUndoAvailable()) {
            editor_->MarkUnsaved();
        }
        shared_.SetDocumentChanged(changeCount_ > 1 && document.isModified());
    }
    ForgetRecoveryIfSettled();
}

void MainForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The button bar is docked along the top, always as wide as the window.
    buttonBar_->resize(width(), buttonBar_->height());
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
    editor_->setGeometry(layout->editor);
    encipherButton_->setGeometry(layout->encipherButton);
    decipherButton_->setGeometry(layout->decipherButton);
    helpButton_->move(layout->helpButtonLeft, helpButton_->y());
    exitButton_->move(layout->exitButtonLeft, exitButton_->y());
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
