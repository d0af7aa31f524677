// SPDX-License-Identifier: MIT
#pragma once

// The three lists of the file dialog, as the old drive, folder and file
// list boxes behaved: Drive1 picks a mounted volume, Dir1 shows the path
// from the root down to the current folder and then its subfolders, File1
// the folder's document files.

#include <QComboBox>
#include <QListWidget>

namespace solvena::desktop {
class Platform;
}

namespace solvena::filedialog {

class DriveList : public QComboBox {
  public:
    DriveList(desktop::Platform& platform, QWidget* parent);
    // The mount path of the volume chosen.
    QString Drive() const;
    // Chooses the volume that holds `folder` (the longest mount path).
    void ChooseVolumeOf(const QString& folder);
};

class FolderList : public QListWidget {
  public:
    FolderList(desktop::Platform& platform, QWidget* parent);
    QString Path() const { return path_; }
    // Shows `folder`; false, with nothing changed, when it cannot be read.
    bool SetPath(const QString& folder);
    // The folder of a row (double-clicked to enter it).
    QString FolderAt(const QListWidgetItem* item) const;

  private:
    desktop::Platform& platform_;
    QString path_;
};

class FileList : public QListWidget {
  public:
    FileList(desktop::Platform& platform, QWidget* parent);
    QString Path() const { return path_; }
    void SetPath(const QString& folder);
    // The name of the selected file, or empty.
    QString FileName() const;

  private:
    desktop::Platform& platform_;
    QString path_;
};

}  // namespace solvena::filedialog
