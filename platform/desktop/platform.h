// SPDX-License-Identifier: MIT
#pragma once

// The thin layer between the windows and the system, in place of the old
// form runtime: message boxes, the beep, pending events, files, the command
// line and the version. Windows reach the system only through a Platform,
// so tests can script it: the next message boxes can be told what to
// answer, and every box asked and every beep is recorded.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

#include "document_file.h"
#include "file_error.h"

class QWidget;

namespace solvena::platform::desktop {

// Answer codes of message boxes, numbered as the Windows message box API
// numbers them (IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7).
enum Answer : int { kOk = 1, kCancel = 2, kYes = 6, kNo = 7 };

// Title of every confirmation question.
inline constexpr char16_t kConfirmTitle[] = u"確認メッセージ";
// Title of the notices, which have none of their own: the program's name.
inline constexpr char16_t kProgramTitle[] = u"ソルベナ";

struct AskedBox {
    enum class Kind { Confirm, YesNo, Notice };
    Kind kind;
    QString title;
    QString text;
    int answer;
    bool scripted;  // answered by the script, not by a person
};

// A mounted volume, as the drive list shows it.
struct Volume {
    QString path;   // where it is mounted
    QString label;  // its name, or empty
};

// A document file's text and the form it was stored in.
struct ReadDocumentResult {
    QString text;
    platform::core::TextFormat format;
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
    int Confirm(QWidget* parent, const QString& text);
    // The same with Yes and No only, No on Escape. Returns kYes or kNo.
    int AskYesNo(QWidget* parent, const QString& text);
    // An OK button only, no icon, titled with the program's name.
    void Notify(QWidget* parent, const QString& text);
    void Beep();
    // Lets pending window events run, then returns.
    void DoEvents();

    // The arguments after the program's name: the documents to open.
    QStringList DocumentArguments() const { return arguments_.mid(1); }
    // Ends the program at once, with no further events; after a signal
    // (`signal` > 0) as that signal ends a program.
    void EndAtOnce(int signal);

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
    platform::core::Result<ReadDocumentResult> ReadDocument(
        const QString& path, const platform::core::ReadChoice& choice = {}) const;
    // What keeps the text from being written in code page 932, if anything.
    std::optional<platform::core::FileError> CheckStorable(const QString& text) const;
    // The characters that code page 932 would turn into others, if any.
    std::optional<platform::core::LookAlikes> FindLookAlikes(const QString& text) const;
    // Writes the text by the writing rule, replacing the file safely.
    platform::core::Status WriteDocument(const QString& path, const QString& text,
                                         const platform::core::TextFormat& format = {}) const;

    // The mounted volumes a person would pick from, the root first; no
    // pseudo file systems.
    QList<Volume> Volumes() const;
    // The process's current folder.
    QString CurrentFolder() const;
    // The subfolders of a folder (hidden ones left out) and its normal
    // files, sorted by name; nothing when the folder cannot be read.
    std::optional<QStringList> Subfolders(const QString& folder) const;
    std::optional<QStringList> Files(const QString& folder) const;

    // Test seam. Scripted answers are given to the next boxes in turn
    // without showing them. When not interactive, a box without a scripted
    // answer is not shown either and answers Cancel (No for a Yes-No
    // question, OK for a notice).
    void ScriptAnswers(std::initializer_list<int> answers);
    void SetInteractive(bool interactive) { interactive_ = interactive; }
    const std::vector<AskedBox>& Asked() const { return asked_; }
    // The volumes to offer instead of the mounted ones.
    void ScriptVolumes(QList<Volume> volumes) { scriptedVolumes_ = std::move(volumes); }
    void ClearAsked() { asked_.clear(); }
    // What EndAtOnce does instead of ending the program.
    void ScriptEnd(std::function<void(int)> end) { scriptedEnd_ = std::move(end); }
    int BeepCount() const { return beeps_; }

  protected:
    // What a person answers; overridden by tests of the real boxes.
    virtual int ShowConfirm(QWidget* parent, const QString& text);
    virtual int ShowYesNo(QWidget* parent, const QString& text);
    virtual void ShowNotice(QWidget* parent, const QString& text);

  private:
    QStringList arguments_;
    std::deque<int> script_;
    std::vector<AskedBox> asked_;
    std::optional<QList<Volume>> scriptedVolumes_;
    std::function<void(int)> scriptedEnd_;
    bool interactive_ = true;
    bool argumentsExact_ = true;
    int beeps_ = 0;
};

// Paths of the system as the file layer takes them, and back.
std::string LocalPath(const QString& path);

}  // namespace solvena::platform::desktop
