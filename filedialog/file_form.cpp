// SPDX-License-Identifier: MIT
#include "filedialog/file_form.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

#include "desktop/key_ascii.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "document/file_words.h"
#include "filedialog/file_names.h"
#include "filedialog/folder_lists.h"

namespace solvena::filedialog {
namespace {

using desktop::TwipsRect;

using desktop::kEnter;

QCursor FilePointer() {
    return desktop::CursorImage(QStringLiteral(":/cursors/file-pointer.svg"),
                                QStringLiteral(":/cursors/file-pointer-32.png"), 1, 1,
                                Qt::ArrowCursor);
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

FileForm::FileForm(state::Module2& shared, desktop::Platform& platform,
                   std::function<void(const QString&)> putInEditor, QWidget* owner)
    : UnloadingDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
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
    setFixedSize(desktop::Pixels(5148), desktop::Pixels(3708));
    desktop::SetBackground(this, desktop::kDialogBackground);
    BuildLists();
    BuildNameRow();
    BuildFormatRow();
    DescribeControls();
    SetTabOrder();
    ConnectHandlers();
    Form_Load();
}

void FileForm::BuildLists() {
    promptLabel_ = new QLabel(this);
    promptLabel_->setObjectName(QStringLiteral("Label2"));
    promptLabel_->setGeometry(TwipsRect(120, 120, 4932, 372));
    promptLabel_->setFont(desktop::JapaneseFont(desktop::Face::Gothic, 12, true));
    promptLabel_->setAlignment(Qt::AlignCenter);

    driveList_ = new DriveList(platform_, this);
    driveList_->setGeometry(TwipsRect(120, 600, 2412, 276));
    folderList_ = new FolderList(platform_, this);
    folderList_->setGeometry(TwipsRect(120, 960, 2412, 1704));
    fileList_ = new FileList(platform_, this);
    fileList_->setGeometry(TwipsRect(2640, 600, 2412, 2052));
    for (QWidget* list : std::initializer_list<QWidget*>{driveList_, folderList_, fileList_}) {
        list->setCursor(FilePointer());
        list->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 9, false));
    }
}

