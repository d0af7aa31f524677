// SPDX-License-Identifier: MIT
// Keys and drag and drop in the main window.

#include <QDrag>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/platform.h"
#include "dialogs/orla.h"
#include "filedialog/file_form.h"
#include "tests/support/gui_support.h"
#include "tests/support/main_window.h"
#include "tests/support/process.h"

using solvena::state::kFalse;
using solvena::state::kTrue;
using solvena::testing::WhenShown;
using solvena::testing::WriteBytes;

namespace {

// The main window on the screen, where keys and drops reach it.
struct Window : solvena::testing::MainWindow {
    Window() { QVERIFY(QTest::qWaitForWindowExposed(&form)); }
    // Drops files on the window as a desktop would.
    void Drop(const QStringList& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls.append(QUrl::fromLocalFile(path));
        }
        mime.setUrls(urls);
        const QPointF at(50, 100);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(&form, &drop);
    }
};

}  // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void keysRunTheButtonsHandlers();
    void keysWaitWhileAButtonIsDisabled();
    void droppedDocumentOpensAsOpenWould();
    void droppedDocumentAsksAboutUnsavedText();
    void otherFilesAreRefused();
    void aRealDragOfSeveralFilesOpensAWindowForEach();
};

void DesktopTest::keysRunTheButtonsHandlers() {
    Window w;
    w.Type(QStringLiteral("edited"));
    // Ctrl+N asks as New does.
    w.platform.ScriptAnswers({solvena::desktop::kCancel});
    QTest::keyClick(&w.form, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(w.platform.Asked().back().text,
             QStringLiteral("新規作成です。今のテキストは保存しますか?"));
    w.platform.ScriptAnswers({solvena::desktop::kCancel});
    QTest::keyClick(&w.form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(w.platform.Asked().back().text,
             QStringLiteral("新しいファイルを読み込みます。今のファイルは保存しますか？"));
    // Ctrl+S shows the save dialog, F1 the about box.
    bool saved = false;
    WhenShown<solvena::filedialog::FileForm>(&w.form, QStringLiteral("FILE"),
                                             [&saved](solvena::filedialog::FileForm* dialog) {
                                                 saved = true;
                                                 dialog->close();
                                             });
    QTest::keyClick(&w.form, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(saved);
    bool helped = false;
    WhenShown<solvena::dialogs::Orla>(&w.form, QStringLiteral("Orla"),
                                      [&helped](solvena::dialogs::Orla* about) {
                                          helped = true;
                                          QTest::keyClick(about, Qt::Key_Escape);
                                      });
    // Closing a dialog gives the window back its activation, as a desktop does.
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    QTest::keyClick(&w.form, Qt::Key_F1);
    QVERIFY(helped);
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    w.platform.ScriptAnswers({solvena::desktop::kNo});
    QTest::keyClick(&w.form, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!w.form.isVisible());
    QCOMPARE(w.platform.Asked().back().text, QStringLiteral("このテキストを保存しますか?"));
}

void DesktopTest::keysWaitWhileAButtonIsDisabled() {
    Window w;
    w.form.findChild<QPushButton*>(QStringLiteral("Command9"))->setEnabled(false);
    w.Type(QStringLiteral("edited"));
    QTest::keyClick(&w.form, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(w.platform.Asked().empty());
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("edited"));
}

void DesktopTest::droppedDocumentOpensAsOpenWould() {
    Window w;
    WriteBytes(w.dir.File("dropped.zkt"), "1m!ZELKORA\r\n");
    WriteBytes(w.dir.File("second.txt"), "second\r\n");
    w.Drop({w.dir.Path(QStringLiteral("dropped.zkt")), w.dir.Path(QStringLiteral("second.txt"))});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("1m!ZELKORA"));
    QCOMPARE(w.shared.DocChanged, kFalse);
    QVERIFY(w.platform.Asked().empty());
    // The others each in a window of their own.
    QCOMPARE(w.platform.OpenedInNewWindows(),
             QStringList{w.dir.Path(QStringLiteral("second.txt"))});
}

void DesktopTest::droppedDocumentAsksAboutUnsavedText() {
    Window w;
    WriteBytes(w.dir.File("new.txt"), "new\r\n");
    w.Type(QStringLiteral("unsaved"));
    w.platform.ScriptAnswers({solvena::desktop::kCancel});
    w.Drop({w.dir.Path(QStringLiteral("new.txt"))});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("unsaved"));
    w.platform.ScriptAnswers({solvena::desktop::kNo});
    w.Drop({w.dir.Path(QStringLiteral("new.txt"))});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("new"));
    QCOMPARE(w.shared.DocChanged, kFalse);
    // A file that cannot be read leaves the document as it was.
    WriteBytes(w.dir.File("bad.txt"), "x\x85\x40");
    w.Drop({w.dir.Path(QStringLiteral("bad.txt"))});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("new"));
    QVERIFY(w.platform.Asked().back().text.contains(QStringLiteral("bad.txt")));
}

