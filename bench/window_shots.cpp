// Pictures of the windows as a person sees them (without the window
// manager's frame), for looking at the layout: window_shots OUT_FOLDER.
// Runs on any Qt platform, offscreen included.

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

#include "application.h"
#include "editor_box.h"
#include "file_form.h"
#include "form11.h"
#include "form2.h"
#include "main_form.h"
#include "orla.h"

namespace {

bool Save(QWidget& window, const QString& folder, const char* name) {
    window.show();
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(name) + ".png";
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_shots OUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    solvena::app::Application application({QStringLiteral("solvena")});
    application.Platform().SetInteractive(false);
    application.Start();
    solvena::app::MainForm& main = application.Main();
    bool ok = Save(main, folder, "main-empty");
    main.Text1().SetText(QStringLiteral("暗号化する文書です。\r\n二行目の文章、ABC abc 123。"));
    ok = Save(main, folder, "main-text") && ok;
    solvena::dialogs::Orla about(&main);
    ok = Save(about, folder, "orla") && ok;
    solvena::dialogs::Form11 pass(application.Shared(), application.Platform(), &main);
    ok = Save(pass, folder, "form11") && ok;
    solvena::dialogs::Form2 progress(application.Shared(), &main);
    progress.SetShape1Width(static_cast<float>(progress.Picture1ScaleWidth() * 0.4));
    ok = Save(progress, folder, "form2") && ok;
    for (const std::int16_t mode : {solvena::app::kFileModeOpen, solvena::app::kFileModeSave}) {
        application.Shared().FileMode = mode;
        solvena::filedialog::FileForm file(
            application.Shared(), application.Platform(), [](const QString&) {}, &main);
        ok = Save(file, folder, mode == solvena::app::kFileModeOpen ? "file-open" : "file-save") &&
             ok;
    }
    return ok ? 0 : 1;
}
