// SPDX-License-Identifier: MIT
// Find and replace in a large document, each timed until the editor has
// painted: the next place of a word found often, of one found once at the
// far end (the whole document read), with case and width ignored, and
// replacing 100,000 places at once, and taking that back. Run it on a real
// display or under xvfb-run:
//   xvfb-run -a build/bench/find_bench [CHARACTERS]
// (default 60,000,000: a Shift_JIS file of about 100 MB)

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdio>
#include <random>

#include "app/editor_box.h"
#include "app/editor_search.h"
#include "bench/paint_watch.h"
#include "desktop/text_convert.h"
#include "tests/support/random_text.h"

namespace {

using solvena::app::EditorBox;
using solvena::app::EditorSearch;
using solvena::app::SearchOptions;

constexpr std::size_t kPlaces = 100'000;

// Milliseconds from `act` until the editor has painted.
template <class Act>
double UntilPainted(EditorBox& box, Act act) {
    solvena::bench::PaintWatch watch;
    box.viewport()->installEventFilter(&watch);
    QElapsedTimer clock;
    clock.start();
    act();
    box.viewport()->update();
    while (!watch.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    box.viewport()->removeEventFilter(&watch);
    return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

// Finds the next place of `word` from the caret and selects it: the time
// until painted, and the search's own share of it.
std::pair<double, double> FindNext(EditorBox& box, const QString& word, SearchOptions options) {
    double searching = 0;
    const double painted = UntilPainted(box, [&] {
        QElapsedTimer clock;
        clock.start();
        bool wrapped = false;
        const EditorSearch search(*box.document(), word, options);
        const auto found = search.Next(box.textCursor().position(), true, wrapped);
        searching = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        if (found) {
            QTextCursor cursor = box.textCursor();
            cursor.setPosition(found->start);
            cursor.setPosition(found->end, QTextCursor::KeepAnchor);
            box.setTextCursor(cursor);
        }
    });
    return {painted, searching};
}

void Report(const char* what, std::pair<double, double> times) {
    std::printf("  %-31s %7.1f ms (searching %.1f ms)\n", what, times.first, times.second);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    const std::size_t size = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 60'000'000;
    std::mt19937 rng(100);
    QString text = solvena::desktop::ToQString(solvena::testing::RandomJapanese(rng, size));
    // The word found often, spread evenly, and the one at the far end.
    const QString often = QStringLiteral("検索語");
    for (std::size_t i = 0; i < kPlaces; ++i) {
        text.replace(static_cast<qsizetype>(size / kPlaces * i), often.size(), often);
    }
    text.replace(text.size() - 10, 6, QStringLiteral("ＦａｒＥｎｄ"));
    EditorBox box;
    box.resize(640, 480);
    box.show();
    if (!QTest::qWaitForWindowExposed(&box)) {
        return 1;
    }
    QElapsedTimer fill;
    fill.start();
    box.SetText(text);
    std::printf("%zu characters: filled in %.0f ms\n", size,
                static_cast<double>(fill.nsecsElapsed()) / 1e6);
    // The first round lays out the places it goes to; the second finds them laid out.
    for (int round = 1; round <= 2; ++round) {
        std::printf(" round %d\n", round);
        box.moveCursor(QTextCursor::Start);
        Report("next of a word found often", FindNext(box, often, {true, true}));
        box.moveCursor(QTextCursor::Start);
        Report("next of the word at the end",
               FindNext(box, QStringLiteral("ＦａｒＥｎｄ"), {true, true}));
        box.moveCursor(QTextCursor::Start);
        Report("the same, case and width aside", FindNext(box, QStringLiteral("farend"), {}));
        box.moveCursor(QTextCursor::Start);
        Report("a word found nowhere", FindNext(box, QStringLiteral("どこにもない"), {}));
    }
    std::size_t replaced = 0;
    const double all = UntilPainted(box, [&] {
        const auto places = EditorSearch(*box.document(), often, {}).All();
        replaced = places.size();
        solvena::app::ReplaceAll(*box.document(), places, QStringLiteral("置換語"));
    });
    std::printf("  replace all (%zu places)     %7.1f ms\n", replaced, all);
    std::printf("  taking it back                 %7.1f ms\n",
                UntilPainted(box, [&] { box.undo(); }));
    return 0;
}
