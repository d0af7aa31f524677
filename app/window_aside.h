// SPDX-License-Identifier: MIT
#pragma once

// Where a window that floats over the editor (検索と置換) goes so that the
// place it has just selected can be seen, as word processors move their
// find windows aside.

#include <QPoint>
#include <QRect>

namespace solvena::app {

// The top left corner for a window's frame `frame` that keeps it clear of
// `place` on `screen` (all in screen coordinates): where it is when it
// covers nothing of it, else the nearest place above or below it (or
// beside it, when neither fits) that the screen holds; where it is when
// none does.
QPoint AsideOf(const QRect& frame, const QRect& place, const QRect& screen);

}  // namespace solvena::app
