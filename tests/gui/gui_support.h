#pragma once

// Helpers for window tests: a temporary folder as the process's current
// folder, and acting on a modal dialog once it is shown.

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <functional>

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

}  // namespace solvena::testing
