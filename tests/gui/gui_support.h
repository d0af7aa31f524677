// SPDX-License-Identifier: MIT
#pragma once

// Helpers for window tests: a temporary folder as the process's current
// folder, and acting on a modal dialog once it is shown.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "file_form.h"
#include "temp_dir.h"

namespace solvena::testing {

// A temporary folder that is the current folder while this lives.
class CurrentTempDir : public TempDir {
  public:
    CurrentTempDir() : previous_(QDir::currentPath()) { QDir::setCurrent(Folder()); }
    ~CurrentTempDir() { QDir::setCurrent(previous_); }
    QString Folder() const { return QString::fromStdString(path()); }
    QString Path(const QString& name) const { return Folder() + QLatin1Char('/') + name; }

  private:
    QString previous_;
};

// Runs `act` on the modal window named `name` as soon as it is shown (the
// call that shows it does not return until it has closed).
template <class Window>
void WhenShown(const QString& name, std::function<void(Window*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, name, act] {
        auto* window = dynamic_cast<Window*>(QApplication::activeModalWidget());
        if (window == nullptr || window->objectName() != name || !window->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(window);
    });
    timer->start();
}

// Types `name` into the file dialog's name box and presses Enter.
inline void EnterName(filedialog::FileForm* dialog, const QString& name) {
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
    box->setText(name);
    QTest::keyClick(box, Qt::Key_Return);
}

// What the next file dialog does when it appears: take `name` and Enter.
inline void WhenFileDialogShownEnter(const QString& name) {
    WhenShown<filedialog::FileForm>(
        QStringLiteral("FILE"), [name](filedialog::FileForm* dialog) { EnterName(dialog, name); });
}

}  // namespace solvena::testing
