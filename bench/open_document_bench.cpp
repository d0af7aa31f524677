// SPDX-License-Identifier: MIT
// Time from start-up with a document file on the command line until the
// main window has painted the document, and the peak memory, e.g.:
//   xvfb-run -a build/bench/open_document_bench big.zkt
// Creates a 4 MB enciphered file of its own when given none.

#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <random>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "cipher/encipher.h"
#include "files/file_io.h"
#include "tests/support/random_text.h"
#include "tests/support/temp_dir.h"

namespace {

// Notes the moment the editor's viewport has painted with the text in it.
class PaintWatch : public QObject {
  public:
    explicit PaintWatch(const solvena::app::EditorBox* box) : box_(box) {}
    bool painted = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !box_->IsEmpty()) {
            painted = true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const solvena::app::EditorBox* box_;
};

}  // namespace

int main(int argc, char** argv) {
    solvena::testing::TempDir dir;
    std::string path = argc > 1 ? argv[1] : dir.File("big.zkt");
    if (argc <= 1) {
        std::mt19937 rng(4);
        const std::u16string plain = solvena::testing::RandomJapanese(rng, 1'100'000);
        std::string enciphered = solvena::cipher::EncipherText(plain, 1234);
        enciphered += "\r\n";
        const auto written = solvena::files::WriteFileSafely(path, enciphered);
        if (!written) {
            std::fprintf(stderr, "%s\n", written.error().Describe().c_str());
            return 1;
        }
        std::printf("file: %zu bytes of enciphered text\n", enciphered.size());
    }

    QElapsedTimer clock;
    clock.start();
    QApplication qt(argc, argv);
    solvena::desktop::Platform platform({QStringLiteral("solvena"), QString::fromStdString(path)});
    solvena::app::Application application(platform);
    PaintWatch watch(&application.Main().Text1());
    application.Main().Text1().viewport()->installEventFilter(&watch);
    if (!application.Start()) {
        return 1;
    }
    const qint64 started = clock.elapsed();
    while (!watch.painted && clock.elapsed() < 60000) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const qint64 painted = clock.elapsed();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("window loaded: %lld ms, document painted: %lld ms, peak memory: %ld MB\n",
                static_cast<long long>(started), static_cast<long long>(painted),
                usage.ru_maxrss / 1024);
    return watch.painted ? 0 : 1;
}
