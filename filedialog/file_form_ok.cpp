// SPDX-License-Identifier: MIT
// The file dialog's OK logic, apart from its controls and keys: reading the
// file chosen, writing the one named, and the 文字コード list that says how.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "desktop/chosen_file.h"
#include "desktop/file_messages.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "document/file_words.h"
#include "filedialog/file_form.h"
#include "filedialog/file_names.h"
#include "filedialog/folder_lists.h"
#include "filedialog/format_choices.h"

namespace solvena::filedialog {

using desktop::TwipsRect;

void FileForm::BuildFormatRow() {
    encodingLabel_ = new QLabel(QStringLiteral("文字コード"), this);
    encodingLabel_->setObjectName(QStringLiteral("Label3"));
    encodingLabel_->setGeometry(TwipsRect(120, 3240, 1200, 372));
    encodingLabel_->setFont(desktop::JapaneseFont(desktop::Face::Gothic, 10, false));
    encodingLabel_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);

    encodingList_ = new QComboBox(this);
    encodingList_->setObjectName(QStringLiteral("Combo1"));
    encodingList_->setGeometry(TwipsRect(1320, 3240, 3732, 372));
    encodingList_->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 9, false));
    encodingList_->setCursor(desktop::HandCursor());
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
    encodingList_->setCurrentIndex(SaveChoiceOf(shared_.DocFormat));
}

void FileForm::EnableFormatList() {
    if (shared_.FileMode == state::kFileModeSave) {
        encodingList_->setEnabled(!desktop::NamesZktFile(
            SavePath(fileList_->Path(), nameBox_->text(), fileTypeButton_->text())));
    }
}

void FileForm::OpenOk() {
    // The previous document stays in DocText until a file has really been
    // read, so that closing the dialog after a failure brings it back.
    shared_.FilePath =
        nameBox_->text().isEmpty() ? QString() : OpenPath(fileList_->Path(), nameBox_->text());
    const int chosen = std::max(0, encodingList_->currentIndex());
    std::optional<desktop::ReadDocumentResult> read = desktop::ReadChosenFile(
        platform_, this, shared_.FilePath, document::ReadChoice(OpenChoices()[chosen].encoding),
        [this](bool wasWrong) { return shared_.AskPassword(false, wasWrong); });
    if (!read) {
        shared_.FilePath.clear();
        return;
    }
    shared_.DocText = std::move(read->text);
    shared_.DocFormat = read->format;
    shared_.DocSource = read->source;
    // The previous document's password goes with it.
    shared_.Password = read->password;
    shared_.SetDocumentChanged(false);
    loaded_ = true;
    accept();
}

bool FileForm::ConfirmStorable(document::TextFormat& format, bool enciphered) {
    if (format.encoding != document::Encoding::Cp932) {
        return true;
    }
    const document::TextFormat utf8(document::Encoding::Utf8, format.lineEnd);
    if (const std::optional<files::FileError> unstorable =
            platform_.CheckStorable(shared_.DocText)) {
        if (unstorable->kind != files::FileError::Kind::Unrepresentable) {
            // Not the characters: the check itself failed (out of memory).
            platform_.Notify(this, desktop::DescribeWriteError(*unstorable));
            return false;
        }
        if (enciphered) {
            // A zkt file is what the Windows program reads: code page 932.
            platform_.Notify(this, desktop::DescribeUnstorable(*unstorable) + QLatin1Char('\n') +
                                       QString::fromUtf16(document::kEncipherToStoreAll));
            return false;
        }
        if (platform_.Confirm(this, desktop::DescribeUnstorable(*unstorable) + QLatin1Char('\n') +
                                        QString::fromUtf16(document::kStoreInUtf8)) !=
            desktop::kYes) {
            return false;
        }
        format = utf8;
        return true;
    }
    if (enciphered) {
        return true;
    }
    if (const std::optional<document::LookAlikes> lookAlikes =
            platform_.FindLookAlikes(shared_.DocText)) {
        switch (platform_.Confirm(this, desktop::DescribeLookAlikes(*lookAlikes))) {
            case desktop::kYes:
                return true;
            case desktop::kNo:
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
        platform_.Notify(this, QString::fromUtf16(document::kNameToSave));
        nameBox_->setFocus();
        return;
    }
    shared_.FilePath = SavePath(fileList_->Path(), nameBox_->text(), fileTypeButton_->text());
    // A text that code page 932 cannot store (or would change) is asked
    // about before anything else is asked or written; an enciphered
    // document keeps every character.
    const bool enciphered = desktop::NamesZktFile(shared_.FilePath);
    if (!ConfirmUnsealed()) {
        shared_.FilePath.clear();
        return;
    }
    document::TextFormat format;
    if (!enciphered) {
        format = SaveChoices(shared_.DocFormat).value(encodingList_->currentIndex()).format;
    }
    if (!ConfirmStorable(format, enciphered)) {
        shared_.FilePath.clear();
        return;
    }
    // A file something else changed since the document was read from it (or
    // saved to it) would lose those changes: asked first, No the default.
    if (shared_.DocSource && platform_.ChangedSince(*shared_.DocSource, shared_.FilePath) &&
        platform_.AskYesNo(this, desktop::DescribeChangedSince(shared_.FilePath), true) !=
            desktop::kYes) {
        shared_.FilePath.clear();
        return;
    }
    if (platform_.FileExists(shared_.FilePath)) {
        switch (platform_.Confirm(
            this, QStringLiteral("同じ名前のファイルがあります。上書きしますか。"))) {
            case desktop::kYes:
                break;
            case desktop::kNo:
                nameBox_->setText(QString());
                shared_.FilePath.clear();
                return;
            default:
                reject();
                return;
        }
    }
    WriteChosen(format, enciphered);
}

void FileForm::WriteChosen(const document::TextFormat& format, bool enciphered) {
    const bool sealed = desktop::FileTypeOfPath(shared_.FilePath) == document::FileType::Sealed;
    const std::optional<QString> password = sealed ? PasswordToSealWith() : QString();
    if (!password) {
        shared_.FilePath.clear();
        return;
    }
    // A copy of a private file is private too: a new file gets at most the
    // permissions of the file the document came from.
    const unsigned permissions = shared_.DocSource ? shared_.DocSource->permissions & 0777 : 0666;
    const files::Status written =
        sealed ? platform_.WriteSealedDocument(shared_.FilePath, shared_.DocText, format, *password,
                                               permissions)
               : platform_.WriteDocument(shared_.FilePath, shared_.DocText, format, permissions);
    if (!written) {
        // Nothing was written and the document stays changed; another name
        // or folder may do.
        platform_.Notify(this, desktop::DescribeWriteError(written.error()));
        shared_.FilePath.clear();
        return;
    }
    shared_.SetDocumentChanged(false);
    // Kept for the next save of a password file; forgotten by any other.
    shared_.Password = *password;
    if (!enciphered) {
        shared_.DocFormat = format;
    }
    shared_.DocSource = platform_.Stamp(shared_.FilePath);
    desktop::TellKeptCopies(platform_, this, shared_.FilePath);
    accept();
}

}  // namespace solvena::filedialog
