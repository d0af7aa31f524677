// The document commands of the main window: New (Command9), Open
// (Command6), Save (Command7), a file dropped on the window, and the question
// on closing. The window never touches a file itself: the file dialog reads
// and writes, and puts DocText back into the editor when it closes.

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

#include "editor_box.h"
#include "file_form.h"
#include "file_messages.h"
#include "main_form.h"
#include "platform.h"

namespace solvena::app {

bool MainForm::ShowFileDialog() {
    filedialog::FileForm dialog(
        shared_, platform_, [this](const QString& text) { text1_->SetText(text); }, this);
    dialog.exec();
    return dialog.Loaded();
}

void MainForm::Command9_Click() {
    shared_.DocText = text1_->Text();
    if (!text1_->IsEmpty() && shared_.DocChanged == kTrue) {
        switch (
            platform_.Confirm(this, QStringLiteral("新規作成です。今のテキストは保存しますか?"))) {
            case platform::kYes:
                shared_.FileMode = kFileModeSave;
                ShowFileDialog();
                // The text is not thrown away when it was not saved.
                if (shared_.DocChanged == kTrue) {
                    return;
                }
                break;
            case platform::kNo:
                break;
            default:
                return;
        }
    }
    text1_->SetText(QString());
    shared_.DocText.clear();
}

void MainForm::Command6_Click() {
    shared_.DocText = text1_->Text();
    bool unsaved = !text1_->IsEmpty() && shared_.DocChanged == kTrue;
    if (unsaved) {
        switch (platform_.Confirm(
            this, QStringLiteral("新しいファイルを読み込みます。今のファイルは保存しますか？"))) {
            case platform::kYes:
                shared_.FileMode = kFileModeSave;
                ShowFileDialog();
                // The text is not replaced when it was not saved.
                if (shared_.DocChanged == kTrue) {
                    return;
                }
                unsaved = false;
                break;
            case platform::kNo:
                break;
            default:
                return;
        }
    }
    text1_->SetText(QString());
    shared_.FileMode = kFileModeOpen;
    // The dialog's closing puts DocText, still the previous text, back
    // when no file was read; it must then still count as unsaved.
    if (!ShowFileDialog() && unsaved && !text1_->IsEmpty()) {
        changeCount_ = 2;
        shared_.DocChanged = kTrue;
    }
}

void MainForm::Command7_Click() {
    if (text1_->IsEmpty()) {
        return;
    }
    shared_.DocText = text1_->Text();
    shared_.FileMode = kFileModeSave;
    ShowFileDialog();
}

bool MainForm::Form_Unload() {
    if (text1_->IsEmpty() || shared_.DocChanged == kFalse) {
        return false;
    }
    switch (platform_.Confirm(this, QStringLiteral("このテキストを保存しますか?"))) {
        case platform::kNo:
            return false;
        case platform::kYes:
            shared_.FileMode = kFileModeSave;
            shared_.DocText = text1_->Text();
            ShowFileDialog();
            // Stays open when the save did not happen; otherwise the
            // window closes and with it the program, asking nothing more.
            return shared_.DocChanged == kTrue;
        default:
            return true;
    }
}

namespace {

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
    if (!HasDocumentEnding(path)) {
        platform_.Notify(this,
                         QStringLiteral("%1 は開けません。\n開けるのは txt と zkt のファイルです。")
                             .arg(QFileInfo(path).fileName()));
        return;
    }
    // As Open does, up to the file dialog: the question about unsaved text,
    // and the save it may ask for.
    shared_.DocText = text1_->Text();
    if (!text1_->IsEmpty() && shared_.DocChanged == kTrue) {
        switch (platform_.Confirm(
            this, QStringLiteral("新しいファイルを読み込みます。今のファイルは保存しますか？"))) {
            case platform::kYes:
                shared_.FileMode = kFileModeSave;
                ShowFileDialog();
                if (shared_.DocChanged == kTrue) {
                    return;
                }
                break;
            case platform::kNo:
                break;
            default:
                return;
        }
    }
    // Then as the dialog's OK would read it; a file that cannot be read
    // leaves the document as it was.
    if (!platform_.FileExists(path)) {
        platform_.Notify(this, QStringLiteral("その名前のファイルはありません"));
        return;
    }
    files::Result<QString> text = platform_.ReadDocument(path);
    if (!text) {
        platform_.Notify(this, platform::DescribeReadError(text.error()));
        return;
    }
    shared_.DocText = std::move(text.value());
    text1_->SetText(QString());
    shared_.DocChanged = kFalse;
    text1_->SetText(shared_.DocText);
}

}  // namespace solvena::app
