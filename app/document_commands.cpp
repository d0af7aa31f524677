// SPDX-License-Identifier: MIT
// The document commands of the main window: New (Command9), Open
// (Command6), Save (Command7), a file dropped on the window, and the
// question on closing. The window never touches a file itself: the file
// dialog reads and writes, and puts DocText back into the editor when it
// closes.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/chosen_file.h"
#include "desktop/file_messages.h"
#include "desktop/platform.h"
#include "filedialog/file_form.h"
#include "filedialog/file_names.h"
#include "filedialog/format_choices.h"

namespace solvena::app {
namespace {

const QString kNewQuestion = QStringLiteral("新規作成です。今のテキストは保存しますか?");
const QString kOpenQuestion =
    QStringLiteral("新しいファイルを読み込みます。今のファイルは保存しますか？");
const QString kCloseQuestion = QStringLiteral("このテキストを保存しますか?");

// The local files a drag carries, in order.
QStringList LocalFiles(const QMimeData* mime) {
    QStringList paths;
    if (mime != nullptr) {
        for (const QUrl& url : mime->urls()) {
            if (url.isLocalFile()) {
                paths.append(url.toLocalFile());
            }
        }
    }
    return paths;
}

}  // namespace

bool MainForm::ShowFileDialog() {
    filedialog::FileForm dialog(
        shared_, platform_, [this](const QString& text) { editor_->SetText(text); }, this);
    dialog.exec();
    // Saved or read: the editor holds what the file holds.
    if (!shared_.DocumentChanged()) {
        editor_->MarkSaved();
    }
    ForgetRecoveryIfSettled();
    return dialog.Loaded();
}

MainForm::Offer MainForm::OfferToSave(const QString& question) {
    shared_.DocText = editor_->Text();
    if (editor_->IsEmpty() || !shared_.DocumentChanged()) {
        return Offer::NothingToSave;
    }
    switch (platform_.Confirm(this, question)) {
        case desktop::kYes:
            shared_.FileMode = state::kFileModeSave;
            ShowFileDialog();
            // A text that was not saved after all is not given up.
            return shared_.DocumentChanged() ? Offer::Stop : Offer::Saved;
        case desktop::kNo:
            return Offer::NotSaved;
        default:
            return Offer::Stop;
    }
}

void MainForm::Command9_Click() {
    if (OfferToSave(kNewQuestion) == Offer::Stop) {
        return;
    }
    editor_->SetText(QString());
    shared_.DocText.clear();
    shared_.DocFormat = document::TextFormat();
    shared_.DocSource.reset();
    shared_.Password.clear();
}

void MainForm::Command6_Click() {
    const Offer offer = OfferToSave(kOpenQuestion);
    if (offer == Offer::Stop) {
        return;
    }
    editor_->SetText(QString());
    shared_.FileMode = state::kFileModeOpen;
    if (ShowFileDialog()) {
        return;
    }
    // No file was read. The dialog's closing has put DocText, still the
    // previous text, back; it still counts as unsaved if it was.
    if (offer == Offer::NotSaved && !editor_->IsEmpty()) {
        changeCount_ = 2;
        shared_.SetDocumentChanged(true);
        editor_->MarkUnsaved();
    }
}

void MainForm::Command7_Click() {
    if (editor_->IsEmpty()) {
        return;
    }
    shared_.DocText = editor_->Text();
    shared_.FileMode = state::kFileModeSave;
    ShowFileDialog();
}

bool MainForm::Form_Unload() {
    // After a save the window closes, and with it the program, asking
    // nothing more.
    if (OfferToSave(kCloseQuestion) == Offer::Stop) {
        return true;
    }
    shared_.Password.clear();
    return false;
}

void MainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && !LocalFiles(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainForm::dropEvent(QDropEvent* event) {
    const QStringList paths = LocalFiles(event->mimeData());
    if (running_ || paths.isEmpty()) {
        return;
    }
    event->acceptProposedAction();
    // Several files open each in a window of its own, as a file manager
    // opens them: the first in this one.
    for (const QString& other : paths.mid(1)) {
        platform_.OpenInNewWindow(other);
    }
    OpenDroppedFile(paths.first());
}

void MainForm::OpenDroppedFile(const QString& path) {
    // The files the open dialog lists are the ones that may be dropped.
    if (!filedialog::ListedAsDocument(QFileInfo(path).fileName())) {
        platform_.Notify(this, desktop::DescribeNotADocument(QFileInfo(path).fileName()));
        return;
    }
    if (OfferToSave(kOpenQuestion) == Offer::Stop) {
        return;
    }
    // Read as the open dialog reads; a file that cannot be read leaves the
    // document as it was.
    std::optional<desktop::ReadDocumentResult> read = desktop::ReadChosenFile(
        platform_, this, path, {},
        [this](bool wasWrong) { return shared_.AskPassword(false, wasWrong); });
    if (!read) {
        return;
    }
    shared_.DocText = std::move(read->text);
    shared_.DocFormat = read->format;
    shared_.DocSource = read->source;
    shared_.Password = read->password;
    editor_->SetText(QString());
    shared_.SetDocumentChanged(false);
    editor_->SetText(shared_.DocText);
}

}  // namespace solvena::app
