// SPDX-License-Identifier: MIT
#pragma once

// ソルベナ, the desktop program. How it hangs together:
//
//   Application   owns the shared state (Module2) and the main window, on
//                 the platform it is given.
//   MainForm      the form メイン: editor, button bar, cipher buttons; its
//                 handlers are the commands (document_commands.cpp,
//                 cipher_commands.cpp). Dialogs are created when they are
//                 shown and gone when they close; Module2's AskPassNumber
//                 shows the main window's pass-number dialog.
//   Platform      message boxes, beep, pending events, files, recovery
//                 files, version: the only way to the system (desktop/),
//                 scripted in tests.
//   cipher        the pure cipher, driven one yield point at a time;
//                 ranking judges whether a decipher result looks like text
//                 (解読 asks before a doubtful one replaces the document).
//
// The windows exchange data through Module2; the file dialog, when it
// closes, also puts DocText into the main window's editor.

#include <QStringList>
#include <memory>

#include "desktop/end_requests.h"
#include "desktop/platform.h"
#include "state/module2.h"

namespace solvena::app {

class MainForm;

// Makes the program's images available; done by Application, and by tests
// that build windows without one.
void RegisterResources();

class Application {
  public:
    explicit Application(desktop::Platform& platform);
    ~Application();

    // Start-up; false: the program ends at once (see MainForm::Form_Load).
    bool Start();

    state::Module2& Shared() { return shared_; }
    desktop::Platform& Platform() { return platform_; }
    MainForm& Main() { return *main_; }

  private:
    state::Module2 shared_;
    desktop::Platform& platform_;
    std::unique_ptr<MainForm> main_;
    desktop::EndRequests endRequests_;
};

}  // namespace solvena::app
