// SPDX-License-Identifier: MIT
#pragma once

// The platform the window tests give the windows: the next message boxes
// are answered by a script instead of a person, every box asked and every
// beep is recorded, the volumes and the end of the program can be scripted,
// and recovery files are kept in a folder of the test's own.

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "desktop/platform.h"

namespace solvena::testing {

struct AskedBox {
    using Kind = desktop::BoxKind;
    Kind kind;
    QString title;
    QString text;
    int answer;
    bool scripted;  // answered by the script, not by a person
};

class ScriptedPlatform : public desktop::Platform {
  public:
    explicit ScriptedPlatform(QStringList arguments = {QStringLiteral("solvena")});

    // Scripted answers are given to the next boxes in turn without showing
    // them. When not interactive, a box without a scripted answer is not
    // shown either and answers Cancel (No for a Yes-No question, OK for a
    // notice).
    void ScriptAnswers(std::initializer_list<int> answers);
    void SetInteractive(bool interactive) { interactive_ = interactive; }
    const std::vector<AskedBox>& Asked() const { return asked_; }
    void ClearAsked() { asked_.clear(); }
    int BeepCount() const { return beeps_; }
    // The volumes to offer instead of the mounted ones.
    void ScriptVolumes(QList<desktop::Volume> volumes) { volumes_ = std::move(volumes); }
    // What EndAtOnce does instead of ending the program.
    void ScriptEnd(std::function<void(int)> end) { end_ = std::move(end); }
    // The files opened in windows of their own, instead of opening them.
    const QStringList& OpenedInNewWindows() const { return openedInNewWindows_; }
    // Where the recovery files are kept: a folder of this platform's own
    // unless another is given (to see them kept from one start to the next).
    void SetRecoveryFolder(const QString& folder) { recoveryFolder_ = folder; }

    // What opening a password file gives instead of unsealing it, for the
    // outcomes no file at hand would give.
    using Unsealer =
        std::function<desktop::UnsealedDocument(const QString& path, const QString& password)>;
    void ScriptUnseal(Unsealer unseal) { unseal_ = std::move(unseal); }

    int Ask(desktop::BoxKind kind, QWidget* parent, const QString& text) override;
    desktop::UnsealedDocument UnsealDocument(const QString& path, const QString& password,
                                             const document::ReadChoice& choice) const override {
        return unseal_ ? unseal_(path, password) : Platform::UnsealDocument(path, password, choice);
    }
    void Beep() override;
    void EndAtOnce(int signal) override;
    void OpenInNewWindow(const QString& path) override { openedInNewWindows_.append(path); }
    QList<desktop::Volume> Volumes() const override;

  protected:
    files::Result<std::string> RecoveryFolder(bool make) const override;

  private:
    std::deque<int> script_;
    std::vector<AskedBox> asked_;
    std::optional<QList<desktop::Volume>> volumes_;
    std::function<void(int)> end_;
    Unsealer unseal_;
    QTemporaryDir ownFolder_;
    QString recoveryFolder_;
    QStringList openedInNewWindows_;
    bool interactive_ = true;
    int beeps_ = 0;
};

}  // namespace solvena::testing
