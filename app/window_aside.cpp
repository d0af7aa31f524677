// SPDX-License-Identifier: MIT
#include "app/window_aside.h"

#include <algorithm>
#include <array>

namespace solvena::app {
namespace {

// A little room between the place and the window.
constexpr int kGap = 8;

// `start` moved as little as it takes to keep `length` within `low`..`high`.
int Within(int start, int length, int low, int high) {
    return std::max(low, std::min(start, high - length + 1));
}

}  // namespace

QPoint AsideOf(const QRect& frame, const QRect& place, const QRect& screen) {
    if (!frame.intersects(place)) {
        return frame.topLeft();
    }
    const int x = Within(frame.left(), frame.width(), screen.left(), screen.right());
    const int y = Within(frame.top(), frame.height(), screen.top(), screen.bottom());
    // Below or above first, the window's side kept; then right or left.
    const std::array<QPoint, 4> candidates = {
        QPoint(x, place.bottom() + 1 + kGap),
        QPoint(x, place.top() - kGap - frame.height()),
        QPoint(place.right() + 1 + kGap, y),
        QPoint(place.left() - kGap - frame.width(), y),
    };
    const QPoint* best = nullptr;
    for (std::size_t pair = 0; pair < candidates.size(); pair += 2) {
        for (std::size_t i = pair; i < pair + 2; ++i) {
            const QRect moved(candidates[i], frame.size());
            const bool nearer =
                best == nullptr || (candidates[i] - frame.topLeft()).manhattanLength() <
                                       (*best - frame.topLeft()).manhattanLength();
            if (screen.contains(moved) && !moved.intersects(place) && nearer) {
                best = &candidates[i];
            }
        }
        if (best != nullptr) {
            return *best;
        }
    }
    return frame.topLeft();
}

}  // namespace solvena::app
