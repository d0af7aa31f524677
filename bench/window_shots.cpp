// SPDX-License-Identifier: MIT
// Pictures of the windows as a person sees them (without the window
// manager's frame), for looking at the layout: window_shots OUT_FOLDER
// [--dark]. --dark draws them under a dark desktop palette. Runs on any Qt
// platform, offscreen included.

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/find_form.h"
#include "app/main_form.h"
#include "cipher/encipher.h"
#include "dialogs/form11.h"
#include "dialogs/form2.h"
#include "dialogs/orla.h"
#include "dialogs/pass_finder.h"
#include "dialogs/password_form.h"
#include "filedialog/file_form.h"
#include "tests/support/scripted_application.h"

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
    const bool dark = argc == 3 && QLatin1String(argv[2]) == QLatin1String("--dark");
    if (argc != 2 && !dark) {
        std::fprintf(stderr, "usage: window_shots OUT_FOLDER [--dark]\n");
        return 2;
    }
    if (dark) {
        QPalette palette(QColor(53, 53, 53), QColor(40, 40, 40));
        palette.setColor(QPalette::WindowText, QColor(230, 230, 230));
        palette.setColor(QPalette::Text, QColor(230, 230, 230));
        palette.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        QApplication::setPalette(palette);
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    solvena::testing::ScriptedApplication application;
    application.Platform().SetInteractive(false);
    application.Start();
    solvena::app::MainForm& main = application.Main();
    bool ok = Save(main, folder, "main-empty");
    main.Text1().SetText(QStringLiteral("暗号化する文書です。\r\n二行目の文章、ABC abc 123。"));
    ok = Save(main, folder, "main-text") && ok;
    application.Shared().FindText = QStringLiteral("文章");
    application.Shared().ReplacementText = QStringLiteral("文");
    main.ShowFindForm(false);
    main.FindAgain(true);
    ok = Save(main, folder, "main-found") && ok;
    auto* find = main.findChild<solvena::app::FindForm*>(QStringLiteral("Form3"));
    // The whole screen, where a display has one: the find window beside the
    // place it found, not over it.
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        QApplication::processEvents();
        const QString path = folder + QStringLiteral("/screen-found.png");
        std::printf("%s %s\n", screen->grabWindow(0).save(path) ? "wrote" : "could not write",
                    qPrintable(path));
    }
    find->Command4_Click();
    ok = Save(*find, folder, "form3") && ok;
    find->close();
    main.Text1().SetText(QStringLiteral("行末の混在した文書\r\n一行目\r二行目\n三行目"));
    ok = Save(main, folder, "main-marks") && ok;
    main.Text1().SetText(QString::fromLatin1(solvena::cipher::EncipherText(
        u"暗号化する文書です。\r\n二行目の文章、ABC abc 123。(1-2/3!)", 1234)));
    ok = Save(main, folder, "main-enciphered") && ok;
    const QSize size = main.size();
    main.resize(1, 1);
    ok = Save(main, folder, "main-smallest") && ok;
    main.resize(size);
    solvena::dialogs::Orla about(&main);
    ok = Save(about, folder, "orla") && ok;
    solvena::dialogs::Form11 pass(application.Shared(), application.Platform(), &main);
    ok = Save(pass, folder, "form11") && ok;
    pass.close();
    // The same when asking a pass number to decipher with: it offers a search.
    application.Shared().showPassFinder = [] {};
    solvena::dialogs::Form11 decipherPass(application.Shared(), application.Platform(), &main);
    ok = Save(decipherPass, folder, "form11-decipher") && ok;
    decipherPass.close();
    application.Shared().showPassFinder = nullptr;
    solvena::dialogs::PassFinder finder(
        application.Shared(),
        QString::fromLatin1(
            solvena::cipher::EncipherText(u"明日は雨が降るらしい。\r\n傘を持っていくこと。", 4821)),
        &main);
    finder.show();
    while (!finder.Searched()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    ok = Save(finder, folder, "pass-finder") && ok;
    for (const bool twice : {false, true}) {
        application.Shared().PasswordNew = twice;
        solvena::dialogs::PasswordForm password(application.Shared(), application.Platform(),
                                                &main);
        password.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("1234"));
        ok = Save(password, folder, twice ? "password-new" : "password") && ok;
        password.close();
    }
    application.Shared().PasswordNew = false;
    solvena::dialogs::Form2 progress(application.Shared(), &main);
    progress.SetShape1Width(static_cast<float>(progress.Picture1ScaleWidth() * 0.4));
    ok = Save(progress, folder, "form2") && ok;
    for (const std::int16_t mode : {solvena::state::kFileModeOpen, solvena::state::kFileModeSave}) {
        application.Shared().FileMode = mode;
        solvena::filedialog::FileForm file(
            application.Shared(), application.Platform(), [](const QString&) {}, &main);
        ok =
            Save(file, folder, mode == solvena::state::kFileModeOpen ? "file-open" : "file-save") &&
            ok;
    }
    return ok ? 0 : 1;
}
