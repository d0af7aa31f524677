// SPDX-License-Identifier: MIT
#pragma once

// The form FILE, "ファイル操作盤": the one dialog through which a document
// file is chosen and read (FileMode 1) or named and written (FileMode 2).
// It reads and writes the file itself, and whenever it closes it puts
// DocText back into the main window's editor.

#include <functional>
#include <optional>

#include "desktop/platform.h"
#include "desktop/unloading_dialog.h"
#include "state/module2.h"

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidgetItem;
class QPushButton;

namespace solvena::filedialog {

class DriveList;
class FolderList;
class FileList;

class FileForm : public desktop::UnloadingDialog {
  public:
    // `putInEditor` puts a text into the main window's editor.
    FileForm(state::Module2& shared, desktop::Platform& platform,
             std::function<void(const QString&)> putInEditor, QWidget* owner);

    void Form_Load();
    void Command1_Click();
    void Command2_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_MouseUp();
    void File1_DblClick();
    void Text1_Change();
    void Text1_Click();
    // Key handlers take the key code and may set it to 0 to swallow it.
    void Text1_KeyPress(int& keyAscii);
    void Form_KeyPress(int& keyAscii);

    // True once a file has been read into DocText.
    bool Loaded() const { return loaded_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Puts DocText back into the main window's editor.
    void Unload() override;

  private:
    // A key pressed in a control, seen before it: true when it is taken.
    bool PreviewKey(QObject* watched, QKeyEvent* key);
    void BuildLists();
    void BuildNameRow();
    void BuildFormatRow();
    void DescribeControls();
    void SetTabOrder();
    void ConnectHandlers();
    // A folder double-clicked in the folder list.
    void EnterFolder(const QListWidgetItem* item);
    void ShowFormatChoices();
    // Puts a type on the format button.
    void ShowFormat(const QString& format);
    // Save mode: the list is for text files; a zkt file has one form.
    void EnableFormatList();
    void OpenOk();
    void SaveOk();
    // Asks about characters that Shift_JIS cannot keep; may turn `format`
    // into UTF-8. False: go back, save nothing.
    bool ConfirmStorable(document::TextFormat& format, bool enciphered);
    // The questions of a save as one type or the other that password files
    // add: before a document from one is saved unprotected, and the
    // password to seal with. False: go back, save nothing.
    bool ConfirmUnsealed();
    std::optional<QString> PasswordToSealWith();
    // Writes DocText to FilePath in `format` (sealed for a password file's
    // name), and closes on success.
    void WriteChosen(const document::TextFormat& format, bool enciphered);

    state::Module2& shared_;
    desktop::Platform& platform_;
    std::function<void(const QString&)> putInEditor_;

    // The controls by role; each one's objectName is its control name.
    QLabel* promptLabel_ = nullptr;          // Label2
    DriveList* driveList_ = nullptr;         // Drive1
    FolderList* folderList_ = nullptr;       // Dir1
    FileList* fileList_ = nullptr;           // File1
    QPushButton* fileTypeButton_ = nullptr;  // Command2: zkt or txt
    QLineEdit* nameBox_ = nullptr;           // Text1
    QPushButton* okButton_ = nullptr;        // Command1
    QLabel* encodingLabel_ = nullptr;        // Label3
    QComboBox* encodingList_ = nullptr;      // Combo1
    QString shownDrive_;                     // the volume the folder list is on
    bool loaded_ = false;
};

}  // namespace solvena::filedialog
