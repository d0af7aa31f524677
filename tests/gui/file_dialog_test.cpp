// The file dialog FILE on its own: set-up, lists, the OK logic in both
// modes, the overwrite question, and every failure told, never fatal.

#include <sys/resource.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <csignal>

#include "application.h"
#include "file_form.h"
#include "file_names.h"
#include "gui_support.h"
#include "module2.h"
#include "platform.h"

using solvena::app::kFalse;
using solvena::app::kFileModeOpen;
using solvena::app::kFileModeSave;
using solvena::app::kTrue;
using solvena::filedialog::FileForm;
using solvena::testing::CurrentTempDir;
using solvena::testing::ReadBytes;
using solvena::testing::WriteBytes;

namespace {

// A file dialog in a temporary current folder, its closing text recorded.
struct Dialog {
    explicit Dialog(std::int16_t mode, QString docText = QString())
        : platform({QStringLiteral("solvena")}) {
        platform.SetInteractive(false);
        shared.FileMode = mode;
        shared.DocText = std::move(docText);
        shared.DocChanged = kTrue;
        WriteBytes(dir.File("memo.txt"), "memo\r\n");
        WriteBytes(dir.File("READ.TXT"), "read\r\n");
        WriteBytes(dir.File("doc.zkt"), "1m!ZELKORA\r\n");
        WriteBytes(dir.File("abczkt"), "");
        WriteBytes(dir.File("x.png"), "");
        WriteBytes(dir.File(".hidden.txt"), "");
        ::mkdir(dir.File("sub").c_str(), 0755);
        ::mkdir(dir.File(".git").c_str(), 0755);
        WriteBytes(dir.File("sub/inner.txt"), "inner\r\n");
        form = std::make_unique<FileForm>(
            shared, platform, [this](const QString& text) { editor.append(text); }, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QLineEdit* Name() { return form->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    QPushButton* Button(const char* name) {
        return form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QListWidget* List(const char* name) {
        return form->findChild<QListWidget*>(QString::fromLatin1(name));
    }
    QStringList Items(const char* name) {
        QStringList items;
        for (int i = 0; i < List(name)->count(); ++i) {
            items.append(List(name)->item(i)->text());
        }
        return items;
    }
    void Type(const QString& name) { Name()->setText(name); }
    void PressEnter() { QTest::keyClick(Name(), Qt::Key_Return); }
    // A double click as the list reports it (QTest's own double click is
    // taken for something else after earlier clicks).
    void DoubleClick(const char* list, int row) {
        QListWidget* widget = List(list);
        QListWidgetItem* item = widget->item(row);
        widget->setCurrentItem(item);
        emit widget->itemDoubleClicked(item);
    }
    QString LastNotice() const {
        return platform.Asked().empty() ? QString() : platform.Asked().back().text;
    }

    CurrentTempDir dir;
    solvena::app::Module2 shared;
    solvena::platform::Platform platform;
    QStringList editor;  // every text the closing put into the editor
    std::unique_ptr<FileForm> form;
};

}  // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void namesAndPaths();
    void openModeSetUp();
    void saveModeSetUp();
    void formatButtonToggles();
    void clickingAFileFillsTheNameBox();
    void openReadsTheFileAndCloses();
    void openMissingFileKeepsTheDocument();
    void openEnterOnEmptyNameIsAMissingFile();
    void openBareNameIsInTheFolderShown();
    void openFailuresAreTold_data();
    void openFailuresAreTold();
    void saveWritesWithTheExtensionRule_data();
    void saveWritesWithTheExtensionRule();
    void saveAbsolutePathIsUsedAsItIs();
    void overwriteQuestionAnswers();
    void saveRefusesTextCodePage932CannotHold();
    void saveFailuresAreTold();
    void saveDiskFullLeavesTheFileIntact();
    void unreadableVolumeFallsBackToTheRoot();
    void keysInAListGoToTheNameBox();
    void enteringAFolderShowsItsFiles();
};

void FileDialogTest::namesAndPaths() {
    using namespace solvena::filedialog;
    QCOMPARE(JoinPath(QStringLiteral("/"), QStringLiteral("a.txt")), QStringLiteral("/a.txt"));
    QCOMPARE(JoinPath(QStringLiteral("/home/u"), QStringLiteral("a")), QStringLiteral("/home/u/a"));
    QVERIFY(IsListedFile(QStringLiteral("a.TxT")));
    QVERIFY(IsListedFile(QStringLiteral("abczkt")));
    QVERIFY(IsListedFile(QStringLiteral("a.ZKT")));
    QVERIFY(!IsListedFile(QStringLiteral("atxt")));
    QVERIFY(!IsListedFile(QStringLiteral("a.png")));
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo"), QStringLiteral("zkt")),
             QStringLiteral("/d/memo.zkt"));
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo.Txt"), QStringLiteral("zkt")),
             QStringLiteral("/d/memo.Txt.zkt"));
    QCOMPARE(SavePath(QStringLiteral("/"), QStringLiteral("m.TXT"), QStringLiteral("zkt")),
             QStringLiteral("/m.TXT"));
    QCOMPARE(OpenPath(QStringLiteral("/d"), QStringLiteral("/e/f.txt")),
             QStringLiteral("/e/f.txt"));
}

void FileDialogTest::openModeSetUp() {
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

void FileDialogTest::saveModeSetUp() {
    Dialog d(kFileModeSave, QStringLiteral("text"));
    QCOMPARE(d.form->findChild<QLabel*>(QStringLiteral("Label2"))->text(),
             QStringLiteral("保存する名前を入力してください"));
    QCOMPARE(d.Name()->text(), QStringLiteral("Newname"));
    QVERIFY(d.Button("Command1")->isEnabled());
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("zkt"));
    QCOMPARE(d.Button("Command2")->toolTip(), QStringLiteral("ファイルの形式"));
    d.Type(QString());
    QVERIFY(!d.Button("Command1")->isEnabled());
}

void FileDialogTest::formatButtonToggles() {
    Dialog d(kFileModeSave);
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("txt"));
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("zkt"));
}

