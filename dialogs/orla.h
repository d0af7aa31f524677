// SPDX-License-Identifier: MIT
#pragma once

// The form Orla: the version-information window that Help shows.

#include <QDialog>

class QLabel;
class QPushButton;

namespace solvena::dialogs {

class Orla : public QDialog {
  public:
    explicit Orla(QWidget* owner);

    void Form_Load();
    void Command1_Click();

    // "バージョン  " with the major number, ".", then minor and revision
    // side by side: version 1.0 revision 5 reads 1.05.
    static QString VersionLine(int major, int minor, int revision);

  private:
    QLabel* versionLabel_ = nullptr;  // Label3
};

}  // namespace solvena::dialogs
