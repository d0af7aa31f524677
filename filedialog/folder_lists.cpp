// SPDX-License-Identifier: MIT
#include "filedialog/folder_lists.h"

#include <QDir>
#include <QStyle>
#include <QStyledItemDelegate>

#include "desktop/platform.h"
#include "filedialog/file_names.h"

namespace solvena::filedialog {
namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kDepthRole = Qt::UserRole + 1;
constexpr int kIndent = 8;

// Draws each folder one step further in than the folder above it.
class IndentDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem indented = option;
        indented.rect.adjust(kIndent * index.data(kDepthRole).toInt(), 0, 0, 0);
        QStyledItemDelegate::paint(painter, indented, index);
    }
};

}  // namespace

DriveList::DriveList(desktop::Platform& platform, QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("Drive1"));
    for (const desktop::Volume& volume : platform.Volumes()) {
        const QString shown = volume.label.isEmpty()
                                  ? volume.path
                                  : QStringLiteral("%1  [%2]").arg(volume.path, volume.label);
        addItem(shown, volume.path);
    }
}

QString DriveList::Drive() const {
    return currentData().toString();
}

void DriveList::ChooseVolumeOf(const QString& folder) {
    int best = 0;
    qsizetype bestLength = -1;
    for (int i = 0; i < count(); ++i) {
        const QString path = itemData(i).toString();
        const bool holds = folder == path || folder.startsWith(JoinPath(path, QString()));
        if (holds && path.size() > bestLength) {
            best = i;
            bestLength = path.size();
        }
    }
    setCurrentIndex(best);
}

FolderList::FolderList(desktop::Platform& platform, QWidget* parent)
    : QListWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("Dir1"));
    setItemDelegate(new IndentDelegate(this));
}

bool FolderList::SetPath(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    const std::optional<QStringList> subfolders = platform_.Subfolders(clean);
    if (!subfolders) {
        return false;
    }
    path_ = clean;
    clear();
    // The path from the root down, each folder one step further in, then
    // the subfolders of the last one.
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QIcon& icon, const QString& name, const QString& path,
                            int depth) {
        auto* item = new QListWidgetItem(icon, name, this);
        item->setData(kPathRole, path);
        item->setData(kDepthRole, depth);
    };
    QString at = QStringLiteral("/");
    add(open, at, at, 0);
    int depth = 1;
    for (const QString& part : clean.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        at = JoinPath(at, part);
        add(open, part, at, depth++);
    }
    setCurrentRow(count() - 1);
    for (const QString& name : *subfolders) {
        if (!name.startsWith(QLatin1Char('.'))) {
            add(closed, name, JoinPath(path_, name), depth);
        }
    }
    return true;
}

QString FolderList::FolderAt(const QListWidgetItem* item) const {
    return item == nullptr ? QString() : item->data(kPathRole).toString();
}

FileList::FileList(desktop::Platform& platform, QWidget* parent)
    : QListWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("File1"));
}

void FileList::SetPath(const QString& folder) {
    path_ = folder;
    clear();
    const std::optional<QStringList> files = platform_.Files(folder);
    if (!files) {
        return;
    }
    for (const QString& name : *files) {
        if (ListedAsDocument(name) && !name.startsWith(QLatin1Char('.'))) {
            addItem(name);
        }
    }
}

QString FileList::FileName() const {
    const QListWidgetItem* item = currentItem();
    return item != nullptr && item->isSelected() ? item->text() : QString();
}

}  // namespace solvena::filedialog
