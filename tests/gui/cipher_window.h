// SPDX-License-Identifier: MIT
#pragma once

// A main window for tests of the cipher commands, with the pass number set
// without the dialog and a way to act at a yield point of a run.

#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>
#include <random>

#include "editor_box.h"
#include "encipher.h"
#include "form2.h"
#include "main_form.h"
#include "platform.h"
#include "random_text.h"
#include "text_convert.h"

namespace solvena::testing {

// Multi-line Japanese text with kanji above U+8000.
inline QString Document(std::size_t length) {
    std::mt19937 rng(static_cast<unsigned>(length));
    return platform::ToQString(RandomJapanese(rng, length)) +
           QStringLiteral("\r\n語彙\u8A9E\u9F8D");
}

inline QString Enciphered(const QString& text, std::int16_t pass) {
    return platform::FromAscii(cipher::EncipherText(platform::ToU16View(text), pass));
}

inline dialogs::Form2* ProgressWindow(QWidget* main) {
    return main->findChild<dialogs::Form2*>(QStringLiteral("Form2"));
}

struct CipherWindow {
    explicit CipherWindow(int pass = 1234)
        : platform({QStringLiteral("solvena")}), form(shared, platform) {
        platform.SetInteractive(false);
        form.Form_Load();
        // The pass number the dialog would leave, without the dialog.
        shared.showPassNumberDialog = [this, pass] {
            shared.PassNumber = static_cast<std::int16_t>(pass);
        };
    }
    QPushButton* Button(const char* name) {
        return form.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    // A document typed rather than loaded: it counts as changed.
    void Type(const QString& text) {
        form.Text1().SetText(QString());
        form.Text1().SetText(text.left(1));
        form.Text1().SetText(text);
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

    app::Module2 shared;
    platform::Platform platform;
    app::MainForm form;
};

}  // namespace solvena::testing