void FileDialogTest::clickingAFileFillsTheNameBox() {
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

void FileDialogTest::openReadsTheFileAndCloses() {
    Dialog d(kFileModeOpen, QStringLiteral("previous"));
    d.DoubleClick("File1", 3);
    QTRY_VERIFY(!d.form->isVisible());
    QVERIFY(d.form->Loaded());
    QCOMPARE(d.shared.DocText, QStringLiteral("read"));
    QCOMPARE(d.shared.DocChanged, kFalse);
    QVERIFY(d.shared.FilePath.isEmpty());
    QCOMPARE(d.editor, QStringList{QStringLiteral("read")});
}

void FileDialogTest::openMissingFileKeepsTheDocument() {
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

void FileDialogTest::openEnterOnEmptyNameIsAMissingFile() {
    Dialog d(kFileModeOpen, QStringLiteral("previous"));
    d.PressEnter();
    QCOMPARE(d.LastNotice(), QStringLiteral("その名前のファイルはありません"));
    QCOMPARE(d.shared.DocText, QStringLiteral("previous"));
    QVERIFY(d.form->isVisible());
}

void FileDialogTest::openBareNameIsInTheFolderShown() {
    Dialog d(kFileModeOpen);
    d.DoubleClick("Dir1", d.List("Dir1")->count() - 1);
    QVERIFY(d.Items("File1").contains(QStringLiteral("inner.txt")));
    d.Type(QStringLiteral("inner.txt"));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.DocText, QStringLiteral("inner"));
}

void FileDialogTest::openFailuresAreTold_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("mentions");
    QTest::newRow("invalid bytes") << QByteArray("ok\x85\x40") << QStringLiteral("3 バイト目");
    QTest::newRow("unreadable") << QByteArray("secret\r\n") << QStringLiteral("アクセス");
}

void FileDialogTest::openFailuresAreTold() {
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

void FileDialogTest::saveWritesWithTheExtensionRule_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("txtButton");
    QTest::addColumn<QString>("written");
    QTest::newRow("Newname") << QStringLiteral("Newname") << false << QStringLiteral("Newname.zkt");
    QTest::newRow("as txt") << QStringLiteral("plain") << true << QStringLiteral("plain.txt");
    QTest::newRow("known upper") << QStringLiteral("NOTE.TXT") << false
                                 << QStringLiteral("NOTE.TXT");
    QTest::newRow("known, button ignored")
        << QStringLiteral("n.zkt") << true << QStringLiteral("n.zkt");
    QTest::newRow("mixed case") << QStringLiteral("memo.Txt") << false
                                << QStringLiteral("memo.Txt.zkt");
    QTest::newRow("Japanese") << QStringLiteral("日記") << true << QStringLiteral("日記.txt");
}

void FileDialogTest::saveWritesWithTheExtensionRule() {
    QFETCH(QString, name);
    QFETCH(bool, txtButton);
    QFETCH(QString, written);
    Dialog d(kFileModeSave, QStringLiteral("abc\r\n日本"));
    if (txtButton) {
        d.form->Command2_Click();
    }
    d.Type(name);
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(QString::fromStdString(ReadBytes(d.dir.Path(written).toStdString())),
             QString::fromStdString(std::string("abc\r\n\x93\xfa\x96\x7b\r\n")));
    QCOMPARE(d.shared.DocChanged, kFalse);
    QVERIFY(d.platform.Asked().empty());
    QCOMPARE(d.editor, QStringList{QStringLiteral("abc\r\n日本")});
}

void FileDialogTest::saveAbsolutePathIsUsedAsItIs() {
    Dialog d(kFileModeSave, QStringLiteral("x"));
    solvena::testing::TempDir other;
    d.Type(QString::fromStdString(other.File("elsewhere.txt")));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(ReadBytes(other.File("elsewhere.txt")), std::string("x\r\n"));
}

