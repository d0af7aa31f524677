// SPDX-License-Identifier: MIT
// The cipher commands in the running program: time from the pass number's
// OK to the result painted in the editor, how the progress bar moves, how
// fast キャンセル is answered in the run and in the filling of the editor,
// and the peak memory. Run it on a real display or under xvfb-run:
//   xvfb-run -a build/bench/cipher_run_bench [CHARACTERS...]
// 10,000,000 characters of Japanese are a Shift_JIS file of 20 MB, 40 MB
// enciphered.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <random>
#include <set>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "bench/paint_watch.h"
#include "desktop/text_convert.h"
#include "dialogs/form2.h"
#include "tests/support/random_text.h"
#include "tests/support/scripted_application.h"

namespace {

using solvena::app::MainForm;
using solvena::dialogs::Form2;

using solvena::bench::PaintWatch;

// Counts the widths the progress bar takes, without polling: a poll at every
// pass of pending events would be timed along with the command.
class BarWatch : public QObject {
  public:
    std::set<int> widths;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ChildPolished) {
            QObject* child = static_cast<QChildEvent*>(event)->child();
            if (child->objectName() == QStringLiteral("Form2")) {
                child->findChild<QWidget*>(QStringLiteral("Shape1"))->installEventFilter(this);
            }
        } else if (event->type() == QEvent::Resize) {
            widths.insert(static_cast<QWidget*>(watched)->width());
        }
        return QObject::eventFilter(watched, event);
    }
};

struct Timing {
    qint64 toPaintedMs = 0;
    int barWidthsSeen = 0;
};

// Runs one command on the document in the editor, from OK to the painted result.
Timing Measure(solvena::testing::ScriptedApplication& application, bool encipher) {
    MainForm& main = application.Main();
    QElapsedTimer clock;
    application.Shared().showPassNumberDialog = [&] {
        application.Shared().PassNumber = 1234;
        clock.start();  // OK pressed
    };
    BarWatch bar;
    main.installEventFilter(&bar);
    PaintWatch watch;
    main.Text1().viewport()->installEventFilter(&watch);
    encipher ? main.Command1_Click() : main.Command2_Click();
    main.removeEventFilter(&bar);
    watch.painted = false;
    main.Text1().viewport()->update();
    while (!watch.painted) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    main.Text1().viewport()->removeEventFilter(&watch);
    return {clock.elapsed(), static_cast<int>(bar.widths.size())};
}

// Presses キャンセル once the bar has gone `share` of the way; the time from
// the press until the command has ended.
qint64 CancelLatency(solvena::testing::ScriptedApplication& application, double share) {
    MainForm& main = application.Main();
    application.Shared().showPassNumberDialog = [&] { application.Shared().PassNumber = 99; };
    QElapsedTimer clock;
    QTimer watcher;
    watcher.setInterval(0);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* progress = main.findChild<Form2*>(QStringLiteral("Form2"));
        if (progress != nullptr && !clock.isValid() &&
            progress->Shape1Width() > progress->Picture1ScaleWidth() * share) {
            clock.start();
            progress->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }
    });
    watcher.start();
    main.Command1_Click();
    return clock.isValid() ? clock.elapsed() : -1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        sizes.push_back(std::strtoull(argv[i], nullptr, 10));
    }
    if (sizes.empty()) {
        sizes = {100'000, 10'000'000};
    }
    solvena::testing::ScriptedApplication application;
    application.Platform().SetInteractive(false);
    application.Start();
    for (const std::size_t size : sizes) {
        std::mt19937 rng(static_cast<unsigned>(size));
        const QString plain =
            solvena::desktop::ToQString(solvena::testing::RandomJapanese(rng, size));
        application.Main().Text1().SetText(plain);
        const Timing encipher = Measure(application, true);
        const qsizetype cipherLength = application.Main().Text1().Text().size();
        const Timing decipher = Measure(application, false);
        const bool same = application.Main().Text1().Text() == plain;
        std::printf(
            "%zu characters: encipher %lld ms (%lld enciphered, bar at %d widths), "
            "decipher %lld ms (bar at %d widths), round trip %s\n",
            size, static_cast<long long>(encipher.toPaintedMs),
            static_cast<long long>(cipherLength), encipher.barWidthsSeen,
            static_cast<long long>(decipher.toPaintedMs), decipher.barWidthsSeen,
            same ? "identical" : "DIFFERENT");
        // 暗号化 spends the first tenth of the bar or so in the run, the rest
        // filling the editor.
        for (const double share : {0.05, 0.6}) {
            const qint64 cancel = CancelLatency(application, share);
            if (cancel < 0) {
                std::printf("%zu characters: the run ended before the bar reached %.0f %%\n", size,
                            share * 100);
                continue;
            }
            std::printf("%zu characters: キャンセル at %.0f %% answered in %lld ms, document %s\n",
                        size, share * 100, static_cast<long long>(cancel),
                        application.Main().Text1().Text() == plain ? "unchanged" : "CHANGED");
        }
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory: %ld MB\n", usage.ru_maxrss / 1024);
    return 0;
}
