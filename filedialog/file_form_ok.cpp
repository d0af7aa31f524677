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

using platform::TwipsRect;

void FileForm::BuildFormatRow() {
    label3_ = new QLabel(QStringLiteral("文字コード"), this);
    label3_->setObjectName(QStringLiteral("Label3"));
    label3_->setGeometry(TwipsRect(120, 3240, 1200, 372));
    label3_->setFont(platform::JapaneseFont(platform::Face::Gothic, 10, false));
    label3_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    combo1_ = new QComboBox(this);
    combo1_->setObjectName(QStringLiteral("Combo1"));
    combo1_->setGeometry(TwipsRect(1320, 3240, 3732, 372));
    combo1_->setFont(platform::JapaneseFont(platform::Face::ProportionalGothic, 9, false));
    combo1_->setCursor(platform::HandCursor());
    label3_->setBuddy(combo1_);
    combo1_->setAccessibleName(QStringLiteral("文字コード"));
    combo1_->setAccessibleDescription(QStringLiteral("ファイルの文字コードと改行"));
}

void FileForm::ShowFormatChoices() {
    combo1_->clear();
    if (shared_.FileMode == app::kFileModeOpen) {
        combo1_->setToolTip(QStringLiteral("読み込むファイルの文字コード"));
        for (const OpenChoice& choice : OpenChoices()) {
            combo1_->addItem(choice.label);
        }
        return;
    }
    combo1_->setToolTip(QStringLiteral("保存するファイルの文字コードと改行"));
    const QList<SaveChoice> choices = SaveChoices(shared_.DocFormat);
    for (const SaveChoice& choice : choices) {
        combo1_->addItem(choice.label);
    }
    combo1_->setCurrentIndex(SaveChoiceOf(choices, shared_.DocFormat));
}

void FileForm::EnableFormatList() {
    if (shared_.FileMode == app::kFileModeSave) {
        combo1_->setEnabled(
            !NamesZktFile(SavePath(file1_->Path(), text1_->text(), command2_->text())));
    }
}

std::optional<platform::ReadDocumentResult> ReadChosenFile(platform::Platform& platform,
                                                           QWidget* parent, const QString& path,
                                                           const files::ReadChoice& choice) {
    if (path.isEmpty() || !platform.FileExists(path)) {
        platform.Notify(parent, QStringLiteral("その名前のファイルはありません"));
        return std::nullopt;
    }
    files::Result<platform::ReadDocumentResult> read = platform.ReadDocument(path, choice);
    if (!read) {
        platform.Notify(parent, platform::DescribeReadError(read.error()));
        return std::nullopt;
    }
    if (NamesZktFile(path)) {
        read.value().format = files::TextFormat();
    }
    return std::move(read.value());
}

void FileForm::OpenOk() {
    // The previous document stays in DocText until a file has really been
    // read, so that closing the dialog after a failure brings it back.
    shared_.FilePath =
        text1_->text().isEmpty() ? QString() : OpenPath(file1_->Path(), text1_->text());
    const int chosen = std::max(0, combo1_->currentIndex());
    std::optional<platform::ReadDocumentResult> read = ReadChosenFile(
        platform_, this, shared_.FilePath, files::ReadChoice(OpenChoices()[chosen].encoding));
    if (!read) {
        shared_.FilePath.clear();
        return;
    }
    shared_.DocText = std::move(read->text);
    shared_.DocFormat = read->format;
    shared_.DocChanged = app::kFalse;
    loaded_ = true;
    accept();
}

bool FileForm::ConfirmStorable(files::TextFormat& format, bool enciphered) {
    if (format.encoding != files::Encoding::Cp932) {
        return true;
    }
    const files::TextFormat utf8(files::Encoding::Utf8, format.lineEnd);
    if (const std::optional<files::FileError> unstorable =
            platform_.CheckStorable(shared_.DocText)) {
        if (unstorable->kind != files::FileError::Kind::Unrepresentable) {
            // Not the characters: the check itself failed (out of memory).
            platform_.Notify(this, platform::DescribeWriteError(*unstorable));
            return false;
        }
        if (enciphered) {
            // A zkt file is what the Windows program reads: code page 932.
            platform_.Notify(this, platform::DescribeUnstorable(*unstorable) +
                                       QStringLiteral("\n暗号化してから zkt 形式で保存すれば、"
                                                      "すべての文字を保存できます。"));
            return false;
        }
        if (platform_.Confirm(this, platform::DescribeUnstorable(*unstorable) +
                                        QStringLiteral("\nUTF-8 で保存しますか？")) !=
            platform::kYes) {
            return false;
        }
        format = utf8;
        return true;
    }
    if (enciphered) {
        return true;
    }
    if (const std::optional<files::LookAlikes> lookAlikes =
            platform_.FindLookAlikes(shared_.DocText)) {
        switch (platform_.Confirm(this, platform::DescribeLookAlikes(*lookAlikes))) {
            case platform::kYes:
                return true;
            case platform::kNo:
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
    if (text1_->text().isEmpty()) {
        platform_.Notify(this, QStringLiteral("保存する名前を入力してください"));
        text1_->setFocus();
        return;
    }
    shared_.FilePath = SavePath(file1_->Path(), text1_->text(), command2_->text());
    // A text that code page 932 cannot store (or would change) is asked
    // about before anything else is asked or written; an enciphered
    // document keeps every character.
    const bool enciphered = NamesZktFile(shared_.FilePath);
    files::TextFormat format;
    if (!enciphered) {
        format = SaveChoices(shared_.DocFormat).value(combo1_->currentIndex()).format;
    }
    if (!ConfirmStorable(format, enciphered)) {
        shared_.FilePath.clear();
        return;
    }
    if (platform_.FileExists(shared_.FilePath)) {
        switch (platform_.Confirm(
            this, QStringLiteral("同じ名前のファイルがあります。上書きしますか。"))) {
            case platform::kYes:
                break;
            case platform::kNo:
                text1_->setText(QString());
                shared_.FilePath.clear();
                return;
            default:
                reject();
                return;
        }
    }
    const files::Status written =
        platform_.WriteDocument(shared_.FilePath, shared_.DocText, format);
    if (!written) {
        // Nothing was written and the document stays changed; another name
        // or folder may do.
        platform_.Notify(this, platform::DescribeWriteError(written.error()));
        shared_.FilePath.clear();
        return;
    }
    shared_.DocChanged = app::kFalse;
    if (!enciphered) {
        shared_.DocFormat = format;
    }
    accept();
}

}  // namespace solvena::filedialog
