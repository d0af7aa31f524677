// SPDX-License-Identifier: MIT
// Ending the program from outside (SIGTERM, SIGHUP, SIGINT, the end of the
// desktop session) without losing typed text: a changed document is kept
// in a recovery file, which the next start offers. The file goes as soon as
// the recovered document is saved or given up.

#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/file_messages.h"
#include "desktop/platform.h"

namespace solvena::app {
namespace {

const QString kRecoveryQuestion = QStringLiteral(
    "前回の終了時に保存されていなかったテキストがあります。開きますか?\n"
    "（いいえを選ぶと、このテキストは削除されます）");

}  // namespace

void MainForm::EndRequested(int signal) {
    if (!editor_->IsEmpty() && shared_.DocumentChanged()) {
        const files::Result<QString> kept = platform_.KeepRecovery(editor_->Text());
        if (!kept) {
            // Ending now would lose the text: the program stays, and says why.
            const QString why = desktop::DescribeWriteError(kept.error());
            platform_.Complain(QStringLiteral("the unsaved text could not be kept, so the "
                                              "program goes on: ") +
                               why.section(QLatin1Char('\n'), 1));
            platform_.Notify(this, QStringLiteral("保存されていないテキストを残せないため、"
                                                  "終了しませんでした。\n") +
                                       why);
            return;
        }
        // The newer copy takes the place of the one this text came from.
        ForgetRecovery();
    }
    platform_.EndAtOnce(signal);
}

void MainForm::OfferRecovery() {
    for (const QString& path : platform_.RecoveryFiles()) {
        const files::Result<QString> text = platform_.ReadRecovery(path);
        if (!text) {
            // Never removed unread: it may be the only copy of a text.
            platform_.Notify(this, desktop::DescribeUnreadRecovery(text.error()));
            continue;
        }
        if (text.value().isEmpty()) {
            platform_.RemoveRecovery(path);
            continue;
        }
        switch (platform_.Confirm(this, kRecoveryQuestion)) {
            case desktop::kYes:
                // Opened as a changed document, in place of an unchanged one.
                editor_->SetText(QString());
                editor_->SetText(text.value());
                changeCount_ = 2;
                shared_.SetDocumentChanged(true);
                editor_->MarkUnsaved();
                recoveryPath_ = path;
                return;
            case desktop::kNo:
                platform_.RemoveRecovery(path);
                break;
            default:
                return;  // offered again at the next start
        }
    }
}

void MainForm::ForgetRecoveryIfSettled() {
    if (!shared_.DocumentChanged()) {
        ForgetRecovery();
    }
}

void MainForm::ForgetRecovery() {
    if (!recoveryPath_.isEmpty()) {
        platform_.RemoveRecovery(recoveryPath_);
        recoveryPath_.clear();
    }
}

}  // namespace solvena::app
