// SPDX-License-Identifier: MIT
#pragma once

// The look shared by all windows: positions in twips, the colours of the
// dialogs and buttons, the Japanese fonts, the pointing-hand cursor.

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QRect>
#include <initializer_list>

class QAbstractButton;
class QPushButton;
class QWidget;

namespace solvena::desktop {

// Layout was drawn in twips; at 96 dots per inch a pixel is 15 twips.
inline constexpr double kTwipsPerPixel = 15.0;

// Twips to whole pixels, halves rounded away from zero.
constexpr int Pixels(double twips) {
    const double pixels = twips / kTwipsPerPixel;
    const double size = pixels < 0 ? -pixels : pixels;
    const auto whole = static_cast<int>(size);
    const int rounded = size - whole >= 0.5 ? whole + 1 : whole;
    return pixels < 0 ? -rounded : rounded;
}

constexpr QRect TwipsRect(int left, int top, int width, int height) {
    return QRect(Pixels(left), Pixels(top), Pixels(width), Pixels(height));
}

inline const QColor kDialogBackground{255, 255, 192};
// Button faces: 解読 and the buttons of the file and pass-number dialogs
// pale green; the progress window's キャンセル and the about box's OK pale
// orange.
inline const QColor kPaleGreen{192, 255, 192};
inline const QColor kPaleOrange{255, 192, 128};

// "ＭＳ ゴシック" and "ＭＳ Ｐゴシック", or the installed Japanese gothic
// fonts that stand in for them.
enum class Face { Gothic, ProportionalGothic };
QFont JapaneseFont(Face face, double points, bool bold);

// The title bars of the small windows: a close box and no minimise or
// maximise button (those flags count only with CustomizeWindowHint), on a
// dialog or on a tool window.
inline Qt::WindowFlags DialogFrame() {
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}
inline Qt::WindowFlags ToolFrame() {
    return Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
}

// Moves a window to the centre of the screen.
void CentreOnScreen(QWidget* window);

// The order the Tab key takes through a window's controls, first to last.
void SetTabChain(std::initializer_list<QWidget*> controls);

// Paints a widget's background in a colour of its own.
void SetBackground(QWidget* widget, const QColor& colour);

// A coloured ("graphical") button: its face in `colour`, drawn raised. The
// colour is also kept in the button's property of this name.
inline constexpr char kButtonColourProperty[] = "buttonColour";
void SetButtonColour(QAbstractButton* button, const QColor& colour);

// The pointing-hand pointer that every button of the program shows.
QCursor HandCursor();

// A pale green button of a small window, named `name`: the hand pointer,
// and Enter presses it when it has the focus.
QPushButton* DialogButton(QWidget* owner, const QString& name, const QString& text);
// A pointer of the program's own from its images (SVG, else PNG), with the
// hot spot at (hotX, hotY) of 32 x 32.
QCursor CursorImage(const QString& svg, const QString& png, int hotX, int hotY,
                    Qt::CursorShape fallback);

}  // namespace solvena::desktop
