// SPDX-License-Identifier: MIT
#pragma once

// Module2: the variables through which the windows hand everything over,
// with their start values, and AskPassNumber. One object, owned by the
// application and handed to each window; nothing of it is global.

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "document/text_format.h"
#include "files/file_stamp.h"

namespace solvena::state {

// Booleans of the shared state are 16-bit integers, True = -1; the windows
// read and set them as bool.
inline constexpr std::int16_t kTrue = -1;
inline constexpr std::int16_t kFalse = 0;

// What the file dialog is shown for.
inline constexpr std::int16_t kFileModeOpen = 1;
inline constexpr std::int16_t kFileModeSave = 2;

struct Module2 {
    // The pass number entered last; -1: the pass-number dialog was closed
    // without a confirmed number.
    std::int16_t PassNumber = 0;
    // Full path of the document file being read or written; empty whenever
    // the file dialog is closed.
    QString FilePath;
    // The document text on its way between the editor and a file.
    QString DocText;
    std::int16_t FileMode = 0;
    // Loop position and bound of the running cipher command. Closing the
    // progress window sets CipherPosition to CipherLength.
    std::int32_t CipherPosition = 0;
    std::int32_t CipherLength = 0;
    // The document has been edited since it was last loaded, emptied or saved.
    std::int16_t DocChanged = kFalse;
    bool DocumentChanged() const { return DocChanged != kFalse; }
    void SetDocumentChanged(bool changed) { DocChanged = changed ? kTrue : kFalse; }
    // How the document's text file is stored: set by reading a file and by
    // saving one; a new document has the Windows program's (Shift_JIS,
    // CR LF).
    document::TextFormat DocFormat;
    // The file the document was last read from or saved to, as it was then:
    // a save over it asks first when something else has changed it since.
    std::optional<files::FileStamp> DocSource;
    // The last search of the find and replace window, for F3 and for its
    // next opening: the text looked for, the text put in its place (both
    // document text), and whether case and width matter.
    QString FindText;
    QString ReplacementText;
    bool FindMatchCase = false;
    bool FindMatchWidth = false;

    // The password of the document's password file (empty for any other
    // document): kept for its next save and its recovery file, forgotten
    // when the document goes. The password window leaves the one entered
    // here, or empty when it was closed without one; AskPassword puts the
    // document's back.
    QString Password;
    // Whether the password window asks for a new password (twice, with a
    // warning for a weak one) rather than for the one a file was sealed
    // with, and whether the last one given was wrong.
    bool PasswordNew = false;
    bool PasswordWasWrong = false;

    // Shows the pass-number dialog modally; afterwards PassNumber holds the
    // number entered, or -1.
    void AskPassNumber() {
        if (showPassNumberDialog) {
            showPassNumberDialog();
        } else {
            PassNumber = -1;
        }
    }

    // Shows the password window, for a new password (twice) or for a file's
    // (`wasWrong`: the last one given did not open it). The password given,
    // or nothing when the window was closed without one; Password, the
    // document's, stays as it was.
    std::optional<QString> AskPassword(bool isNew, bool wasWrong) {
        const QString kept = Password;
        PasswordNew = isNew;
        PasswordWasWrong = wasWrong;
        Password.clear();
        if (showPasswordDialog) {
            showPasswordDialog();
        }
        std::optional<QString> given;
        if (!Password.isEmpty()) {
            given = Password;
        }
        Password = kept;
        PasswordNew = false;
        PasswordWasWrong = false;
        return given;
    }

    // Set by the application to the dialogs it shows.
    std::function<void()> showPassNumberDialog;
    std::function<void()> showPasswordDialog;
    // Set while a pass number to decipher with is asked: shows the window
    // that finds one for the document, which leaves it in PassNumber (or
    // -1). Unset, the pass-number dialog offers no search.
    std::function<void()> showPassFinder;
};

}  // namespace solvena::state
