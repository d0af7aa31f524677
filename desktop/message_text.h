// SPDX-License-Identifier: MIT
#pragma once

// A message's text as a message box shows it. A path of thousands of
// characters would make the box wider than the screen: a long run without
// a blank or line break is shown cut in its middle, and the whole text
// goes to the box's details, where it can be selected and copied.

#include <QString>

class QMessageBox;

namespace solvena::desktop {

// Runs longer than this many characters are cut.
inline constexpr qsizetype kLongestShownRun = 80;

// `text` with each such run cut to its start, "…" and its end.
QString ShownMessage(const QString& text);

// Sets the box's text so, selectable, with the whole text as its details
// where something was cut.
void SetMessageText(QMessageBox& box, const QString& text);

}  // namespace solvena::desktop
