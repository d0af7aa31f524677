// SPDX-License-Identifier: MIT
#include "desktop/platform.h"

#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStorageInfo>
#include <csignal>
#include <cstdio>
#include <new>
#include <utility>

#include "desktop/message_text.h"
#include "desktop/text_convert.h"
#include "document/document_file.h"
#include "files/file_io.h"
#include "files/kept_copies.h"
#include "files/quoted_name.h"
#include "resources/version.h"

namespace solvena::desktop {

Platform::Platform(QStringList arguments) : arguments_(std::move(arguments)) {}

QString BoxTitle(BoxKind kind) {
    return QString::fromUtf16(kind == BoxKind::Notice ? kProgramTitle : kConfirmTitle);
}

namespace {

// Every box names its buttons alike, in the program's own words whatever
// the desktop's language: Yes and No with the keys that press them, as the
// system's boxes on Japanese Windows show them.
void NameButtons(QMessageBox& box) {
    const std::pair<QMessageBox::StandardButton, const char16_t*> names[] = {
        {QMessageBox::Yes, u"はい(&Y)"},
        {QMessageBox::No, u"いいえ(&N)"},
        {QMessageBox::Cancel, u"キャンセル"},
        {QMessageBox::Ok, u"OK"},
    };
    for (const auto& [which, name] : names) {
        if (QAbstractButton* button = box.button(which)) {
            button->setText(QString::fromUtf16(name));
        }
    }
}

int ShowConfirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, BoxTitle(BoxKind::Confirm), QString(),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    SetMessageText(box, text);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    NameButtons(box);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return kYes;
        case QMessageBox::No:
            return kNo;
        default:
            return kCancel;
    }
}

