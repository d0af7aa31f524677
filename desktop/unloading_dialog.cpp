// SPDX-License-Identifier: MIT
#include "desktop/unloading_dialog.h"

namespace solvena::desktop {

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

}  // namespace solvena::desktop
