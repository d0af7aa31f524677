// SPDX-License-Identifier: MIT
#pragma once

// ソルベナ, the desktop program. How it hangs together:
//
//   Application   owns the shared state (Module2), the platform layer and
//                 the main window.
//   MainForm      the form メイン: editor, button bar, cipher buttons; its
//                 handlers are the commands (document_commands.cpp,
//                 cipher_commands.cpp). Dialogs are created when they are
//                 shown and gone when they close; Module2's AskPassNumber
//                 shows the main window's pass-number dialog.
//   platform      message boxes, beep, pending events, files, version: the
//                 only way to the system, scriptable in tests.
//   cipher        the pure cipher core, driven one yield point at a time;
//                 it also judges whether a decipher result looks like text
//                 (解読 asks before a doubtful one replaces the document).
//
// The windows exchange data through Module2; the file dialog, when it
// closes, also puts DocText into the main window's editor.

#include <QStringList>
#include <memory>

#include "end_requests.h"
#include "module2.h"
#include "platform.h"

namespace solvena::app {

class MainForm;

// Makes the program's images available; done by Application, and by tests
// that build windows without one.
void RegisterResources();

class Application {
  public:
    // `arguments` as the program received them, its name first.
    explicit Application(QStringList arguments);
    ~Application();

    // Start-up; false: the program ends at once (see MainForm::Form_Load).
    bool Start();

    state::Module2& Shared() { return shared_; }
    platform::desktop::Platform& Platform() { return platform_; }
    MainForm& Main() { return *main_; }

  private:
    state::Module2 shared_;
    platform::desktop::Platform platform_;
    std::unique_ptr<MainForm> main_;
    platform::desktop::EndRequests endRequests_;
};

}  // namespace solvena::app
