// SPDX-License-Identifier: MIT
// The file dialog FILE: names and paths, the lists, and the OK logic in
// open mode; a file that cannot be read is told, and the document kept.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <csignal>

#include "app/application.h"
#include "filedialog/file_names.h"
#include "tests/support/file_dialog_fixture.h"

using solvena::filedialog::FileForm;
using solvena::state::kFalse;
using solvena::state::kFileModeOpen;
using solvena::state::kFileModeSave;
using solvena::state::kTrue;
using solvena::testing::CurrentTempDir;
using solvena::testing::Dialog;
using solvena::testing::ReadBytes;
using solvena::testing::WriteBytes;

class FileDialogOpenTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void namesAndPaths();
    void fileEndingRules_data();
    void fileEndingRules();
    void openModeSetUp();
    void clickingAFileFillsTheNameBox();
    void openReadsTheFileAndCloses();
    void openMissingFileKeepsTheDocument();
    void openEnterOnEmptyNameIsAMissingFile();
    void openBareNameIsInTheFolderShown();
    void openFailuresAreTold_data();
    void openFailuresAreTold();
    void unreadableVolumeFallsBackToTheRoot();
    void keysInAListGoToTheNameBox();
};

void FileDialogOpenTest::namesAndPaths() {
    using namespace solvena::filedialog;
    QCOMPARE(JoinPath(QStringLiteral("/"), QStringLiteral("a.txt")), QStringLiteral("/a.txt"));
    QCOMPARE(JoinPath(QStringLiteral("/home/u"), QStringLiteral("a")), QStringLiteral("/home/u/a"));
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo"), QStringLiteral("zkt")),
             QStringLiteral("/d/memo.zkt"));
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo.Txt"), QStringLiteral("zkt")),
             QStringLiteral("/d/memo.Txt.zkt"));
    QCOMPARE(SavePath(QStringLiteral("/"), QStringLiteral("m.TXT"), QStringLiteral("zkt")),
             QStringLiteral("/m.TXT"));
    QCOMPARE(OpenPath(QStringLiteral("/d"), QStringLiteral("/e/f.txt")),
             QStringLiteral("/e/f.txt"));
}

void FileDialogOpenTest::fileEndingRules_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("listed");       // EndsInDotTxtOrZktAnyCase
    QTest::addColumn<bool>("commandLine");  // EndsInTxtOrZktLowerOrUpper
    QTest::addColumn<bool>("kept");         // EndsInDotTxtOrDotZktLowerOrUpper
    QTest::newRow("a.txt") << QStringLiteral("a.txt") << true << true << true;
    QTest::newRow("a.ZKT") << QStringLiteral("a.ZKT") << true << true << true;
    QTest::newRow("a.TxT") << QStringLiteral("a.TxT") << true << false << false;
    QTest::newRow("abczkt") << QStringLiteral("abczkt") << true << true << false;
    QTest::newRow("abcZkt") << QStringLiteral("abcZkt") << true << false << false;
    QTest::newRow("atxt") << QStringLiteral("atxt") << false << true << false;
    QTest::newRow("a.png") << QStringLiteral("a.png") << false << false << false;
}

void FileDialogOpenTest::fileEndingRules() {
    QFETCH(QString, name);
    QFETCH(bool, listed);
    QFETCH(bool, commandLine);
    QFETCH(bool, kept);
    QCOMPARE(solvena::filedialog::EndsInDotTxtOrZktAnyCase(name), listed);
    QCOMPARE(solvena::filedialog::EndsInTxtOrZktLowerOrUpper(name), commandLine);
    QCOMPARE(solvena::filedialog::EndsInDotTxtOrDotZktLowerOrUpper(name), kept);
}

void FileDialogOpenTest::openModeSetUp() {
    Dialog d(kFileModeOpen);
    QCOMPARE(d.form->objectName(), QStringLiteral("FILE"));
    QCOMPARE(d.form->windowTitle(), QStringLiteral("ファイル操作盤"));
    QCOMPARE(d.form->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("読み込むファイルを指定してください"));
    QVERIFY(d.Name()->text().isEmpty());
    QVERIFY(!d.Button("Command1")->isEnabled());
    QCOMPARE(d.Button("Command1")->text(), QStringLiteral("O K"));
    QVERIFY(!d.Button("Command2")->isVisible());
    QCOMPARE(d.Items("File1"),
             (QStringList{QStringLiteral("abczkt"), QStringLiteral("doc.zkt"),
                          QStringLiteral("memo.txt"), QStringLiteral("READ.TXT")}));
    const QStringList folders = d.Items("Dir1");
    QCOMPARE(folders.first(), QStringLiteral("/"));
    QCOMPARE(folders.last(), QStringLiteral("sub"));
    QVERIFY(!folders.contains(QStringLiteral(".git")));
    QCOMPARE(
        d.form->findChild<QComboBox*>(QStringLiteral("Drive1"))->currentData().toString().left(1),
        QStringLiteral("/"));
}

void FileDialogOpenTest::clickingAFileFillsTheNameBox() {
    for (const std::int16_t mode : {kFileModeOpen, kFileModeSave}) {
        Dialog d(mode);
        QListWidget* files = d.List("File1");
        const QRect memo = files->visualItemRect(files->item(2));
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, memo.center());
        QCOMPARE(d.Name()->text(), mode == kFileModeOpen ? d.dir.Path(QStringLiteral("memo.txt"))
                                                         : QStringLiteral("memo.txt"));
        QCOMPARE(d.Name()->cursorPosition(), d.Name()->text().size());
    }
}

