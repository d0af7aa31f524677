// SPDX-License-Identifier: MIT
#include "unloading_dialog.h"

namespace solvena::platform::desktop {

void UnloadingDialog::done(int result) {
    Form_Unload();
    QDialog::done(result);
}

void UnloadingDialog::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    Unload();
}

}  // namespace solvena::platform::desktop
