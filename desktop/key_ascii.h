// SPDX-License-Identifier: MIT
#pragma once

// The key codes the windows' key handlers take.

class QKeyEvent;

namespace solvena::desktop {

// Enter and Return.
inline constexpr int kEnter = 13;

// The key code a key press reports to the handlers: the character typed;
// 0 for keys that type nothing (arrows, function keys) and for Tab.
int KeyAscii(const QKeyEvent* event);

}  // namespace solvena::desktop
