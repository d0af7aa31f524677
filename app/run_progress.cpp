// SPDX-License-Identifier: MIT
#include "app/run_progress.h"

#include "dialogs/form2.h"

namespace solvena::app {
namespace {

// Pending events run at most this many times in a run (and at every yield
// point of a run of fewer).
constexpr std::int64_t kEventPoints = 256;

// About what a unit costs, in nanoseconds, as bench/cipher_run_bench
// measures it: in the run, a unit of its input; in the fill, a unit of the
// result (a long line of enciphered text, or the deciphered lines).
constexpr double kEncipherRunCost = 10;
constexpr double kDecipherRunCost = 7;
constexpr double kLineFillCost = 12;
constexpr double kLinesFillCost = 40;

}  // namespace

RunProgress::RunProgress(const QPointer<dialogs::Form2>& form, bool encipher, std::int64_t runUnits,
                         std::int64_t fillUnits)
    : form_(form), scaleWidth_(form.isNull() ? 0 : form->Picture1ScaleWidth()) {
    const double run =
        static_cast<double>(runUnits) * (encipher ? kEncipherRunCost : kDecipherRunCost);
    const double fill =
        static_cast<double>(fillUnits) * (encipher ? kLineFillCost : kLinesFillCost);
    runShare_ = run + fill > 0 ? run / (run + fill) : 1;
}

void RunProgress::Show(double share) {
    if (!form_.isNull()) {
        form_->SetShape1Width(static_cast<float>(share * scaleWidth_));
    }
}

void RunProgress::Run(std::int64_t position, std::int64_t length) {
    Show(length > 0 ? runShare_ * static_cast<double>(position) / static_cast<double>(length)
                    : runShare_);
}

void RunProgress::Fill(double done) {
    Show(runShare_ + (1 - runShare_) * done);
}

bool RunProgress::EventsDue(std::int64_t position, std::int64_t length) {
    if (position < nextEvents_) {
        return false;
    }
    nextEvents_ = position + length / kEventPoints;
    return true;
}

}  // namespace solvena::app
