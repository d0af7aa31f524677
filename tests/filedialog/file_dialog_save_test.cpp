// SPDX-License-Identifier: MIT
// The file dialog FILE in save mode: the name box and format button, the
// extension rule, the overwrite question, and every failure told while
// nothing is written.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <csignal>

#include "app/application.h"
#include "filedialog/file_names.h"
#include "files/file_stamp.h"
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

class FileDialogSaveTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void saveModeSetUp();
    void formatButtonToggles();
    void saveWritesWithTheExtensionRule_data();
    void saveWritesWithTheExtensionRule();
    void saveAbsolutePathIsUsedAsItIs();
    void overwriteQuestionAnswers();
    void aFileChangedSinceItWasReadIsAskedAboutFirst();
    void aCopyOfAPrivateFileIsPrivate();
    void saveRefusesTextCodePage932CannotHold();
    void saveFailuresAreTold();
    void saveDiskFullLeavesTheFileIntact();
    void enteringAFolderShowsItsFiles();
};

void FileDialogSaveTest::saveModeSetUp() {
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

void FileDialogSaveTest::formatButtonToggles() {
    Dialog d(kFileModeSave);
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("txt"));
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    // The third type, a password file: the tooltip names the kind.
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("gpg"));
    QVERIFY(d.Button("Command2")->toolTip().contains(QStringLiteral("OpenPGP")));
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("zkt"));
    QCOMPARE(d.Button("Command2")->toolTip(), QStringLiteral("ファイルの形式"));
}

void FileDialogSaveTest::saveWritesWithTheExtensionRule_data() {
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

void FileDialogSaveTest::saveWritesWithTheExtensionRule() {
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

void FileDialogSaveTest::saveAbsolutePathIsUsedAsItIs() {
    Dialog d(kFileModeSave, QStringLiteral("x"));
    solvena::testing::TempDir other;
    d.Type(QString::fromStdString(other.File("elsewhere.txt")));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(ReadBytes(other.File("elsewhere.txt")), std::string("x\r\n"));
}

void FileDialogSaveTest::overwriteQuestionAnswers() {
    {
        Dialog d(kFileModeSave, QStringLiteral("new"));
        d.Type(QStringLiteral("memo.txt"));
        d.platform.ScriptAnswers({solvena::desktop::kNo});
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
        d.platform.ScriptAnswers({solvena::desktop::kCancel});
        d.PressEnter();
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(ReadBytes(d.dir.File("memo.txt")), std::string("memo\r\n"));
        QCOMPARE(d.shared.DocChanged, kTrue);
    }
    {
        Dialog d(kFileModeSave, QStringLiteral("new"));
        d.Type(QStringLiteral("memo.txt"));
        d.platform.ScriptAnswers({solvena::desktop::kYes});
        d.PressEnter();
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(ReadBytes(d.dir.File("memo.txt")), std::string("new\r\n"));
        QCOMPARE(d.shared.DocChanged, kFalse);
    }
}

// A colleague's newer version is not lost unasked: its own question comes
// before the general one, No the default.
void FileDialogSaveTest::aFileChangedSinceItWasReadIsAskedAboutFirst() {
    using Kind = solvena::testing::AskedBox::Kind;
    for (const bool changed : {false, true}) {
        Dialog d(kFileModeSave, QStringLiteral("mine"));
        d.shared.DocSource = solvena::files::StampOf(d.dir.File("memo.txt"));
        if (changed) {
            WriteBytes(d.dir.File("memo.txt"), "a colleague's newer memo\r\n");
        }
        d.Type(QStringLiteral("memo.txt"));
        d.platform.ScriptAnswers({solvena::desktop::kNo});
        d.PressEnter();
        QCOMPARE(d.platform.Asked().size(), std::size_t{1});
        const solvena::testing::AskedBox asked = d.platform.Asked()[0];
        QCOMPARE(asked.kind, changed ? Kind::YesNoNoFirst : Kind::Confirm);
        QCOMPARE(asked.text.contains(QStringLiteral("ほかのプログラムで変更されています")),
                 changed);
        QVERIFY(d.form->isVisible());
        QVERIFY(ReadBytes(d.dir.File("memo.txt")) != "mine\r\n");
        if (changed) {
            // Yes, and yes to the general question: written over, and the
            // file as saved is the one the next save compares with.
            d.Type(QStringLiteral("memo.txt"));
            d.platform.ScriptAnswers({solvena::desktop::kYes, solvena::desktop::kYes});
            d.PressEnter();
            QTRY_VERIFY(!d.form->isVisible());
            QCOMPARE(ReadBytes(d.dir.File("memo.txt")), std::string("mine\r\n"));
            QVERIFY(d.shared.DocSource.has_value());
            QVERIFY(!solvena::files::ChangedSince(*d.shared.DocSource, d.dir.File("memo.txt")));
        }
    }
}

void FileDialogSaveTest::aCopyOfAPrivateFileIsPrivate() {
    Dialog d(kFileModeSave, QStringLiteral("diary"));
    WriteBytes(d.dir.File("diary.txt"), "diary\r\n");
    ::chmod(d.dir.File("diary.txt").c_str(), 0600);
    d.shared.DocSource = solvena::files::StampOf(d.dir.File("diary.txt"));
    d.Type(QStringLiteral("copy.txt"));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
    struct stat copy {};
    QCOMPARE(::stat(d.dir.File("copy.txt").c_str(), &copy), 0);
    QCOMPARE(copy.st_mode & 0777, 0600u);
}

void FileDialogSaveTest::saveRefusesTextCodePage932CannotHold() {
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

void FileDialogSaveTest::saveFailuresAreTold() {
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

void FileDialogSaveTest::saveDiskFullLeavesTheFileIntact() {
    Dialog d(kFileModeSave, QString(20000, QLatin1Char('x')));
    WriteBytes(d.dir.File("big.txt"), "old bytes");
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    d.platform.ScriptAnswers({solvena::desktop::kYes});
    d.Type(QStringLiteral("big.txt"));
    d.PressEnter();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    QVERIFY(d.form->isVisible());
    QVERIFY2(d.LastNotice().contains(QStringLiteral("ディスク")), qPrintable(d.LastNotice()));
    QCOMPARE(ReadBytes(d.dir.File("big.txt")), std::string("old bytes"));
    QCOMPARE(d.shared.DocChanged, kTrue);
}

void FileDialogSaveTest::enteringAFolderShowsItsFiles() {
    Dialog d(kFileModeSave);
    d.DoubleClick("Dir1", d.List("Dir1")->count() - 1);
    QCOMPARE(d.Items("File1"), QStringList{QStringLiteral("inner.txt")});
    QCOMPARE(d.Name()->selectedText(), QStringLiteral("Newname"));
    // The process's current folder stays where it was.
    QCOMPARE(QDir::currentPath(), d.dir.Folder());
}

QTEST_MAIN(FileDialogSaveTest)
#include "file_dialog_save_test.moc"
