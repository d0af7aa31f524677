// SPDX-License-Identifier: MIT
// Ending the program from outside (SIGTERM, SIGHUP, SIGINT, the end of the
// desktop session) without losing typed text: a changed document is kept
// in a recovery file, which the next start offers. The file goes as soon as
// the recovered document is saved or given up.

#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/chosen_file.h"
#include "desktop/file_messages.h"
#include "desktop/platform.h"

namespace solvena::app {
namespace {

const QString kRecoveryQuestion = QStringLiteral(
    "前回の終了時に保存されていなかったテキストがあります。開きますか?\n"
    "（いいえを選ぶと、このテキストは削除されます）");
const QString kSealedRecoveryNote =
    QStringLiteral("\nパスワードで守られた文書のテキストです。開くにはそのパスワードが要ります。");

}  // namespace

void MainForm::EndRequested(int signal) {
    if (!editor_->IsEmpty() && shared_.DocumentChanged()) {
        // A password file's document is kept sealed with its password.
        const files::Result<QString> kept =
            platform_.KeepRecovery(editor_->Text(), shared_.Password);
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
        if (desktop::Platform::IsSealedRecovery(path)) {
            if (OfferSealedRecovery(path)) {
                return;
            }
            continue;
        }
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
                OpenRecovered(text.value(), path, QString());
                return;
            case desktop::kNo:
                platform_.RemoveRecovery(path);
                break;
            default:
                return;  // offered again at the next start
        }
    }
}

bool MainForm::OfferSealedRecovery(const QString& path) {
    // Nothing of it can be read before its password is given.
    switch (platform_.Confirm(this, kRecoveryQuestion + kSealedRecoveryNote)) {
        case desktop::kYes:
            break;
        case desktop::kNo:
            platform_.RemoveRecovery(path);
            return false;
        default:
            return true;  // offered again at the next start
    }
    const desktop::Unsealing opened = desktop::UnsealAsking(
        platform_, this, path,
        [this](bool wasWrong) { return shared_.AskPassword(false, wasWrong); },
        [this, &path](const QString& password) { return platform_.UnsealRecovery(path, password); },
        desktop::DescribeUnreadRecovery);
    if (!opened.document) {
        return opened.stopped;  // no password: kept, and offered again at the next start
    }
    OpenRecovered(opened.document->text, path, opened.document->password);
    return true;
}

void MainForm::OpenRecovered(const QString& text, const QString& path, const QString& password) {
    // Opened as a changed document, in place of an unchanged one (the
    // command line's), whose password goes with it.
    shared_.Password = password;
    editor_->SetText(QString());
    editor_->SetText(text);
    changeCount_ = 2;
    shared_.SetDocumentChanged(true);
    editor_->MarkUnsaved();
    recoveryPath_ = path;
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
