// SPDX-License-Identifier: MIT
#pragma once

// The progress window's bar over a whole cipher command: the run over the
// document, then the filling of the editor with its result. Each part has
// the share of the bar that it has of the time, so that the bar is full
// only when the result is in place. Pending events run at the yield points
// of a run, but in a long run not at every one: some hundreds of times in
// all, which still answers the window within milliseconds, rather than
// every twenty characters, which took more time than the run itself.

#include <QPointer>
#include <cstdint>

namespace solvena::dialogs {
class Form2;
}

namespace solvena::app {

class RunProgress {
  public:
    // `runUnits` in, about `fillUnits` out.
    RunProgress(const QPointer<dialogs::Form2>& form, bool encipher, std::int64_t runUnits,
                std::int64_t fillUnits);

    // How far each part has come, from 0 to 1.
    void Run(std::int64_t position, std::int64_t length);
    void Fill(double done);

    // Whether pending events are to run at this yield point of the run.
    bool EventsDue(std::int64_t position, std::int64_t length);

  private:
    void Show(double share);

    QPointer<dialogs::Form2> form_;
    double scaleWidth_;
    double runShare_;
    std::int64_t nextEvents_ = 0;  // the position from which events are due
};

}  // namespace solvena::app
