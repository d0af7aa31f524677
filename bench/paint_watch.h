// SPDX-License-Identifier: MIT
#pragma once

// Notes that a widget it watches has painted, for timing "until painted".

#include <QEvent>
#include <QObject>

namespace solvena::bench {

class PaintWatch : public QObject {
  public:
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace solvena::bench
