// SPDX-License-Identifier: MIT
// The document commands of the main window: the document named on the
// command line, New (Command9), Open (Command6), Save (Command7), a file
// dropped on the window, and the question on closing. The window never touches a file itself: the
// file dialog reads and writes, and puts DocText back into the editor when it closes.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "editor_box.h"
#include "file_form.h"
#include "file_messages.h"
#include "file_names.h"
#include "format_choices.h"
#include "main_form.h"
#include "platform.h"

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
    if (!filedialog::EndsInTxtOrZktLowerOrUpper(path)) {
        // Started from a desktop there is no terminal to read the line.
        platform_.Complain(QStringLiteral("%1: not a txt or zkt document file")
                               .arg(platform::desktop::Platform::ShownName(path)));
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
                               .arg(platform::desktop::Platform::ShownName(path)));
        return true;
    }
    if (documents.size() > 1) {
        notice = QStringLiteral("一度に開ける文書は一つだけです。%1 を開きました。").arg(path);
    }
    shared_.DocText.clear();
    shared_.FilePath = path;
    if (platform_.FileExists(path)) {
        platform::core::Result<platform::desktop::ReadDocumentResult> read =
            platform_.ReadDocument(path);
        if (read) {
            shared_.DocText = std::move(read.value().text);
            // A zkt file's text is ASCII: the document keeps the new one's form.
            if (!filedialog::NamesZktFile(path)) {
                shared_.DocFormat = read.value().format;
            }
        } else {
            notice += (notice.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                      platform::desktop::DescribeReadError(read.error());
        }
    }
    return true;
}

bool MainForm::ShowFileDialog() {
    filedialog::FileForm dialog(
        shared_, platform_, [this](const QString& text) { editor_->SetText(text); }, this);
    dialog.exec();
    ForgetRecoveryIfSettled();
    return dialog.Loaded();
}

MainForm::Offer MainForm::OfferToSave(const QString& question) {
    shared_.DocText = editor_->Text();
    if (editor_->IsEmpty() || !shared_.DocumentChanged()) {
        return Offer::NothingToSave;
    }
    switch (platform_.Confirm(this, question)) {
        case platform::desktop::kYes:
            shared_.FileMode = state::kFileModeSave;
            ShowFileDialog();
            // A text that was not saved after all is not given up.
            return shared_.DocumentChanged() ? Offer::Stop : Offer::Saved;
        case platform::desktop::kNo:
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
    shared_.DocFormat = platform::core::TextFormat();
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
    return OfferToSave(kCloseQuestion) == Offer::Stop;
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
    OpenDroppedFile(paths.first());
}

void MainForm::OpenDroppedFile(const QString& path) {
    // The files the open dialog lists are the ones that may be dropped.
    if (!filedialog::EndsInDotTxtOrZktAnyCase(QFileInfo(path).fileName())) {
        platform_.Notify(this,
                         QStringLiteral("%1 は開けません。\n開けるのは txt と zkt のファイルです。")
                             .arg(QFileInfo(path).fileName()));
        return;
    }
    if (OfferToSave(kOpenQuestion) == Offer::Stop) {
        return;
    }
    // Read as the open dialog reads; a file that cannot be read leaves the
    // document as it was.
    std::optional<platform::desktop::ReadDocumentResult> read =
        filedialog::ReadChosenFile(platform_, this, path);
    if (!read) {
        return;
    }
    shared_.DocText = std::move(read->text);
    shared_.DocFormat = read->format;
    editor_->SetText(QString());
    shared_.SetDocumentChanged(false);
    editor_->SetText(shared_.DocText);
}

}  // namespace solvena::app
