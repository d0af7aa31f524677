// SPDX-License-Identifier: MIT
#pragma once

// The glyphs of the line-end marks ␍ and ␊. No font that the program
// installs has them, so it brings its own: a font of just these two
// glyphs, a small filled box with "CR" or "LF" cut out of it, which the
// editor names after its own font so that Qt takes them from it. Being a
// font, the marks are laid out, selected, coloured and scaled as text.

#include <QByteArray>
#include <QFont>
#include <QString>

namespace solvena::app {

// The font file itself (TrueType).
QByteArray MarkFontData();

// `font` with the marks' font as the last of its families. The font is
// registered with the application the first time.
QFont WithMarkFont(const QFont& font);

}  // namespace solvena::app
