// SPDX-License-Identifier: MIT
#include "file_form.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "file_names.h"
#include "folder_lists.h"
#include "look.h"
#include "platform.h"

namespace solvena::filedialog {
namespace {

using platform::TwipsRect;

const QColor kButtonColour{192, 255, 192};
constexpr int kEnter = 13;

QCursor FilePointer() {
    return platform::CursorImage(QStringLiteral(":/cursors/file-pointer.svg"),
                                 QStringLiteral(":/cursors/file-pointer-32.png"), 1, 1,
                                 Qt::ArrowCursor);
}

// The key code a key press reports to the handlers: the character typed;
// 0 for keys that type nothing (arrows, function keys) and for Tab.
int KeyAscii(const QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return kEnter;
    }
    const QString text = event->text();
    if (text.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        return 0;
    }
    return text.at(0).unicode();
}

// Space, Enter and Return press a focused button.
bool PressesButton(const QKeyEvent* event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
           (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
            event->key() == Qt::Key_Enter);
}

// A key that puts a character into a text box: no Ctrl or Alt, no control
// character.
bool TypesText(const QKeyEvent* event) {
    const QString text = event->text();
    return !text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F &&
           (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) == 0;
}

}  // namespace

FileForm::FileForm(app::Module2& shared, platform::Platform& platform,
                   std::function<void(const QString&)> putInEditor, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      shared_(shared),
      platform_(platform),
      putInEditor_(std::move(putInEditor)) {
    setObjectName(QStringLiteral("FILE"));
    setWindowTitle(QStringLiteral("ファイル操作盤"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/file-dialog.svg")));
    setModal(true);
    // One row below the name box more than the Windows dialog had: the
    // 文字コード list.
    setFixedSize(platform::Pixels(5148), platform::Pixels(3708));
    platform::SetBackground(this, platform::kDialogBackground);

    label2_ = new QLabel(this);
    label2_->setObjectName(QStringLiteral("Label2"));
    label2_->setGeometry(TwipsRect(120, 120, 4932, 372));
    label2_->setFont(platform::JapaneseFont(platform::Face::Gothic, 12, true));
    label2_->setAlignment(Qt::AlignCenter);

    drive1_ = new DriveList(platform_, this);
    drive1_->setGeometry(TwipsRect(120, 600, 2412, 276));
    dir1_ = new FolderList(platform_, this);
    dir1_->setGeometry(TwipsRect(120, 960, 2412, 1704));
    file1_ = new FileList(platform_, this);
    file1_->setGeometry(TwipsRect(2640, 600, 2412, 2052));

    command2_ = new QPushButton(this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(TwipsRect(120, 2760, 492, 372));
    command2_->setToolTip(QStringLiteral("ファイルの形式"));
    command2_->setCursor(platform::HandCursor());

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(TwipsRect(720, 2760, 3372, 372));
    text1_->setFont(platform::JapaneseFont(platform::Face::ProportionalGothic, 10.2, false));
    // The input method starts in its Latin mode.
    text1_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);

    command1_ = new QPushButton(QStringLiteral("O K"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(TwipsRect(4200, 2760, 852, 372));
    command1_->setEnabled(false);
    for (QPushButton* button : {command1_, command2_}) {
        platform::SetButtonColour(button, kButtonColour);
        button->setAutoDefault(false);
    }
    for (QWidget* pointed : std::initializer_list<QWidget*>{command1_, drive1_, dir1_, file1_}) {
        pointed->setCursor(FilePointer());
    }
    for (QWidget* list : std::initializer_list<QWidget*>{drive1_, dir1_, file1_}) {
        list->setFont(platform::JapaneseFont(platform::Face::ProportionalGothic, 9, false));
    }

    BuildFormatRow();
    const std::pair<QWidget*, std::pair<const char16_t*, const char16_t*>> names[] = {
        {drive1_, {u"ドライブ", u"フォルダのあるドライブ"}},
        {dir1_, {u"フォルダ", u"ファイルのあるフォルダ"}},
        {file1_, {u"ファイル", u"フォルダの txt と zkt のファイル"}},
        {text1_, {u"ファイル名", u"ファイルの名前またはパス"}},
        {command1_, {u"OK", u"読み込むか保存します"}},
        {command2_, {u"ファイルの形式", u"拡張子のない名前に付ける形式 (zkt または txt)"}},
    };
    for (const auto& [control, text] : names) {
        control->setAccessibleName(QString::fromUtf16(text.first));
        control->setAccessibleDescription(QString::fromUtf16(text.second));
    }

    // Tab order: the drive list first.
    QWidget::setTabOrder(drive1_, file1_);
    QWidget::setTabOrder(file1_, dir1_);
    QWidget::setTabOrder(dir1_, command1_);
    QWidget::setTabOrder(command1_, text1_);
    QWidget::setTabOrder(text1_, combo1_);
    QWidget::setTabOrder(combo1_, command2_);

    connect(command1_, &QPushButton::clicked, this, &FileForm::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &FileForm::Command2_Click);
    // Choosing the drive already shown changes nothing.
    connect(drive1_, &QComboBox::activated, this, [this] {
        if (drive1_->Drive() != shownDrive_) {
            Drive1_Change();
        }
    });
    connect(dir1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const QString folder = dir1_->FolderAt(item);
        if (folder.isEmpty() || folder == dir1_->Path()) {
            return;
        }
        if (dir1_->SetPath(folder)) {
            Dir1_Change();
        } else {
            platform_.Notify(this, QStringLiteral("%1 を開けません。").arg(folder));
        }
    });
    connect(file1_, &QListWidget::itemDoubleClicked, this, &FileForm::File1_DblClick);
    connect(text1_, &QLineEdit::textChanged, this, &FileForm::Text1_Change);
    // Key presses (key preview) and mouse releases reach the handlers
    // through the filter, on the controls that take the focus.
    // The 文字コード list keeps its own keys: typing picks an entry.
    for (QWidget* control :
         std::initializer_list<QWidget*>{drive1_, dir1_, file1_, command1_, text1_, command2_}) {
        control->installEventFilter(this);
    }
    file1_->viewport()->installEventFilter(this);
    Form_Load();
}

void FileForm::Form_Load() {
    if (shared_.FileMode == app::kFileModeOpen) {
        text1_->setText(QString());
        label2_->setText(QStringLiteral("読み込むファイルを指定してください"));
        command2_->hide();
    } else {
        text1_->setText(QStringLiteral("Newname"));
        label2_->setText(QStringLiteral("保存する名前を入力してください"));
        command2_->show();
        command2_->setText(QString::fromLatin1(kZkt));
    }
    file1_->setEnabled(true);
    // The lists start at the process's current folder, which the dialog
    // never changes.
    const QString here = platform_.CurrentFolder();
    drive1_->ChooseVolumeOf(here);
    shownDrive_ = drive1_->Drive();
    if (!dir1_->SetPath(here)) {
        dir1_->SetPath(drive1_->Drive());
    }
    file1_->SetPath(dir1_->Path());
    ShowFormatChoices();
    EnableFormatList();
    drive1_->setFocus();
}

bool FileForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && watched != file1_->viewport()) {
        auto* key = static_cast<QKeyEvent*>(event);
        auto* button = qobject_cast<QPushButton*>(watched);
        if (button != nullptr && PressesButton(key)) {
            // A focused button is pressed by Space (on its release, as the
            // button does itself) or Enter, not left for the name box.
            if (key->key() != Qt::Key_Space) {
                button->click();
                return true;
            }
            return QDialog::eventFilter(watched, event);
        }
        int keyAscii = KeyAscii(key);
        if (keyAscii != 0) {
            // Key preview: the form sees the key before the control does.
            const bool elsewhere = watched != text1_;
            Form_KeyPress(keyAscii);
            if (elsewhere && TypesText(key)) {
                // The key that moved the focus goes into the name box as
                // typed, over its selected text.
                text1_->selectAll();
                QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), key->text(),
                                key->isAutoRepeat(), static_cast<ushort>(key->count()));
                QCoreApplication::sendEvent(text1_, &typed);
                return true;
            }
            if (!elsewhere) {
                Text1_KeyPress(keyAscii);
            }
            if (keyAscii == 0) {
                return true;
            }
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == file1_->viewport()) {
            File1_MouseUp();
        } else if (watched == text1_) {
            Text1_Click();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void FileForm::Form_KeyPress(int&) {
    text1_->setFocus();
}

void FileForm::Text1_KeyPress(int& keyAscii) {
    if (keyAscii == kEnter) {
        keyAscii = 0;
        Command1_Click();
    }
}

void FileForm::Text1_Change() {
    command1_->setEnabled(!text1_->text().isEmpty());
    EnableFormatList();
}

void FileForm::Text1_Click() {
    if (shared_.FileMode == app::kFileModeSave) {
        text1_->setFocus();
        text1_->selectAll();
    }
}

void FileForm::Command2_Click() {
    command2_->setText(QString::fromLatin1(command2_->text() == QLatin1String(kZkt) ? kTxt : kZkt));
    EnableFormatList();
}

void FileForm::Drive1_Change() {
    shownDrive_ = drive1_->Drive();
    if (dir1_->SetPath(drive1_->Drive())) {
        Dir1_Change();
        return;
    }
    platform_.Notify(this, QStringLiteral("ファイルがありません｡再度設定してください"));
    // Back to the first volume, the root; the list's change follows.
    drive1_->setCurrentIndex(0);
    shownDrive_ = drive1_->Drive();
    if (dir1_->SetPath(drive1_->Drive())) {
        Dir1_Change();
    }
}

void FileForm::Dir1_Change() {
    file1_->SetPath(dir1_->Path());
    Text1_Click();
}

void FileForm::File1_MouseUp() {
    const QString name = file1_->FileName();
    if (name.isEmpty()) {
        return;
    }
    text1_->setText(shared_.FileMode == app::kFileModeOpen ? JoinPath(file1_->Path(), name) : name);
    text1_->setFocus();
    text1_->setCursorPosition(static_cast<int>(text1_->text().size()));
}

void FileForm::File1_DblClick() {
    if (shared_.FileMode == app::kFileModeOpen && !file1_->FileName().isEmpty()) {
        text1_->setText(JoinPath(file1_->Path(), file1_->FileName()));
        Command1_Click();
    }
}

void FileForm::Command1_Click() {
    if (shared_.FileMode == app::kFileModeOpen) {
        OpenOk();
    } else {
        SaveOk();
    }
}

void FileForm::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void FileForm::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    putInEditor_(shared_.DocText);
    shared_.FilePath.clear();
}

}  // namespace solvena::filedialog