void FileDialogTest::overwriteQuestionAnswers() {
    {
        Dialog d(kFileModeSave, QStringLiteral("new"));
        d.Type(QStringLiteral("memo.txt"));
        d.platform.ScriptAnswers({solvena::platform::kNo});
        d.PressEnter();
        QCOMPARE(d.platform.Asked().back().text,
                 QStringLiteral("同じ名前のファイルがあります。上書きしますか。"));
        QCOMPARE(d.platform.Asked().back().title, QStringLiteral("確認メッセージ"));
        QVERIFY(d.Name()->text().isEmpty());
        QVERIFY(!d.Button("Command1")->isEnabled());
        QVERIFY(d.form->isVisible());
        QCOMPARE(ReadBytes(d.dir.File("memo.txt")), std::string("memo\r\n"));
    }
    {
        Dialog d(kFileModeSave, QStringLiteral("new"));
        d.Type(QStringLiteral("memo.txt"));
        d.platform.ScriptAnswers({solvena::platform::kCancel});
        d.PressEnter();
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(ReadBytes(d.dir.File("memo.txt")), std::string("memo\r\n"));
        QCOMPARE(d.shared.DocChanged, kTrue);
    }
    {
        Dialog d(kFileModeSave, QStringLiteral("new"));
        d.Type(QStringLiteral("memo.txt"));
        d.platform.ScriptAnswers({solvena::platform::kYes});
        d.PressEnter();
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(ReadBytes(d.dir.File("memo.txt")), std::string("new\r\n"));
        QCOMPARE(d.shared.DocChanged, kFalse);
    }
}

void FileDialogTest::saveRefusesTextCodePage932CannotHold() {
    Dialog d(kFileModeSave, QStringLiteral("line\r\ncafé \U0001F600"));
    d.PressEnter();
    QVERIFY(d.form->isVisible());
    QVERIFY2(d.LastNotice().contains(QStringLiteral("2 個")), qPrintable(d.LastNotice()));
    QVERIFY2(d.LastNotice().contains(QStringLiteral("2 行 4 列の U+00E9")),
             qPrintable(d.LastNotice()));
    QVERIFY2(d.LastNotice().contains(QStringLiteral("zkt")), qPrintable(d.LastNotice()));
    QVERIFY(!QFile::exists(d.dir.Path(QStringLiteral("Newname.zkt"))));
    QCOMPARE(d.shared.DocChanged, kTrue);
}

void FileDialogTest::saveFailuresAreTold() {
    Dialog d(kFileModeSave, QStringLiteral("text"));
    ::mkdir(d.dir.File("folder.txt").c_str(), 0755);
    d.Type(QStringLiteral("folder.txt"));
    d.PressEnter();
    QVERIFY(d.form->isVisible());
    QVERIFY2(d.LastNotice().contains(QStringLiteral("folder.txt")), qPrintable(d.LastNotice()));
    QVERIFY2(d.LastNotice().contains(QStringLiteral("フォルダ")), qPrintable(d.LastNotice()));
    QCOMPARE(d.shared.DocChanged, kTrue);
    if (!solvena::testing::RunningAsRoot()) {
        ::mkdir(d.dir.File("ro").c_str(), 0555);
        d.Type(d.dir.Path(QStringLiteral("ro/a.txt")));
        d.PressEnter();
        QVERIFY2(d.LastNotice().contains(QStringLiteral("アクセス")), qPrintable(d.LastNotice()));
        QVERIFY(!QFile::exists(d.dir.Path(QStringLiteral("ro/a.txt"))));
    }
    // Another name then works.
    d.Type(QStringLiteral("fine"));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.DocChanged, kFalse);
}

void FileDialogTest::saveDiskFullLeavesTheFileIntact() {
    Dialog d(kFileModeSave, QString(20000, QLatin1Char('x')));
    WriteBytes(d.dir.File("big.txt"), "old bytes");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    d.platform.ScriptAnswers({solvena::platform::kYes});
    d.Type(QStringLiteral("big.txt"));
    d.PressEnter();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QVERIFY(d.form->isVisible());
    QVERIFY2(d.LastNotice().contains(QStringLiteral("ディスク")), qPrintable(d.LastNotice()));
    QCOMPARE(ReadBytes(d.dir.File("big.txt")), std::string("old bytes"));
    QCOMPARE(d.shared.DocChanged, kTrue);
}

void FileDialogTest::unreadableVolumeFallsBackToTheRoot() {
    CurrentTempDir dir;
    solvena::app::Module2 shared;
    shared.FileMode = kFileModeOpen;
    solvena::platform::Platform platform({QStringLiteral("solvena")});
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

void FileDialogTest::keysInAListGoToTheNameBox() {
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

void FileDialogTest::enteringAFolderShowsItsFiles() {
    Dialog d(kFileModeSave);
    d.DoubleClick("Dir1", d.List("Dir1")->count() - 1);
    QCOMPARE(d.Items("File1"), QStringList{QStringLiteral("inner.txt")});
    QCOMPARE(d.Name()->selectedText(), QStringLiteral("Newname"));
    // The process's current folder stays where it was.
    QCOMPARE(QDir::currentPath(), d.dir.Folder());
}

QTEST_MAIN(FileDialogTest)
#include "file_dialog_test.moc"
