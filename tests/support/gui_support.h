// SPDX-License-Identifier: MIT
#pragma once

// Helpers for window tests: a temporary folder as the process's current
// folder, and acting on a modal dialog once it is shown.

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <functional>

#include "filedialog/file_form.h"
#include "tests/support/temp_dir.h"

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

// How long a test waits for a window it expects; a loaded machine or a
// sanitized build is slow, but no window takes this long.
inline constexpr std::chrono::milliseconds kShownDeadline{30000};

// Watches for the modal window named `name`, then acts on it once. It
// belongs to `owner` and goes with it: a window that was never shown by
// then, or not within the deadline, fails the test.
class ShownWatch : public QObject {
  public:
    ShownWatch(QObject* owner, QString name, std::chrono::milliseconds deadline,
               std::function<bool(QWidget*)> wanted, std::function<void(QWidget*)> act)
        : QObject(owner),
          name_(std::move(name)),
          due_(deadline),
          wanted_(std::move(wanted)),
          act_(std::move(act)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { Look(); });
        timer_.start();
    }
    ~ShownWatch() override {
        if (!acted_ && !late_) {
            QTest::qFail(qPrintable(QStringLiteral("the window %1 was never shown").arg(name_)),
                         __FILE__, __LINE__);
        }
    }

  private:
    void Look() {
        QWidget* window = QApplication::activeModalWidget();
        if (window == nullptr || window->objectName() != name_ || !window->isVisible() ||
            !wanted_(window)) {
            if (due_.hasExpired()) {
                late_ = true;
                timer_.stop();
                QTest::qFail(
                    qPrintable(QStringLiteral("the window %1 was not shown in time").arg(name_)),
                    __FILE__, __LINE__);
            }
            return;
        }
        acted_ = true;
        timer_.stop();
        deleteLater();
        act_(window);
    }

    QString name_;
    QDeadlineTimer due_;
    std::function<bool(QWidget*)> wanted_;
    std::function<void(QWidget*)> act_;
    QTimer timer_;
    bool acted_ = false;
    bool late_ = false;
};

// Runs `act` on the modal window named `name` as soon as it is shown (the
// call that shows it does not return until it has closed); see ShownWatch.
template <class Window>
void WhenShown(QObject* owner, const QString& name, std::function<void(Window*)> act,
               std::chrono::milliseconds deadline = kShownDeadline) {
    new ShownWatch(
        owner, name, deadline,
        [](QWidget* window) { return dynamic_cast<Window*>(window) != nullptr; },
        [act](QWidget* window) { act(static_cast<Window*>(window)); });
}

// Types `name` into the file dialog's name box and presses Enter.
inline void EnterName(filedialog::FileForm* dialog, const QString& name) {
    auto* box = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
    box->setText(name);
    QTest::keyClick(box, Qt::Key_Return);
}

// What the next file dialog does when it appears: take `name` and Enter.
inline void WhenFileDialogShownEnter(QObject* owner, const QString& name) {
    WhenShown<filedialog::FileForm>(
        owner, QStringLiteral("FILE"),
        [name](filedialog::FileForm* dialog) { EnterName(dialog, name); });
}

}  // namespace solvena::testing
