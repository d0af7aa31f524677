// SPDX-License-Identifier: MIT
#include "desktop/look.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace solvena::desktop {

QFont JapaneseFont(Face face, double points, bool bold) {
    QFont font;
    if (face == Face::Gothic) {
        font.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                          QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP")});
    } else {
        font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                          QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP")});
    }
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

namespace {

void MoveFrameToCentre(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
}

// A window is centred before the window manager has given it a frame; once
// the frame is there (its size then differs from the window's), the window
// is centred once more with it, unless a person has moved it meanwhile.
class CentreWithFrame : public QObject {
  public:
    explicit CentreWithFrame(QWidget* window)
        : QObject(window), window_(window), placed_(window->pos()) {
        window->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (watched == window_ && (type == QEvent::Move || type == QEvent::Resize) &&
            window_->frameGeometry().size() != window_->size()) {
            if (window_->pos() == placed_) {
                MoveFrameToCentre(window_);
            }
            deleteLater();
        }
        return false;
    }

  private:
    QWidget* window_;
    QPoint placed_;  // where the frame's corner was put
};

}  // namespace

void SetTabChain(std::initializer_list<QWidget*> controls) {
    QWidget* before = nullptr;
    for (QWidget* control : controls) {
        if (before != nullptr) {
            QWidget::setTabOrder(before, control);
        }
        before = control;
    }
}

void CentreOnScreen(QWidget* window) {
    MoveFrameToCentre(window);
    if (window->frameGeometry().size() == window->size()) {
        new CentreWithFrame(window);
    }
}

void SetBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    // A fixed light background keeps dark text under a dark desktop theme.
    if (colour.lightness() > 128) {
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void SetButtonColour(QAbstractButton* button, const QColor& colour) {
    // Restyling is slow and the editor sets the colours at every change:
    // only a new colour is drawn anew.
    if (button->property(kButtonColourProperty).value<QColor>() == colour &&
        !button->styleSheet().isEmpty()) {
        return;
    }
    button->setProperty(kButtonColourProperty, colour);
    button->setStyleSheet(QStringLiteral("QAbstractButton { background-color: %1; color: black;"
                                         " border: 2px outset %2; padding: 0px; }"
                                         "QAbstractButton:pressed { border-style: inset; }"
                                         "QAbstractButton:disabled { color: #808080; }"
                                         "QAbstractButton:focus { outline: 1px dotted black; }")
                              .arg(colour.name(), colour.lighter(115).name()));
}

QCursor CursorImage(const QString& svg, const QString& png, int hotX, int hotY,
                    Qt::CursorShape fallback) {
    // Drawn at the screen's pixel density so that it stays sharp when the
    // desktop scales; the hot spot is in the image's own 32 x 32 units.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen != nullptr ? screen->devicePixelRatio() : 1.0;
    QPixmap image = QIcon(svg).pixmap(QSize(32, 32), ratio);
    if (image.isNull()) {
        image = QPixmap(png);
    }
    if (image.isNull()) {
        return QCursor(fallback);
    }
    return QCursor(image, hotX, hotY);
}

QCursor HandCursor() {
    return CursorImage(QStringLiteral(":/cursors/hand.svg"),
                       QStringLiteral(":/cursors/hand-32.png"), 9, 2, Qt::PointingHandCursor);
}

QPushButton* DialogButton(QWidget* owner, const QString& name, const QString& text) {
    auto* button = new QPushButton(text, owner);
    button->setObjectName(name);
    button->setCursor(HandCursor());
    button->setAutoDefault(true);
    SetButtonColour(button, kPaleGreen);
    return button;
}

}  // namespace solvena::desktop
