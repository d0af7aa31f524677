// SPDX-License-Identifier: MIT
#pragma once

// The form メイン: the program's only document window. A button bar along
// the top (PicTaskBar with the document and program commands), the editor
// Text1, and the two cipher buttons below it.
//
// Its members are defined in five files, by what they do:
//   main_form.cpp          building the controls, Form_Load, Form_Resize,
//                          Text1_Change, Command10 (help), Command11 (exit),
//                          the keys and closing the window
//   command_line.cpp       the document the command line names
//   document_commands.cpp  New (Command9), Open (Command6), Save (Command7),
//                          Form_Unload's question and dropped files
//   cipher_commands.cpp    暗号化 (Command1) and 解読 (Command2), their runs
//   find_commands.cpp      find and replace: Ctrl+F, Ctrl+H, F3, Shift+F3
//   recovery.cpp           keeping the text when the program is ended from
//                          outside, and offering it at the next start

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "cipher/cipher_evidence.h"
#include "state/module2.h"

class QPushButton;

namespace solvena::desktop {
class Platform;
}

namespace solvena::dialogs {
class Form2;
}

namespace solvena::app {

class EditorBox;
class FindForm;
class RunProgress;

// Where the resize rule puts the controls for an inner size of W x H
// pixels; nothing moves when the window is minimized or H is 65 or less.
struct ResizedLayout {
    QRect editor;
    QRect encipherButton;
    QRect decipherButton;
    int helpButtonLeft;
    int exitButtonLeft;
};
std::optional<ResizedLayout> ResizeRule(double width, double height, bool minimized);

class MainForm : public QWidget {
  public:
    MainForm(state::Module2& shared, desktop::Platform& platform);

    bool Running() const { return running_; }
    ~MainForm() override;

    // Start-up. False: the command line names a file of an unsupported
    // kind, and the program ends at once without a window.
    bool Form_Load();

    void Form_Resize();
    void Text1_Change();
    void Command1_Click();
    void Command2_Click();
    void Command6_Click();
    void Command7_Click();
    void Command9_Click();
    void Command10_Click();
    void Command11_Click();
    // Closing the window; true: it stays open.
    bool Form_Unload();

    EditorBox& Text1() { return *editor_; }
    std::int16_t ChangeCount() const { return changeCount_; }

    // Shows the find and replace window (Ctrl+F, Ctrl+H), at the text to
    // look for or at its replacement.
    void ShowFindForm(bool replacement);
    // F3 and Shift+F3: the next or the previous place of the last text
    // looked for; the window when there is none.
    void FindAgain(bool forward);

    // Opens a file dropped on the window, as Open would.
    void OpenDroppedFile(const QString& path);

    // The program is asked to end from outside (`signal`, or 0 for the end
    // of the session): a changed document is kept for the next start first.
    void EndRequested(int signal);
    // Offers the texts kept that way, at start-up.
    void OfferRecovery();

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildButtonBar();
    void BuildEditor();
    void BuildCipherButtons();
    void SetTabOrder();
    // A window made small keeps every control whole.
    void SetMinimumSize();
    void ConnectHandlers();
    // The keys press their buttons.
    void BindKeys();
    void BindFindKeys();
    // Shows the file dialog for FileMode; true when it read a file.
    bool ShowFileDialog();
    // Asks `question` about a changed text, and saves it if wanted. Stop:
    // the command must not go on (Cancel, or a save that did not happen).
    enum class Offer { NothingToSave, Saved, NotSaved, Stop };
    Offer OfferToSave(const QString& question);
    // The two cipher commands, which differ only in the run they drive.
    template <class Run>
    void RunCipherCommand();
    // Asks for the pass number (the search offered when deciphering), or
    // takes the one a search found.
    void AskPass(bool decipher);
    // The window that looks for a pass number for the document.
    void ShowPassFinder();
    void AfterDecipherRefused();
    // Runs over `text` with the progress window shown and puts the result
    // in place of the document; false: the result did not fit in memory.
    template <class Run>
    bool RunOverText(const QString& text, QPointer<dialogs::Form2>& form2);
    // Drives a run to its end (true) or until it is cancelled.
    template <class Run>
    bool DriveRun(Run& run, QPointer<dialogs::Form2>& form2, RunProgress& progress);
    // While the pass number is asked and the run goes on, the cipher
    // buttons cannot be pressed again.
    void HoldCipherButtons(bool held);
    // While a cipher run goes on, the document stays as it was when the run
    // started: the editor is read-only and New, Open, Save and Exit wait.
    void SetRunning(bool running);
    void ReturnFocusToEditor();
    void SetCipherButtons(bool enabled, bool coloured);
    // The file named on the command line, if any; false: end at once.
    bool ReadCommandLine(QString& notice);
    // A password file named on the command line, read once its password
    // is given.
    void ReadSealedArgument(const QString& path);
    // The recovery file of the recovered document goes once the document
    // is saved or given up.
    void ForgetRecoveryIfSettled();
    // Offers a recovery file kept sealed, asking its password after Yes;
    // true when no more are to be offered now.
    bool OfferSealedRecovery(const QString& path);
    // The recovered text, as a changed document with `password` (empty for
    // one of no password file).
    void OpenRecovered(const QString& text, const QString& path, const QString& password);
    void ForgetRecovery();

    state::Module2& shared_;
    desktop::Platform& platform_;

    // The controls by role; each one's objectName is its control name.
    QWidget* buttonBar_ = nullptr;           // PicTaskBar
    EditorBox* editor_ = nullptr;            // Text1
    QPushButton* encipherButton_ = nullptr;  // Command1
    QPushButton* decipherButton_ = nullptr;  // Command2
    QPushButton* openButton_ = nullptr;      // Command6
    QPushButton* saveButton_ = nullptr;      // Command7
    QPushButton* newButton_ = nullptr;       // Command9
    QPushButton* helpButton_ = nullptr;      // Command10
    QPushButton* exitButton_ = nullptr;      // Command11
    QPointer<FindForm> findForm_;            // Form3, while it is open
    std::optional<QPoint> findFormPlace_;    // where Form3 was when it closed

    // Change events of Text1 since its text was last empty, and whether the
    // last one was a person's.
    std::int16_t changeCount_ = 0;
    bool changedByPerson_ = false;

    // The recovery file the document came from, until it is settled.
    QString recoveryPath_;

    bool running_ = false;
    // Closing the window during a run cancels it, then closes as usual.
    bool cancelRequested_ = false;
    bool closeAfterRun_ = false;
    // After a refused decipher result: the damage to show again, whether to
    // look for the pass number, and the pass number found to decipher with.
    std::optional<cipher::DamagePlace> damageShown_;
    bool searchAfterRun_ = false;
    std::optional<std::int16_t> presetPass_;

    // Shared by the two cipher commands.
    std::int16_t savedPassNumber_ = 0;
    std::int32_t shiftedValue_ = 0;
};

}  // namespace solvena::app
