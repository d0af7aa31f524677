// SPDX-License-Identifier: MIT
#pragma once

// The thin layer between the windows and the system, in place of the old
// form runtime: message boxes, the beep, pending events, files, recovery
// files, the command line and the version. Windows reach the system only
// through a Platform, so that tests can give them a scripted one
// (tests/support/scripted_platform.h) that answers the boxes and keeps its
// recovery files in a folder of the test's.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "document/document_file.h"
#include "files/file_error.h"
#include "files/file_stamp.h"
#include "sealing/password_seal.h"

class QWidget;

namespace solvena::desktop {

// Answer codes of message boxes, numbered as the Windows message box API
// numbers them (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7).
enum Answer : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7, kFindPass = 100 };

// Title of every confirmation question.
inline constexpr char16_t kConfirmTitle[] = u"確認メッセージ";
// Title of the notices, which have none of their own: the program's name.
inline constexpr char16_t kProgramTitle[] = u"ソルベナ";

// The three kinds of message box: a question with Yes, No and Cancel, one
// with Yes and No, and a notice with OK.
// YesNoFind offers パスナンバーを探す beside Yes and No, answered kFindPass.
enum class BoxKind { Confirm, YesNo, YesNoNoFirst, YesNoFind, Notice };
// The title a kind of box shows.
QString BoxTitle(BoxKind kind);

// A mounted volume, as the drive list shows it.
struct Volume {
    QString path;   // where it is mounted
    QString label;  // its name, or empty
};

// A document file's text and the form it was stored in.
struct ReadDocumentResult {
    QString text;
    document::TextFormat format;
    std::optional<files::FileStamp> source;  // the file as it was read
    QString password;                        // a password file's, else empty
};

// How opening a password file ended: the document only when `outcome` is
// Done and `error` is empty; `error` also says why the file could not be
// read at all (ReadFailed).
struct UnsealedDocument {
    sealing::Outcome outcome = sealing::Outcome::Failed;
    std::optional<files::FileError> error;
    ReadDocumentResult document;
};

struct Version {
    int major;
    int minor;
    int revision;
};

class Platform {
  public:
    // `arguments` as the program received them, the program's name first.
    explicit Platform(QStringList arguments);
    virtual ~Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // Yes, No and Cancel with the question icon, titled "確認メッセージ",
    // Yes the default button. Returns kYes, kNo or kCancel.
    int Confirm(QWidget* parent, const QString& text) {
        return Ask(BoxKind::Confirm, parent, text);
    }
    // The same with Yes and No only, No on Escape; Yes the default button,
    // or No when `noFirst`. Returns kYes or kNo.
    int AskYesNo(QWidget* parent, const QString& text, bool noFirst = false) {
        return Ask(noFirst ? BoxKind::YesNoNoFirst : BoxKind::YesNo, parent, text);
    }
    // Yes and No, and パスナンバーを探す: kYes, kNo or kFindPass; No the
    // default button.
    int AskYesNoFind(QWidget* parent, const QString& text) {
        return Ask(BoxKind::YesNoFind, parent, text);
    }
    // An OK button only, no icon, titled with the program's name.
    void Notify(QWidget* parent, const QString& text) { Ask(BoxKind::Notice, parent, text); }
    // Shows a box of `kind` and returns the answer.
    virtual int Ask(BoxKind kind, QWidget* parent, const QString& text);
    virtual void Beep();
    // Lets pending window events run, then returns.
    void DoEvents();

    // The arguments after the program's name: the documents to open.
    QStringList DocumentArguments() const { return arguments_.mid(1); }
    // Ends the program at once, with no further events; after a signal
    // (`signal` > 0) as that signal ends a program.
    virtual void EndAtOnce(int signal);
    // Opens the document file in a window of its own: this program started
    // again on it, as a file manager opens each of several files.
    virtual void OpenInNewWindow(const QString& path);

