// SPDX-License-Identifier: MIT
#pragma once

// Qt's own texts (the editor's context menu, the buttons of standard
// dialogs) in Japanese, whatever the desktop's language: every text a
// person sees in the program is Japanese.

class QCoreApplication;

namespace solvena::desktop {

// Loads Qt's Japanese translation into `application`; false when the
// system has none (the texts then stay English).
bool UseJapaneseQtTexts(QCoreApplication& application);

}  // namespace solvena::desktop
