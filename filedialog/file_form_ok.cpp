// SPDX-License-Identifier: MIT
// The file dialog's OK logic, apart from its controls and keys: reading the
// file chosen, writing the one named, and the 文字コード list that says how.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "file_form.h"
#include "file_messages.h"
#include "file_names.h"
#include "folder_lists.h"
#include "format_choices.h"
#include "look.h"
#include "platform.h"

namespace solvena::filedialog {

using platform::desktop::TwipsRect;

void FileForm::BuildFormatRow() {
    encodingLabel_ = new QLabel(QStringLiteral("文字コード"), this);
    encodingLabel_->setObjectName(QStringLiteral("Label3"));
    encodingLabel_->setGeometry(TwipsRect(120, 3240, 1200, 372));
    encodingLabel_->setFont(
        platform::desktop::JapaneseFont(platform::desktop::Face::Gothic, 10, false));
    encodingLabel_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    encodingList_ = new QComboBox(this);
    encodingList_->setObjectName(QStringLiteral("Combo1"));
    encodingList_->setGeometry(TwipsRect(1320, 3240, 3732, 372));
    encodingList_->setFont(
        platform::desktop::JapaneseFont(platform::desktop::Face::ProportionalGothic, 9, false));
    encodingList_->setCursor(platform::desktop::HandCursor());
    encodingLabel_->setBuddy(encodingList_);
    encodingList_->setAccessibleName(QStringLiteral("文字コード"));
    encodingList_->setAccessibleDescription(QStringLiteral("ファイルの文字コードと改行"));
}

void FileForm::ShowFormatChoices() {
    encodingList_->clear();
    if (shared_.FileMode == state::kFileModeOpen) {
        encodingList_->setToolTip(QStringLiteral("読み込むファイルの文字コード"));
        for (const OpenChoice& choice : OpenChoices()) {
            encodingList_->addItem(choice.label);
        }
        return;
    }
    encodingList_->setToolTip(QStringLiteral("保存するファイルの文字コードと改行"));
    const QList<SaveChoice> choices = SaveChoices(shared_.DocFormat);
    for (const SaveChoice& choice : choices) {
        encodingList_->addItem(choice.label);
    }
    encodingList_->setCurrentIndex(SaveChoiceOf(choices, shared_.DocFormat));
}

void FileForm::EnableFormatList() {
    if (shared_.FileMode == state::kFileModeSave) {
        encodingList_->setEnabled(
            !NamesZktFile(SavePath(fileList_->Path(), nameBox_->text(), fileTypeButton_->text())));
    }
}

std::optional<platform::desktop::ReadDocumentResult> ReadChosenFile(
    platform::desktop::Platform& platform, QWidget* parent, const QString& path,
    const platform::core::ReadChoice& choice) {
    if (path.isEmpty() || !platform.FileExists(path)) {
        platform.Notify(parent, QStringLiteral("その名前のファイルはありません"));
        return std::nullopt;
    }
    platform::core::Result<platform::desktop::ReadDocumentResult> read =
        platform.ReadDocument(path, choice);
    if (!read) {
        platform.Notify(parent, platform::desktop::DescribeReadError(read.error()));
        return std::nullopt;
    }
    if (NamesZktFile(path)) {
        read.value().format = platform::core::TextFormat();
    }
    return std::move(read.value());
}

void FileForm::OpenOk() {
    // The previous document stays in DocText until a file has really been
    // read, so that closing the dialog after a failure brings it back.
    shared_.FilePath =
        nameBox_->text().isEmpty() ? QString() : OpenPath(fileList_->Path(), nameBox_->text());
    const int chosen = std::max(0, encodingList_->currentIndex());
    std::optional<platform::desktop::ReadDocumentResult> read =
        ReadChosenFile(platform_, this, shared_.FilePath,
                       platform::core::ReadChoice(OpenChoices()[chosen].encoding));
    if (!read) {
        shared_.FilePath.clear();
        return;
    }
    shared_.DocText = std::move(read->text);
    shared_.DocFormat = read->format;
    shared_.SetDocumentChanged(false);
    loaded_ = true;
    accept();
}

bool FileForm::ConfirmStorable(platform::core::TextFormat& format, bool enciphered) {
    if (format.encoding != platform::core::Encoding::Cp932) {
        return true;
    }
    const platform::core::TextFormat utf8(platform::core::Encoding::Utf8, format.lineEnd);
    if (const std::optional<platform::core::FileError> unstorable =
            platform_.CheckStorable(shared_.DocText)) {
        if (unstorable->kind != platform::core::FileError::Kind::Unrepresentable) {
            // Not the characters: the check itself failed (out of memory).
            platform_.Notify(this, platform::desktop::DescribeWriteError(*unstorable));
            return false;
        }
        if (enciphered) {
            // A zkt file is what the Windows program reads: code page 932.
            platform_.Notify(this, platform::desktop::DescribeUnstorable(*unstorable) +
                                       QStringLiteral("\n暗号化してから zkt 形式で保存すれば、"
                                                      "すべての文字を保存できます。"));
            return false;
        }
        if (platform_.Confirm(this, platform::desktop::DescribeUnstorable(*unstorable) +
                                        QStringLiteral("\nUTF-8 で保存しますか？")) !=
            platform::desktop::kYes) {
            return false;
        }
        format = utf8;
        return true;
    }
    if (enciphered) {
        return true;
    }
    if (const std::optional<platform::core::LookAlikes> lookAlikes =
            platform_.FindLookAlikes(shared_.DocText)) {
        switch (platform_.Confirm(this, platform::desktop::DescribeLookAlikes(*lookAlikes))) {
            case platform::desktop::kYes:
                return true;
            case platform::desktop::kNo:
                format = utf8;
                return true;
            default:
                return false;
        }
    }
    return true;
}

void FileForm::SaveOk() {
    // Enter runs this even while OK is disabled; an empty name would save
    // a hidden file called ".zkt".
    if (nameBox_->text().isEmpty()) {
        platform_.Notify(this, QStringLiteral("保存する名前を入力してください"));
        nameBox_->setFocus();
        return;
    }
    shared_.FilePath = SavePath(fileList_->Path(), nameBox_->text(), fileTypeButton_->text());
    // A text that code page 932 cannot store (or would change) is asked
    // about before anything else is asked or written; an enciphered
    // document keeps every character.
    const bool enciphered = NamesZktFile(shared_.FilePath);
    platform::core::TextFormat format;
    if (!enciphered) {
        format = SaveChoices(shared_.DocFormat).value(encodingList_->currentIndex()).format;
    }
    if (!ConfirmStorable(format, enciphered)) {
        shared_.FilePath.clear();
        return;
    }
    if (platform_.FileExists(shared_.FilePath)) {
        switch (platform_.Confirm(
            this, QStringLiteral("同じ名前のファイルがあります。上書きしますか。"))) {
            case platform::desktop::kYes:
                break;
            case platform::desktop::kNo:
                nameBox_->setText(QString());
                shared_.FilePath.clear();
                return;
            default:
                reject();
                return;
        }
    }
    const platform::core::Status written =
        platform_.WriteDocument(shared_.FilePath, shared_.DocText, format);
    if (!written) {
        // Nothing was written and the document stays changed; another name
        // or folder may do.
        platform_.Notify(this, platform::desktop::DescribeWriteError(written.error()));
        shared_.FilePath.clear();
        return;
    }
    shared_.SetDocumentChanged(false);
    if (!enciphered) {
        shared_.DocFormat = format;
    }
    accept();
}

}  // namespace solvena::filedialog
