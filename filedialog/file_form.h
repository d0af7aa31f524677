// SPDX-License-Identifier: MIT
#pragma once

// The form FILE, "ファイル操作盤": the one dialog through which a document
// file is chosen and read (FileMode 1) or named and written (FileMode 2).
// It reads and writes the file itself, and whenever it closes it puts
// DocText back into the main window's editor.

#include <QDialog>
#include <functional>
#include <optional>

#include "module2.h"
#include "platform.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace solvena::filedialog {

// Reads the document file a person chose, telling them when it cannot be
// read ("その名前のファイルはありません", or why); the text and the form
// to save it in again only on success. A zkt file gives the form of a new
// document: its text is ASCII, the same in every form.
std::optional<platform::ReadDocumentResult> ReadChosenFile(platform::Platform& platform,
                                                           QWidget* parent, const QString& path,
                                                           const files::ReadChoice& choice = {});

class DriveList;
class FolderList;
class FileList;

class FileForm : public QDialog {
  public:
    // `putInEditor` puts a text into the main window's editor.
    FileForm(app::Module2& shared, platform::Platform& platform,
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
    void Form_Unload();

    // True once a file has been read into DocText.
    bool Loaded() const { return loaded_; }

    // Every way of closing ends here, which runs Form_Unload.
    void done(int result) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildFormatRow();
    void ShowFormatChoices();
    // Save mode: the list is for text files; a zkt file has one form.
    void EnableFormatList();
    void OpenOk();
    void SaveOk();
    // Asks about characters that Shift_JIS cannot keep; may turn `format`
    // into UTF-8. False: go back, save nothing.
    bool ConfirmStorable(files::TextFormat& format, bool enciphered);

    app::Module2& shared_;
    platform::Platform& platform_;
    std::function<void(const QString&)> putInEditor_;

    QLabel* label2_ = nullptr;
    DriveList* drive1_ = nullptr;
    FolderList* dir1_ = nullptr;
    FileList* file1_ = nullptr;
    QPushButton* command2_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
    QLabel* label3_ = nullptr;
    QComboBox* combo1_ = nullptr;
    QString shownDrive_;  // the volume the folder list is on
    bool loaded_ = false;
    bool unloaded_ = false;
};

}  // namespace solvena::filedialog
