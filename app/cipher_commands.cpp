// SPDX-License-Identifier: MIT
// The cipher commands of the main window: 暗号化 (Command1) and 解読
// (Command2). Both ask for the pass number, show the progress window, drive
// the cipher core one yield point at a time while the window stays usable,
// and put the result in place of the document as one undoable edit.

#include <QPointer>
#include <QPushButton>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <new>
#include <optional>
#include <type_traits>

#include "app/damage_words.h"
#include "app/decipher_judging.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "app/run_progress.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "desktop/text_convert.h"
#include "dialogs/form2.h"
#include "dialogs/pass_finder.h"
#include "ranking/decipher_judge.h"
#include "ranking/pass_ranking.h"
#include "ranking/verdicts.h"

namespace solvena::app {
namespace {

QString ResultText(cipher::EncipherRun& run) {
    return desktop::FromAscii(run.TakeResult());
}
QString ResultText(cipher::DecipherRun& run) {
    return desktop::ToQString(run.TakeResult());
}

// Whether a decipher result takes the document's place: a plausible one
// does; about a doubtful one the person is asked, the progress window gone:
// a damaged document with its damage shown, else with the offer to look
// for the pass number. いいえ is the default: Enter keeps the document.
enum class Wanted { Result, Document, PassSearch };

Wanted ResultWanted(desktop::Platform& platform, EditorBox& editor, QPointer<dialogs::Form2>& form2,
                    const Judgement& judgement) {
    if (judgement.verdict == ranking::Decipherment::Plausible) {
        return Wanted::Result;
    }
    delete form2.data();
    if (judgement.verdict == ranking::Decipherment::Damaged) {
        SelectDamage(editor, *judgement.evidence.damage);
        return platform.AskYesNo(&editor, DamagedQuestion(judgement.evidence), true) ==
                       desktop::kYes
                   ? Wanted::Result
                   : Wanted::Document;
    }
    // A text never enciphered has no pass number to look for.
    const QString question = QString::fromUtf16(ranking::kDoubtfulResult);
    if (judgement.verdict == ranking::Decipherment::NothingEnciphered ||
        judgement.verdict == ranking::Decipherment::NotEnciphered) {
        return platform.AskYesNo(&editor, question, true) == desktop::kYes ? Wanted::Result
                                                                           : Wanted::Document;
    }
    switch (platform.AskYesNoFind(&editor, question)) {
        case desktop::kYes:
            return Wanted::Result;
        case desktop::kFindPass:
            return Wanted::PassSearch;
        default:
            return Wanted::Document;
    }
}

std::int32_t Narrow(std::int64_t value) {
    return static_cast<std::int32_t>(std::min<std::int64_t>(value, INT32_MAX));
}

// What a run gives for each unit of its input, about: the bar's share of
// the fill is reckoned from it before the run.
constexpr std::int64_t kEncipheredPerUnit = 4;
constexpr std::int64_t kUnitsPerGroup = 4;

// Puts a run's result in place of the document. Filling the editor with
// millions of characters takes a while: the bar goes on and pending events
// run between its parts, and キャンセル (or closing the window) then
// leaves the document as it was.
void FillEditor(EditorBox& editor, desktop::Platform& platform,
                const QPointer<dialogs::Form2>& form2, const bool& cancelRequested,
                const QString& result, RunProgress& progress) {
    const bool progressShown = !form2.isNull() && !form2->Unloaded();
    editor.ReplaceText(result, [&](double done) {
        progress.Fill(done);
        platform.DoEvents();
        const bool progressClosed = progressShown && (form2.isNull() || form2->Unloaded());
        return !progressClosed && !cancelRequested;
    });
}

}  // namespace

void MainForm::Command1_Click() {
    RunCipherCommand<cipher::EncipherRun>();
}

void MainForm::Command2_Click() {
    RunCipherCommand<cipher::DecipherRun>();
}

void MainForm::SetRunning(bool running) {
    running_ = running;
    editor_->setReadOnly(running);
    for (QPushButton* button : {openButton_, saveButton_, newButton_, exitButton_}) {
        button->setEnabled(!running);
    }
}

void MainForm::ReturnFocusToEditor() {
    // Not the next button in the tab order, where a stray Space would press
    // it: the editor, at the start of the text.
    editor_->setFocus();
    editor_->moveCursor(QTextCursor::Start);
}

template <class Run>
bool MainForm::DriveRun(Run& run, QPointer<dialogs::Form2>& form2, RunProgress& progress) {
    constexpr bool kEncipher = std::is_same_v<Run, cipher::EncipherRun>;
    bool cancelled = false;
    // A cancelled run still takes its last step, which moves it to its end.
    while (run.RunToYield()) {
        if (!progress.EventsDue(run.CipherPosition(), run.CipherLength())) {
            continue;
        }
        // Pending events run now and only now; closing the progress window
        // moves CipherPosition to the end. In an encipher run the yield
        // falls in an even step, when PassNumber holds its negation.
        const std::int32_t position = Narrow(run.CipherPosition());
        shared_.CipherPosition = position;
        progress.Run(run.CipherPosition(), run.CipherLength());
        if (kEncipher) {
            shared_.PassNumber = static_cast<std::int16_t>(-savedPassNumber_);
        }
        platform_.DoEvents();
        shared_.PassNumber = savedPassNumber_;
        if (shared_.CipherPosition != position || form2.isNull() || form2->Unloaded() ||
            cancelRequested_) {
            run.Cancel();
            cancelled = true;
        }
    }
    return !cancelled;
}

void MainForm::HoldCipherButtons(bool held) {
    for (QPushButton* button : {encipherButton_, decipherButton_}) {
        button->setEnabled(!held);
        if (held) {
            button->setCursor(Qt::ArrowCursor);
        } else {
            button->setCursor(desktop::HandCursor());
        }
    }
}

template <class Run>
void MainForm::RunCipherCommand() {
    constexpr bool kEncipher = std::is_same_v<Run, cipher::EncipherRun>;
    HoldCipherButtons(true);
    AskPass(!kEncipher);
    if (shared_.PassNumber == -1) {
        HoldCipherButtons(false);
        ReturnFocusToEditor();
        return;
    }

    QPointer<dialogs::Form2> form2 = new dialogs::Form2(shared_, this);
    form2->show();
    savedPassNumber_ = shared_.PassNumber;
    // The run works on the document as it is now, whatever happens to the
    // editor meanwhile.
    const QString text = editor_->Text();
    shared_.CipherLength = Narrow(text.size());
    SetRunning(true);
    cancelRequested_ = false;
    const bool fitted = RunOverText<Run>(text, form2);
    if (kEncipher) {
        shared_.PassNumber = 0;
    }
    delete form2.data();
    SetRunning(false);
    HoldCipherButtons(false);
    ReturnFocusToEditor();
    if (!fitted) {
        platform_.Notify(this,
                         QStringLiteral("メモリが足りないため、%1できませんでした。")
                             .arg(kEncipher ? QStringLiteral("暗号化") : QStringLiteral("解読")));
    }
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    AfterDecipherRefused();
}

void MainForm::AskPass(bool decipher) {
    if (presetPass_) {
        shared_.PassNumber = *presetPass_;
        presetPass_.reset();
        return;
    }
    if (decipher) {
        shared_.showPassFinder = [this] { ShowPassFinder(); };
    }
    shared_.AskPassNumber();
    shared_.showPassFinder = nullptr;
}

void MainForm::ShowPassFinder() {
    dialogs::PassFinder finder(shared_, editor_->Text(), this);
    finder.exec();
}

void MainForm::AfterDecipherRefused() {
    if (damageShown_) {
        SelectDamage(*editor_, *damageShown_);
        damageShown_.reset();
    }
    if (!searchAfterRun_) {
        return;
    }
    searchAfterRun_ = false;
    ShowPassFinder();
    if (shared_.PassNumber != -1) {
        // Deciphered again with the pass number chosen, as one step.
        presetPass_ = shared_.PassNumber;
        QTimer::singleShot(0, this, [this] { Command2_Click(); });
    }
}

template <class Run>
bool MainForm::RunOverText(const QString& text, QPointer<dialogs::Form2>& form2) {
    constexpr bool kEncipher = std::is_same_v<Run, cipher::EncipherRun>;
    try {
        const std::int64_t units = text.size();
        RunProgress progress(form2, kEncipher, units,
                             kEncipher ? units * kEncipheredPerUnit : units / kUnitsPerGroup);
        std::optional<DecipherJudging> judging;
        if (!kEncipher) {
            judging.emplace(text, savedPassNumber_);
        }
        Run run(desktop::ToU16View(text), savedPassNumber_, shiftedValue_);
        bool cancelled = !DriveRun(run, form2, progress);
        shiftedValue_ = run.ShiftedValue();
        shared_.CipherPosition = Narrow(run.CipherPosition());
        // A cancelled run leaves the document exactly as it was, and so does
        // a doubtful decipher result the person does not want to see.
        std::optional<Judgement> judgement;
        if (!cancelled && judging) {
            judgement = judging->Verdict([&] {
                platform_.DoEvents();
                return !form2.isNull() && !form2->Unloaded() && !cancelRequested_;
            });
            cancelled = !judgement;
        }
        if (!cancelled) {
            const QString result = ResultText(run);
            const Wanted wanted =
                kEncipher ? Wanted::Result : ResultWanted(platform_, *editor_, form2, *judgement);
            if (wanted == Wanted::Result) {
                FillEditor(*editor_, platform_, form2, cancelRequested_, result, progress);
            } else if (!kEncipher) {
                searchAfterRun_ = wanted == Wanted::PassSearch;
                damageShown_ = judgement->evidence.damage;
            }
        }
        return true;
    } catch (const std::bad_alloc&) {
        // The result does not fit in memory: the document stays as it was.
        return false;
    }
}

template bool MainForm::DriveRun(cipher::EncipherRun&, QPointer<dialogs::Form2>&, RunProgress&);
template bool MainForm::DriveRun(cipher::DecipherRun&, QPointer<dialogs::Form2>&, RunProgress&);
template void MainForm::RunCipherCommand<cipher::EncipherRun>();
template void MainForm::RunCipherCommand<cipher::DecipherRun>();

}  // namespace solvena::app
