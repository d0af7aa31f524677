// SPDX-License-Identifier: MIT
// The questions a save asks about password files: before a document from
// one is saved where no password protects it, and the password to seal
// with.

#include "desktop/chosen_file.h"
#include "desktop/platform.h"
#include "filedialog/file_form.h"

namespace solvena::filedialog {
namespace {

const QString kUnprotectQuestion =
    QStringLiteral("このファイルはパスワードで守られなくなります。保存しますか？");
const QString kKeepPasswordQuestion = QStringLiteral(
    "開いたときと同じパスワードで保存しますか？\n"
    "（いいえを選ぶと、新しいパスワードを入力します）");

}  // namespace

bool FileForm::ConfirmUnsealed() {
    if (shared_.Password.isEmpty() ||
        desktop::FileTypeOfPath(shared_.FilePath) == document::FileType::Sealed) {
        return true;
    }
    return platform_.AskYesNo(this, kUnprotectQuestion, true) == desktop::kYes;
}

std::optional<QString> FileForm::PasswordToSealWith() {
    if (!shared_.Password.isEmpty()) {
        switch (platform_.Confirm(this, kKeepPasswordQuestion)) {
            case desktop::kYes:
                return shared_.Password;
            case desktop::kNo:
                break;
            default:
                return std::nullopt;
        }
    }
    return shared_.AskPassword(true, false);
}

}  // namespace solvena::filedialog