    // Compares the arguments with the bytes the program received; false
    // when one of them is not text in the system's encoding, so that its
    // QString stands for another name.
    void CheckArguments(int argc, char** argv);
    bool ArgumentsExact() const { return argumentsExact_; }
    // A file's name as messages on standard error show it: quoted as ls
    // quotes names with blanks or control characters.
    static QString ShownName(const QString& path);
    // One line on standard error, for what cannot wait for a window.
    void Complain(const QString& line) const;
    static Version ProgramVersion();

    // True when a normal file of that path exists.
    bool FileExists(const QString& path) const;
    // The document text of a file by the reading rule, and its format; the
    // text only on success.
    files::Result<ReadDocumentResult> ReadDocument(const QString& path,
                                                   const document::ReadChoice& choice = {}) const;
    // What keeps the text from being written in code page 932, if anything.
    std::optional<files::FileError> CheckStorable(const QString& text) const;
    // The characters that code page 932 would turn into others, if any.
    std::optional<document::LookAlikes> FindLookAlikes(const QString& text) const;
    // The file at `path` as it is now, and whether it changed since `stamp`.
    std::optional<files::FileStamp> Stamp(const QString& path) const;
    bool ChangedSince(const files::FileStamp& stamp, const QString& path) const;
    // Where interrupted saves of the file at `path` kept its old bytes.
    QStringList KeptCopiesOf(const QString& path) const;
    // Writes the text by the writing rule, replacing the file safely; a file
    // made anew gets at most `permissions`.
    files::Status WriteDocument(const QString& path, const QString& text,
                                const document::TextFormat& format = {},
                                unsigned permissions = 0666) const;

    // A password file's document: unsealed in memory with `password`, never
    // on disk, its bytes then read as ReadDocument reads a file's.
    virtual UnsealedDocument UnsealDocument(const QString& path, const QString& password,
                                            const document::ReadChoice& choice = {}) const;
    // Writes the text as WriteDocument would, sealed with `password` into
    // the password file at `path` by the same careful save: no plain copy
    // is ever written. The message calls its text by the file's name
    // without the sealed ending.
    virtual files::Status WriteSealedDocument(const QString& path, const QString& text,
                                              const document::TextFormat& format,
                                              const QString& password,
                                              unsigned permissions = 0666) const;

    // The mounted volumes a person would pick from, the root first; no
    // pseudo file systems.
    virtual QList<Volume> Volumes() const;
    // The process's current folder.
    QString CurrentFolder() const;
    // The subfolders of a folder (hidden ones left out) and its normal
    // files, sorted by name; nothing when the folder cannot be read.
    std::optional<QStringList> Subfolders(const QString& folder) const;
    std::optional<QStringList> Files(const QString& folder) const;

    // The recovery files, which keep the editor's text when the program
    // was ended from outside (a signal, the session's end) with unsaved
    // changes, for the next start (recovery_file.h).
    // Keeps `text` in a new recovery file; its path on success. The text of
    // a password file's document is kept sealed with its `password`.
    files::Result<QString> KeepRecovery(const QString& text,
                                        const QString& password = QString()) const;
    // Whether a recovery file was kept sealed, to be unsealed rather than read.
    static bool IsSealedRecovery(const QString& path);
    // A sealed recovery file's text, unsealed in memory with `password`: in
    // `document.text` when `outcome` is Done and there is no `error`.
    UnsealedDocument UnsealRecovery(const QString& path, const QString& password) const;
    // The recovery files there are, oldest first.
    QStringList RecoveryFiles() const;
    // The text a recovery file holds, or why it cannot be read: as any
    // file, or too large for this program's memory (refused by its size
    // before it is read).
    files::Result<QString> ReadRecovery(const QString& path) const;
    void RemoveRecovery(const QString& path) const;

  protected:
    // The folder of the recovery files, made when `make` is set.
    virtual files::Result<std::string> RecoveryFolder(bool make) const;

  private:
    QStringList arguments_;
    bool argumentsExact_ = true;
};

// Paths of the system as the file layer takes them, and back.
std::string LocalPath(const QString& path);

}  // namespace solvena::desktop
