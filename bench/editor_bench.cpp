// SPDX-License-Identifier: MIT
// How quickly the editor answers with one long enciphered line open, or a
// document of as many characters in short lines (a size written lines=N):
// a keystroke in the middle, a wheel step, a scroll bar step, select all
// and copy. Each answer is timed until the editor has painted it. Run it
// on a real display or under xvfb-run:
//   xvfb-run -a build/bench/editor_bench [CHARACTERS | lines=CHARACTERS ...]
// (default 4000000)

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <vector>

#include "app/editor_box.h"
#include "bench/paint_watch.h"

namespace {

using solvena::bench::PaintWatch;

// Milliseconds from `act` until the editor has painted: the median and the
// worst of `rounds`.
template <class Act>
std::pair<double, double> Time(solvena::app::EditorBox& box, int rounds, Act act) {
    PaintWatch watch;
    box.viewport()->installEventFilter(&watch);
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        QApplication::processEvents();
        watch.painted = false;
        QElapsedTimer clock;
        clock.start();
        act(i);
        while (!watch.painted && clock.elapsed() < 5000) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        times.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    box.viewport()->removeEventFilter(&watch);
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void Report(const char* what, std::pair<double, double> times) {
    std::printf("  %-34s median %7.1f ms, worst %7.1f ms\n", what, times.first, times.second);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    std::vector<std::pair<qsizetype, bool>> sizes;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool lines = arg.starts_with("lines=");
        sizes.emplace_back(std::strtoll(argv[i] + (lines ? 6 : 0), nullptr, 10), lines);
    }
    if (sizes.empty()) {
        sizes = {{4'000'000, false}};
    }
    for (const auto& [size, lines] : sizes) {
        // Enciphered signs; in lines of 0 to 60 characters, ended by CR LF.
        QString line(size, Qt::Uninitialized);
        for (qsizetype i = 0, next = 30; i < size; ++i) {
            line[i] = QChar(static_cast<char16_t>(u'!' + (i * 7919) % 90));
            if (lines && i == next && i + 1 < size) {
                line[i] = u'\r';
                line[++i] = u'\n';
                next = i + 1 + (i * 31) % 61;
            }
        }
        solvena::app::EditorBox box;
        box.resize(640, 480);
        box.show();
        box.activateWindow();
        if (!QTest::qWaitForWindowExposed(&box)) {
            return 1;
        }
        QElapsedTimer fill;
        fill.start();
        box.SetText(line);
        std::printf("%lld characters in %s: filled in %.1f ms\n", static_cast<long long>(size),
                    lines ? "short lines" : "one line",
                    static_cast<double>(fill.nsecsElapsed()) / 1e6);
        box.setFocus();
        QTextCursor middle = box.textCursor();
        middle.setPosition(static_cast<int>(size / 2));
        box.setTextCursor(middle);
        Report("keystroke in the middle",
               Time(box, 20, [&](int) { QTest::keyClick(&box, Qt::Key_A); }));
        Report("wheel step down", Time(box, 20, [&](int) {
                   QWheelEvent wheel(QPointF(100, 100), box.mapToGlobal(QPointF(100, 100)),
                                     QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                                     Qt::NoScrollPhase, false);
                   QApplication::sendEvent(box.viewport(), &wheel);
               }));
        Report("scroll bar page step", Time(box, 20, [&](int) {
                   box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
               }));
        Report("scroll bar to a far place", Time(box, 10, [&](int i) {
                   QScrollBar* bar = box.verticalScrollBar();
                   bar->setValue(bar->maximum() * (i % 2 == 0 ? 3 : 1) / 4);
               }));
        QElapsedTimer copy;
        copy.start();
        box.selectAll();
        box.copy();
        std::printf("  %-34s %7.1f ms (%lld characters)\n", "select all and copy",
                    static_cast<double>(copy.nsecsElapsed()) / 1e6,
                    static_cast<long long>(QApplication::clipboard()->text().size()));
    }
    return 0;
}
