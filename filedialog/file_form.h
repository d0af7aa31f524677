#pragma once

// The form FILE, "ファイル操作盤": the one dialog through which a document
// file is chosen and read (FileMode 1) or named and written (FileMode 2).
// It reads and writes the file itself, and whenever it closes it puts
// DocText back into the main window's editor.

#include <QDialog>
#include <functional>
#include <optional>

#include "module2.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace solvena::platform {
class Platform;
}

namespace solvena::filedialog {

// Reads the document file a person chose, telling them when it cannot be
// read ("その名前のファイルはありません", or why); the text only on success.
std::optional<QString> ReadChosenFile(platform::Platform& platform, QWidget* parent,
                                      const QString& path);

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
    void OpenOk();
    void SaveOk();

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
    bool loaded_ = false;
    bool unloaded_ = false;
};

}  // namespace solvena::filedialog