// はい and いいえ; いいえ the default for YesNoNoFirst, and パスナンバーを探す
// beside them for YesNoFind, which asks about a result that looks wrong:
// いいえ its default too.
int ShowYesNo(QWidget* parent, const QString& text, BoxKind kind) {
    QMessageBox box(QMessageBox::Question, BoxTitle(BoxKind::YesNo), QString(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    SetMessageText(box, text);
    QPushButton* find =
        kind == BoxKind::YesNoFind
            ? box.addButton(QStringLiteral("パスナンバーを探す(&F)"), QMessageBox::ActionRole)
            : nullptr;
    box.setDefaultButton(kind == BoxKind::YesNo ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    NameButtons(box);
    const int answer = box.exec();
    if (find != nullptr && box.clickedButton() == find) {
        return kFindPass;
    }
    return answer == QMessageBox::Yes ? kYes : kNo;
}

int ShowNotice(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, BoxTitle(BoxKind::Notice), QString(), QMessageBox::Ok,
                    parent);
    SetMessageText(box, text);
    NameButtons(box);
    box.exec();
    return kOk;
}

}  // namespace

int Platform::Ask(BoxKind kind, QWidget* parent, const QString& text) {
    switch (kind) {
        case BoxKind::Confirm:
            return ShowConfirm(parent, text);
        case BoxKind::YesNo:
        case BoxKind::YesNoNoFirst:
        case BoxKind::YesNoFind:
            return ShowYesNo(parent, text, kind);
        case BoxKind::Notice:
            break;
    }
    return ShowNotice(parent, text);
}

void Platform::Beep() {
    QApplication::beep();
}

void Platform::DoEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Platform::EndAtOnce(int signal) {
    std::fflush(nullptr);
    if (signal > 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    ::_exit(0);
}

void Platform::OpenInNewWindow(const QString& path) {
    QProcess::startDetached(QCoreApplication::applicationFilePath(), {path});
}

void Platform::CheckArguments(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        if (QFile::encodeName(QFile::decodeName(raw)) != raw) {
            argumentsExact_ = false;
        }
    }
}

QString Platform::ShownName(const QString& path) {
    return QFile::decodeName(QByteArray::fromStdString(files::QuotedName(LocalPath(path))));
}

void Platform::Complain(const QString& line) const {
    const QByteArray bytes = (QStringLiteral("solvena: ") + line + QLatin1Char('\n')).toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

Version Platform::ProgramVersion() {
    return {kVersionMajor, kVersionMinor, kVersionRevision};
}

bool Platform::FileExists(const QString& path) const {
    return files::IsNormalFile(LocalPath(path));
}

// Too little memory for a document is told like any failure to read or
// write it, and the program goes on.
files::Result<ReadDocumentResult> Platform::ReadDocument(const QString& path,
                                                         const document::ReadChoice& choice) const {
    try {
        // Taken first: a file changed meanwhile counts as changed since.
        const std::optional<files::FileStamp> stamp = files::StampOf(LocalPath(path));
        files::Result<document::Document> read =
            document::ReadDocumentFile(LocalPath(path), choice);
        if (!read) {
            return read.error();
        }
        return ReadDocumentResult{ToQString(read.value().text), read.value().format, stamp, {}};
    } catch (const std::bad_alloc&) {
        return files::OutOfMemory(LocalPath(path));
    }
}

std::optional<files::FileStamp> Platform::Stamp(const QString& path) const {
    return files::StampOf(LocalPath(path));
}

bool Platform::ChangedSince(const files::FileStamp& stamp, const QString& path) const {
    return files::ChangedSince(stamp, LocalPath(path));
}

QStringList Platform::KeptCopiesOf(const QString& path) const {
    QStringList copies;
    for (const std::string& copy : files::KeptCopiesOf(LocalPath(path))) {
        copies.append(QFile::decodeName(QByteArray::fromStdString(copy)));
    }
    return copies;
}

std::optional<files::FileError> Platform::CheckStorable(const QString& text) const {
    try {
        files::Result<std::string> bytes =
            document::EncodeDocument(ToU16View(text), document::Encoding::Cp932, std::string());
        if (bytes) {
            return std::nullopt;
        }
        return bytes.error();
    } catch (const std::bad_alloc&) {
        return files::OutOfMemory(std::string());
    }
}

std::optional<document::LookAlikes> Platform::FindLookAlikes(const QString& text) const {
    try {
        return document::FindLookAlikes(ToU16View(text));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

files::Status Platform::WriteDocument(const QString& path, const QString& text,
                                      const document::TextFormat& format,
                                      unsigned permissions) const {
    try {
        files::NewFileRules rules;
        rules.mode = permissions;
        return document::WriteDocumentFile(LocalPath(path), ToU16View(text), format, rules);
    } catch (const std::bad_alloc&) {
        return files::OutOfMemory(LocalPath(path));
    }
}

namespace {

// File systems of the kernel and of containers, not volumes a person picks.
constexpr const char* kPseudoFileSystems[] = {
    "proc",    "sysfs",     "devtmpfs",   "devpts",   "tmpfs",       "cgroup",          "cgroup2",
    "overlay", "squashfs",  "securityfs", "pstore",   "bpf",         "tracefs",         "debugfs",
    "mqueue",  "hugetlbfs", "fusectl",    "configfs", "autofs",      "binfmt_misc",     "efivarfs",
    "nsfs",    "ramfs",     "rpc_pipefs", "nfsd",     "fuse.portal", "fuse.gvfsd-fuse",
};

bool IsPseudoFileSystem(const QByteArray& type) {
    for (const char* pseudo : kPseudoFileSystems) {
        if (type == pseudo) {
            return true;
        }
    }
    return false;
}

}  // namespace

QList<Volume> Platform::Volumes() const {
    const auto hidden = [](const QString& path) {
        for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var"}) {
            const QString prefix = QString::fromLatin1(system);
            if (path == prefix || path.startsWith(prefix + QLatin1Char('/'))) {
                // Removable media are mounted under /run/media.
                return !path.startsWith(QLatin1String("/run/media/"));
            }
        }
        return false;
    };
    QList<Volume> volumes{{QStringLiteral("/"), QStorageInfo::root().name()}};
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        const QString path = storage.rootPath();
        if (path == QLatin1String("/") || !storage.isValid() ||
            IsPseudoFileSystem(storage.fileSystemType()) || hidden(path)) {
            continue;
        }
        volumes.append({path, storage.name()});
    }
    return volumes;
}

QString Platform::CurrentFolder() const {
    return QDir::currentPath();
}

std::optional<QStringList> Platform::Subfolders(const QString& folder) const {
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        return std::nullopt;
    }
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

std::optional<QStringList> Platform::Files(const QString& folder) const {
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable()) {
        return std::nullopt;
    }
    return dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace solvena::desktop