void FileForm::BuildNameRow() {
    fileTypeButton_ = new QPushButton(this);
    fileTypeButton_->setObjectName(QStringLiteral("Command2"));
    fileTypeButton_->setGeometry(TwipsRect(120, 2760, 492, 372));
    fileTypeButton_->setToolTip(QStringLiteral("ファイルの形式"));
    fileTypeButton_->setCursor(desktop::HandCursor());

    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName(QStringLiteral("Text1"));
    nameBox_->setGeometry(TwipsRect(720, 2760, 3372, 372));
    nameBox_->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 10.2, false));
    // The input method starts in its Latin mode.
    nameBox_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);

    okButton_ = new QPushButton(QStringLiteral("O K"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    okButton_->setGeometry(TwipsRect(4200, 2760, 852, 372));
    okButton_->setEnabled(false);
    okButton_->setCursor(FilePointer());
    for (QPushButton* button : {okButton_, fileTypeButton_}) {
        desktop::SetButtonColour(button, desktop::kPaleGreen);
        button->setAutoDefault(false);
    }
}

void FileForm::DescribeControls() {
    const std::pair<QWidget*, std::pair<const char16_t*, const char16_t*>> names[] = {
        {driveList_, {u"ドライブ", u"フォルダのあるドライブ"}},
        {folderList_, {u"フォルダ", u"ファイルのあるフォルダ"}},
        {fileList_, {u"ファイル", u"フォルダの txt と zkt と OpenPGP のファイル"}},
        {nameBox_, {u"ファイル名", u"ファイルの名前またはパス"}},
        {okButton_, {u"OK", u"読み込むか保存します"}},
        {fileTypeButton_,
         {u"ファイルの形式", u"拡張子のない名前に付ける形式 (zkt、txt または OpenPGP の gpg)"}},
    };
    for (const auto& [control, text] : names) {
        control->setAccessibleName(QString::fromUtf16(text.first));
        control->setAccessibleDescription(QString::fromUtf16(text.second));
    }
}

void FileForm::SetTabOrder() {
    // The drive list first.
    desktop::SetTabChain(
        {driveList_, fileList_, folderList_, okButton_, nameBox_, encodingList_, fileTypeButton_});
}

void FileForm::ConnectHandlers() {
    connect(okButton_, &QPushButton::clicked, this, &FileForm::Command1_Click);
    connect(fileTypeButton_, &QPushButton::clicked, this, &FileForm::Command2_Click);
    // Choosing the drive already shown changes nothing.
    connect(driveList_, &QComboBox::activated, this, [this] {
        if (driveList_->Drive() != shownDrive_) {
            Drive1_Change();
        }
    });
    connect(folderList_, &QListWidget::itemDoubleClicked, this, &FileForm::EnterFolder);
    connect(fileList_, &QListWidget::itemDoubleClicked, this, &FileForm::File1_DblClick);
    connect(nameBox_, &QLineEdit::textChanged, this, &FileForm::Text1_Change);
    // Key presses (key preview) and mouse releases reach the handlers
    // through the filter, on the controls that take the focus.
    // The 文字コード list keeps its own keys but Enter: typing picks an entry.
    for (QWidget* control :
         std::initializer_list<QWidget*>{driveList_, folderList_, fileList_, okButton_, nameBox_,
                                         fileTypeButton_, encodingList_}) {
        control->installEventFilter(this);
    }
    fileList_->viewport()->installEventFilter(this);
}

void FileForm::EnterFolder(const QListWidgetItem* item) {
    const QString folder = folderList_->FolderAt(item);
    if (folder.isEmpty() || folder == folderList_->Path()) {
        return;
    }
    if (folderList_->SetPath(folder)) {
        Dir1_Change();
    } else {
        platform_.Notify(this, QStringLiteral("%1 を開けません。").arg(folder));
    }
}

void FileForm::Form_Load() {
    if (shared_.FileMode == state::kFileModeOpen) {
        nameBox_->setText(QString());
        promptLabel_->setText(QStringLiteral("読み込むファイルを指定してください"));
        fileTypeButton_->hide();
    } else {
        nameBox_->setText(QStringLiteral("Newname"));
        promptLabel_->setText(QString::fromUtf16(document::kNameToSave));
        fileTypeButton_->show();
        // A document from a password file is proposed as one again.
        ShowFormat(QString::fromLatin1(shared_.Password.isEmpty() ? kZkt : kGpg));
    }
    fileList_->setEnabled(true);
    // The lists start at the process's current folder, which the dialog
    // never changes.
    const QString here = platform_.CurrentFolder();
    driveList_->ChooseVolumeOf(here);
    shownDrive_ = driveList_->Drive();
    if (!folderList_->SetPath(here)) {
        folderList_->SetPath(driveList_->Drive());
    }
    fileList_->SetPath(folderList_->Path());
    ShowFormatChoices();
    EnableFormatList();
    driveList_->setFocus();
}

bool FileForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == encodingList_) {
        // The 文字コード list keeps its own keys but Enter, which goes to the
        // name box as every key does: OK.
        if (event->type() == QEvent::KeyPress &&
            desktop::KeyAscii(static_cast<QKeyEvent*>(event)) == kEnter) {
            int keyAscii = kEnter;
            Form_KeyPress(keyAscii);
            Text1_KeyPress(keyAscii);
            return true;
        }
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress && watched != fileList_->viewport()) {
        if (PreviewKey(watched, static_cast<QKeyEvent*>(event))) {
            return true;
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == fileList_->viewport()) {
            File1_MouseUp();
        } else if (watched == nameBox_) {
            Text1_Click();
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool FileForm::PreviewKey(QObject* watched, QKeyEvent* key) {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button != nullptr && PressesButton(key)) {
        // A focused button is pressed by Space (on its release, as the
        // button does itself) or Enter, not left for the name box.
        if (key->key() != Qt::Key_Space) {
            button->click();
            return true;
        }
        return false;
    }
    int keyAscii = desktop::KeyAscii(key);
    if (keyAscii == 0) {
        return false;
    }
    // Key preview: the form sees the key before the control does.
    const bool elsewhere = watched != nameBox_;
    Form_KeyPress(keyAscii);
    if (elsewhere && TypesText(key)) {
        // The key that moved the focus goes into the name box as typed,
        // over its selected text.
        nameBox_->selectAll();
        QKeyEvent typed(QEvent::KeyPress, key->key(), key->modifiers(), key->text(),
                        key->isAutoRepeat(), static_cast<ushort>(key->count()));
        QCoreApplication::sendEvent(nameBox_, &typed);
        return true;
    }
    if (!elsewhere) {
        Text1_KeyPress(keyAscii);
    }
    return keyAscii == 0;
}

void FileForm::Form_KeyPress(int&) {
    nameBox_->setFocus();
}

void FileForm::Text1_KeyPress(int& keyAscii) {
    if (keyAscii == kEnter) {
        keyAscii = 0;
        Command1_Click();
    }
}

void FileForm::Text1_Change() {
    okButton_->setEnabled(!nameBox_->text().isEmpty());
    EnableFormatList();
}

void FileForm::Text1_Click() {
    if (shared_.FileMode == state::kFileModeSave) {
        nameBox_->setFocus();
        nameBox_->selectAll();
    }
}

void FileForm::Command2_Click() {
    ShowFormat(NextFormat(fileTypeButton_->text()));
    EnableFormatList();
}

void FileForm::ShowFormat(const QString& format) {
    fileTypeButton_->setText(format);
    // The button is too narrow for the kind's name: its tooltip says it.
    fileTypeButton_->setToolTip(
        format == QLatin1String(kGpg)
            ? QStringLiteral("ファイルの形式: OpenPGP（パスワードで守るファイル）")
            : QStringLiteral("ファイルの形式"));
}

void FileForm::Drive1_Change() {
    shownDrive_ = driveList_->Drive();
    if (folderList_->SetPath(driveList_->Drive())) {
        Dir1_Change();
        return;
    }
    platform_.Notify(this, QStringLiteral("ファイルがありません｡再度設定してください"));
    // Back to the first volume, the root; the list's change follows.
    driveList_->setCurrentIndex(0);
    shownDrive_ = driveList_->Drive();
    if (folderList_->SetPath(driveList_->Drive())) {
        Dir1_Change();
    }
}

void FileForm::Dir1_Change() {
    fileList_->SetPath(folderList_->Path());
    Text1_Click();
}

void FileForm::File1_MouseUp() {
    const QString name = fileList_->FileName();
    if (name.isEmpty()) {
        return;
    }
    nameBox_->setText(shared_.FileMode == state::kFileModeOpen ? JoinPath(fileList_->Path(), name)
                                                               : name);
    nameBox_->setFocus();
    nameBox_->setCursorPosition(static_cast<int>(nameBox_->text().size()));
}

void FileForm::File1_DblClick() {
    if (shared_.FileMode == state::kFileModeOpen && !fileList_->FileName().isEmpty()) {
        nameBox_->setText(JoinPath(fileList_->Path(), fileList_->FileName()));
        Command1_Click();
    }
}

void FileForm::Command1_Click() {
    if (shared_.FileMode == state::kFileModeOpen) {
        OpenOk();
    } else {
        SaveOk();
    }
}

void FileForm::Unload() {
    putInEditor_(shared_.DocText);
    shared_.FilePath.clear();
}

}  // namespace solvena::filedialog