void DesktopTest::otherFilesAreRefused() {
    Window w;
    WriteBytes(w.dir.File("picture.png"), "png");
    w.form.Text1().SetText(QStringLiteral("kept"));
    w.Drop({w.dir.Path(QStringLiteral("picture.png"))});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("kept"));
    QCOMPARE(w.platform.Asked().size(), std::size_t{1});
    QVERIFY(w.platform.Asked()[0].text.contains(QStringLiteral("picture.png")));
}

namespace {

// Sees the drag reach a window, as the window's own handlers see it.
class DragSeen : public QObject {
  public:
    explicit DragSeen(QWidget* window) { window->installEventFilter(this); }
    bool moved = false;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        moved = moved || event->type() == QEvent::DragMove;
        return false;
    }
};

}  // namespace

void DesktopTest::aRealDragOfSeveralFilesOpensAWindowForEach() {
    const QString self = QStringLiteral("aRealDragOfSeveralFilesOpensAWindowForEach");
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        // A drag needs a window system: this test again, on an X display of
        // its own. The X and D-Bus libraries keep what they allocate until
        // the process ends, which a leak check would call leaks: that run is
        // for the drag, and the leak checks are the offscreen runs'.
        if (!QFile::exists(QStringLiteral("/usr/bin/xvfb-run"))) {
            QSKIP("xvfb-run is not installed");
        }
        const solvena::testing::ProcessResult run = solvena::testing::RunProcess(
            "/usr/bin/env", {"ASAN_OPTIONS=detect_leaks=0", "/usr/bin/xvfb-run", "-a",
                             QCoreApplication::applicationFilePath().toStdString(), "-platform",
                             "xcb", self.toStdString()});
        QVERIFY2(run.exitCode == 0, (run.out + run.err).c_str());
        return;
    }
    Window w;
    QStringList paths;
    for (const char* name : {"first.txt", "second.zkt", "third.txt"}) {
        WriteBytes(w.dir.File(name), std::string(name) + "\r\n");
        paths.append(w.dir.Path(QString::fromLatin1(name)));
    }
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) {
        urls.append(QUrl::fromLocalFile(path));
    }
    mime->setUrls(urls);
    // Picked up at the window's corner, carried onto the editor, let go there.
    QWindow* window = w.form.windowHandle();
    const QPoint onto = w.form.Text1().geometry().center();
    DragSeen seen(&w.form);
    QTimer carry;
    carry.setInterval(20);
    int steps = 0;
    QObject::connect(&carry, &QTimer::timeout, [&] {
        QTest::mouseMove(window, onto + QPoint(steps % 2, 0));
        if (seen.moved || ++steps > 1000) {
            carry.stop();
            QTest::mouseRelease(window, Qt::LeftButton, {}, onto);
        }
    });
    QTest::mousePress(window, Qt::LeftButton, {}, QPoint(5, 5));
    carry.start();
    QDrag drag(&w.form);
    drag.setMimeData(mime);
    QCOMPARE(drag.exec(Qt::CopyAction), Qt::CopyAction);
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("first.txt"));
    QCOMPARE(w.platform.OpenedInNewWindows(), paths.mid(1));
}

QTEST_MAIN(DesktopTest)
#include "desktop_test.moc"
