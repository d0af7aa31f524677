// SPDX-License-Identifier: MIT
#pragma once

// What the window tests read of a coloured button.

#include <QAbstractButton>
#include <QColor>
#include <QVariant>

#include "desktop/look.h"

namespace solvena::testing {

// The colour SetButtonColour last gave the button.
inline QColor ButtonColour(const QAbstractButton* button) {
    return button->property(desktop::kButtonColourProperty).value<QColor>();
}

}  // namespace solvena::testing
