// SPDX-License-Identifier: MIT
#pragma once

// The form Form3, "検索と置換": finds a text in the main window's editor,
// forward (次を検索, F3) or back (前を検索, Shift+F3), and replaces the
// place found (置換) or every place (すべて置換, one step that Ctrl+Z takes
// back). It stays open beside the main window while a person works in the
// document; closing it leaves the search in Module2 for F3 and for its
// next opening.

#include "desktop/unloading_dialog.h"
#include "state/module2.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace solvena::desktop {
class Platform;
}

namespace solvena::app {

class EditorBox;
struct SearchOptions;

// What a search from the editor's caret came to.
enum class FindOutcome { Found, FoundAfterGoingRound, NotFound };

// Looks for Module2's FindText from the editor's selection on, forward or
// back, and selects the place found.
FindOutcome FindInEditor(EditorBox& editor, const state::Module2& shared, bool forward);

class FindForm : public desktop::UnloadingDialog {
  public:
    FindForm(state::Module2& shared, desktop::Platform& platform, EditorBox& editor,
             QWidget* owner);

    // From Module2's last search, or from the editor's selection.
    void Form_Load();
    void Text1_Change();
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();  // 次を検索
    void Command2_Click();  // 前を検索
    void Command3_Click();  // 置換
    void Command4_Click();  // すべて置換
    void Command5_Click();  // 閉じる

    // Shows it with the focus on the text looked for, or on the replacement.
    void ShowAt(bool replacement);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The search goes to Module2.
    void Unload() override;

  private:
    void BuildBoxes();
    void BuildOptions();
    void BuildButtons();
    void TakeSearch();
    void Find(bool forward);
    // Moves the window off the place just selected, so that it can be seen.
    void MoveAside();
    // Takes the search; false, with a beep, when there is nothing to look
    // for or the document cannot change now (a run holds it).
    bool MayReplace();
    void Tell(const QString& text);

    state::Module2& shared_;
    desktop::Platform& platform_;
    EditorBox& editor_;
    EditorBox* findBox_ = nullptr;             // Text1
    EditorBox* replacementBox_ = nullptr;      // Text2
    QCheckBox* matchCase_ = nullptr;           // Check1
    QCheckBox* matchWidth_ = nullptr;          // Check2
    QPushButton* nextButton_ = nullptr;        // Command1
    QPushButton* previousButton_ = nullptr;    // Command2
    QPushButton* replaceButton_ = nullptr;     // Command3
    QPushButton* replaceAllButton_ = nullptr;  // Command4
    QLabel* status_ = nullptr;                 // Label3
};

}  // namespace solvena::app
