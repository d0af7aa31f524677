// SPDX-License-Identifier: MIT
#include "tests/support/scripted_platform.h"

#include <QFile>

#include "files/state_folder.h"

namespace solvena::testing {

ScriptedPlatform::ScriptedPlatform(QStringList arguments) : Platform(std::move(arguments)) {}

void ScriptedPlatform::ScriptAnswers(std::initializer_list<int> answers) {
    script_.insert(script_.end(), answers.begin(), answers.end());
}

int ScriptedPlatform::Ask(desktop::BoxKind kind, QWidget* parent, const QString& text) {
    const int unanswered = kind == desktop::BoxKind::Confirm  ? desktop::kCancel
                           : kind != desktop::BoxKind::Notice ? desktop::kNo
                                                              : desktop::kOk;
    AskedBox box{kind, desktop::BoxTitle(kind), text, unanswered, true};
    if (!script_.empty()) {
        box.answer = script_.front();
        script_.pop_front();
    } else if (interactive_) {
        box.scripted = false;
        box.answer = Platform::Ask(kind, parent, text);
    }
    asked_.push_back(box);
    return box.answer;
}

void ScriptedPlatform::Beep() {
    ++beeps_;
    if (interactive_) {
        Platform::Beep();
    }
}

void ScriptedPlatform::EndAtOnce(int signal) {
    if (end_) {
        end_(signal);
        return;
    }
    Platform::EndAtOnce(signal);
}

QList<desktop::Volume> ScriptedPlatform::Volumes() const {
    return volumes_ ? *volumes_ : Platform::Volumes();
}

files::Result<std::string> ScriptedPlatform::RecoveryFolder(bool make) const {
    const std::string folder =
        QFile::encodeName(recoveryFolder_.isEmpty() ? ownFolder_.path() : recoveryFolder_)
            .toStdString();
    return make ? files::PrivateFolder(folder) : folder;
}

}  // namespace solvena::testing
