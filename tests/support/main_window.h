// SPDX-License-Identifier: MIT
#pragma once

// The main window as the window tests use it: on its own shared state, a
// scripted platform and a temporary current folder; typing as a person
// would, the pass number given without its dialog, acting at a yield point
// of a run.

#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <random>

#include "app/editor_box.h"
#include "app/main_form.h"
#include "cipher/encipher.h"
#include "desktop/platform.h"
#include "desktop/text_convert.h"
#include "dialogs/form2.h"
#include "tests/support/gui_support.h"
#include "tests/support/random_text.h"
#include "tests/support/scripted_platform.h"

namespace solvena::testing {

// Multi-line Japanese text with kanji above U+8000.
inline QString Document(std::size_t length) {
    std::mt19937 rng(static_cast<unsigned>(length));
    return desktop::ToQString(RandomJapanese(rng, length)) + QStringLiteral("\r\n語彙\u8A9E\u9F8D");
}

inline QString Enciphered(const QString& text, std::int16_t pass) {
    return desktop::FromAscii(cipher::EncipherText(desktop::ToU16View(text), pass));
}

inline dialogs::Form2* ProgressWindow(QWidget* main) {
    return main->findChild<dialogs::Form2*>(QStringLiteral("Form2"));
}

// Puts `text` into the editor as typing it would: the document then counts
// as changed, where the program's filling of an empty editor does not.
inline void TypeIn(app::EditorBox& editor, const QString& text) {
    editor.SetText(QString());
    editor.SetText(text.left(1));
    editor.SetText(text);
}

struct MainWindow {
    // Started (Form_Load, the window shown) now, or by the test.
    enum class Start { Now, Later };

    explicit MainWindow(Start start = Start::Now,
                        QStringList arguments = {QStringLiteral("solvena")})
        : platform(std::move(arguments)), form(shared, platform) {
        platform.SetInteractive(false);
        if (start == Start::Now) {
            form.Form_Load();
        }
    }
    QPushButton* Button(const char* name) {
        return form.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    void Type(const QString& text) { TypeIn(form.Text1(), text); }
    // The pass number the dialog would leave, without the dialog.
    void AnswerPassNumber(int pass) {
        shared.showPassNumberDialog = [this, pass] {
            shared.PassNumber = static_cast<std::int16_t>(pass);
        };
    }
    // Runs `act` at the n-th yield point of the next run (1 = the first).
    void AtYield(int n, std::function<void(dialogs::Form2*)> act) {
        auto* timer = new QTimer(&form);
        timer->setInterval(0);
        auto seen = std::make_shared<int>(0);
        QObject::connect(timer, &QTimer::timeout, &form, [this, timer, seen, n, act] {
            dialogs::Form2* progress = ProgressWindow(&form);
            if (progress == nullptr || !form.Running()) {
                return;
            }
            if (++*seen == n) {
                timer->stop();
                act(progress);
            }
        });
        timer->start();
    }
    // The texts of the boxes asked so far.
    QStringList Questions() const {
        QStringList asked;
        for (const auto& box : platform.Asked()) {
            asked.append(box.text);
        }
        return asked;
    }

    CurrentTempDir dir;
    state::Module2 shared;
    ScriptedPlatform platform;
    app::MainForm form;
};

// The window of the cipher tests: the pass number `pass` comes without the
// dialog.
struct CipherWindow : MainWindow {
    explicit CipherWindow(int pass = 1234) { AnswerPassNumber(pass); }
};

}  // namespace solvena::testing