void FileDialogOpenTest::openReadsTheFileAndCloses() {
    Dialog d(kFileModeOpen, QStringLiteral("previous"));
    d.DoubleClick("File1", 3);
    QTRY_VERIFY(!d.form->isVisible());
    QVERIFY(d.form->Loaded());
    QCOMPARE(d.shared.DocText, QStringLiteral("read"));
    QCOMPARE(d.shared.DocChanged, kFalse);
    QVERIFY(d.shared.FilePath.isEmpty());
    QCOMPARE(d.editor, QStringList{QStringLiteral("read")});
}

void FileDialogOpenTest::openMissingFileKeepsTheDocument() {
    Dialog d(kFileModeOpen, QStringLiteral("previous"));
    d.Type(d.dir.Path(QStringLiteral("none.txt")));
    QTest::mouseClick(d.Button("Command1"), Qt::LeftButton);
    QCOMPARE(d.LastNotice(), QStringLiteral("その名前のファイルはありません"));
    QVERIFY(d.form->isVisible());
    QCOMPARE(d.shared.DocText, QStringLiteral("previous"));
    QVERIFY(d.shared.FilePath.isEmpty());
    d.form->close();
    QCOMPARE(d.editor, QStringList{QStringLiteral("previous")});
    QVERIFY(!d.form->Loaded());
}

void FileDialogOpenTest::openEnterOnEmptyNameIsAMissingFile() {
    Dialog d(kFileModeOpen, QStringLiteral("previous"));
    d.PressEnter();
    QCOMPARE(d.LastNotice(), QStringLiteral("その名前のファイルはありません"));
    QCOMPARE(d.shared.DocText, QStringLiteral("previous"));
    QVERIFY(d.form->isVisible());
}

void FileDialogOpenTest::openBareNameIsInTheFolderShown() {
    Dialog d(kFileModeOpen);
    d.DoubleClick("Dir1", d.List("Dir1")->count() - 1);
    QVERIFY(d.Items("File1").contains(QStringLiteral("inner.txt")));
    d.Type(QStringLiteral("inner.txt"));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.DocText, QStringLiteral("inner"));
}

void FileDialogOpenTest::openFailuresAreTold_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("invalid bytes") << QByteArray("ok\x85\x40") << QStringLiteral("3 バイト目");
    QTest::newRow("unreadable") << QByteArray("secret\r\n") << QStringLiteral("アクセス");
}

void FileDialogOpenTest::openFailuresAreTold() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, mentions);
    if (mentions == QStringLiteral("アクセス") && solvena::testing::RunningAsRoot()) {
        QSKIP("running as root: file permissions do not stop reading");
    }
    Dialog d(kFileModeOpen, QStringLiteral("previous"));
    const std::string path = d.dir.File("bad.txt");
    WriteBytes(path, bytes.toStdString());
    if (mentions == QStringLiteral("アクセス")) {
        ::chmod(path.c_str(), 0);
    }
    d.Type(QStringLiteral("bad.txt"));
    d.PressEnter();
    QVERIFY2(d.LastNotice().contains(QStringLiteral("bad.txt")), qPrintable(d.LastNotice()));
    QVERIFY2(d.LastNotice().contains(mentions), qPrintable(d.LastNotice()));
    QVERIFY(d.form->isVisible());
    QCOMPARE(d.shared.DocText, QStringLiteral("previous"));
    QCOMPARE(d.shared.DocChanged, kTrue);
}

void FileDialogOpenTest::unreadableVolumeFallsBackToTheRoot() {
    CurrentTempDir dir;
    solvena::state::Module2 shared;
    shared.FileMode = kFileModeOpen;
    solvena::testing::ScriptedPlatform platform;
    platform.SetInteractive(false);
    platform.ScriptVolumes({{QStringLiteral("/"), QString()},
                            {QStringLiteral("/no/such/medium"), QStringLiteral("USB")}});
    FileForm form(
        shared, platform, [](const QString&) {}, nullptr);
    form.show();
    auto* drives = form.findChild<QComboBox*>(QStringLiteral("Drive1"));
    QCOMPARE(drives->count(), 2);
    drives->setCurrentIndex(1);
    form.Drive1_Change();
    QCOMPARE(platform.Asked().back().text,
             QStringLiteral("ファイルがありません｡再度設定してください"));
    QCOMPARE(drives->currentIndex(), 0);
    QCOMPARE(form.findChild<QListWidget*>(QStringLiteral("Dir1"))->item(0)->text(),
             QStringLiteral("/"));
    QCOMPARE(form.findChild<QListWidget*>(QStringLiteral("Dir1"))->count() > 1, true);
}

void FileDialogOpenTest::keysInAListGoToTheNameBox() {
    Dialog d(kFileModeSave);
    QVERIFY(QTest::qWaitForWindowExposed(d.form.get()));
    d.List("File1")->setFocus();
    QTest::keyClick(d.List("File1"), Qt::Key_M);
    QTRY_VERIFY(d.Name()->hasFocus());
    // Arrow keys type nothing and leave the focus where it is.
    d.List("Dir1")->setFocus();
    QTest::keyClick(d.List("Dir1"), Qt::Key_Down);
    QVERIFY(d.List("Dir1")->hasFocus());
}

QTEST_MAIN(FileDialogOpenTest)
#include "file_dialog_open_test.moc"
