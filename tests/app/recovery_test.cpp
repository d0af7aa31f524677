// SPDX-License-Identifier: MIT
// Ended from outside with unsaved text: the text is kept in a recovery file
// and offered at the next start.

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTest>
#include <csignal>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/platform.h"
#include "tests/support/gui_support.h"
#include "tests/support/main_window.h"
#include "tests/support/process.h"
#include "tests/support/scripted_application.h"

using solvena::state::kFalse;
using solvena::state::kTrue;
using solvena::testing::CurrentTempDir;
using solvena::testing::ReadBytes;

namespace {

// Every kind of code unit a document may hold.
const QString kUnsaved = QString::fromUtf16(u"未保存\r\nline\u2028\U0001F600") + QChar(0xD800) +
                         QChar(u'\0') + QStringLiteral("end");

// A temporary folder that is also the folder for state.
using StateHome = CurrentTempDir;

QString StateFolder(const StateHome& dir) {
    return dir.Folder() + QStringLiteral("/solvena");
}

// The program as it starts, keeping its recovery files in the state folder
// of `home`.
struct Program {
    explicit Program(const StateHome& home) {
        application.Platform().SetInteractive(false);
        application.Platform().ScriptEnd([this](int signal) { endedBy = signal; });
        application.Platform().SetRecoveryFolder(StateFolder(home));
    }
    solvena::app::MainForm& form() { return application.Main(); }
    void Type(const QString& text) { solvena::testing::TypeIn(form().Text1(), text); }
    solvena::testing::ScriptedApplication application;
    int endedBy = -1;
};

// The platform of the programs on `home`, for their recovery files.
struct Recovery : solvena::testing::ScriptedPlatform {
    explicit Recovery(const StateHome& home) { SetRecoveryFolder(StateFolder(home)); }
};

QStringList RecoveryFiles(const StateHome& home) {
    return Recovery(home).RecoveryFiles();
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void signalsKeepAChangedTextExactly();
    void anUnchangedDocumentEndsWithNothingKept();
    void theSessionsEndIsTheSameRequest();
    void theNextStartOffersTheText();
    void noDeletesTheTextAndCancelKeepsItForLater();
    void savingTheRecoveredTextRemovesItsFile();
    void theProgramEndsByTheSignal();
    void anUnreadableRecoveryFileIsToldOfAndKept();
};

void RecoveryTest::signalsKeepAChangedTextExactly() {
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        StateHome dir;
        Program program(dir);
        QVERIFY(program.application.Start());
        program.Type(kUnsaved);
        ::kill(::getpid(), signal);
        QTRY_COMPARE(program.endedBy, signal);
        const QStringList files = RecoveryFiles(dir);
        QCOMPARE(files.size(), 1);
        const std::string bytes = ReadBytes(files[0].toStdString());
        QCOMPARE(QByteArray::fromStdString(bytes),
                 QByteArray(reinterpret_cast<const char*>(kUnsaved.utf16()), kUnsaved.size() * 2));
        struct stat file {};
        struct stat folder {};
        QCOMPARE(::stat(files[0].toLocal8Bit().constData(), &file), 0);
        QCOMPARE(::stat(StateFolder(dir).toLocal8Bit().constData(), &folder), 0);
        QCOMPARE(file.st_mode & 07777, 0600u);
        QCOMPARE(folder.st_mode & 07777, 0700u);
    }
}

void RecoveryTest::anUnchangedDocumentEndsWithNothingKept() {
    StateHome dir;
    Program program(dir);
    QVERIFY(program.application.Start());
    program.form().Text1().SetText(QStringLiteral("loaded, not changed"));
    ::kill(::getpid(), SIGTERM);
    QTRY_COMPARE(program.endedBy, SIGTERM);
    QVERIFY(RecoveryFiles(dir).isEmpty());
}

void RecoveryTest::theSessionsEndIsTheSameRequest() {
    StateHome dir;
    Program other(dir);
    QVERIFY(other.application.Start());
    other.Type(QStringLiteral("typed before logout"));
    other.form().EndRequested(0);
    QCOMPARE(other.endedBy, 0);
    QCOMPARE(RecoveryFiles(dir).size(), 1);
}

void RecoveryTest::theNextStartOffersTheText() {
    StateHome dir;
    {
        Program first(dir);
        QVERIFY(first.application.Start());
        first.Type(kUnsaved);
        ::kill(::getpid(), SIGTERM);
        QTRY_COMPARE(first.endedBy, SIGTERM);
    }
    Program next(dir);
    next.application.Platform().ScriptAnswers({solvena::desktop::kYes});
    QVERIFY(next.application.Start());
    QCOMPARE(next.application.Platform().Asked().size(), std::size_t{1});
    QCOMPARE(next.application.Platform().Asked()[0].title, QStringLiteral("確認メッセージ"));
    QCOMPARE(next.form().Text1().Text(), kUnsaved);
    QCOMPARE(next.application.Shared().DocChanged, kTrue);
    // Kept until the document is saved or given up (here: New, then No).
    QCOMPARE(RecoveryFiles(dir).size(), 1);
    next.application.Platform().ScriptAnswers({solvena::desktop::kNo});
    next.form().Command9_Click();
    QVERIFY(RecoveryFiles(dir).isEmpty());
    QCOMPARE(next.application.Shared().DocChanged, kFalse);
}

void RecoveryTest::noDeletesTheTextAndCancelKeepsItForLater() {
    StateHome dir;
    QVERIFY(Recovery(dir).KeepRecovery(QStringLiteral("kept")).ok());
    {
        Program later(dir);
        later.application.Platform().ScriptAnswers({solvena::desktop::kCancel});
        QVERIFY(later.application.Start());
        QVERIFY(later.form().Text1().IsEmpty());
        QCOMPARE(RecoveryFiles(dir).size(), 1);
    }
    Program no(dir);
    no.application.Platform().ScriptAnswers({solvena::desktop::kNo});
    QVERIFY(no.application.Start());
    QVERIFY(no.form().Text1().IsEmpty());
    QVERIFY(RecoveryFiles(dir).isEmpty());
}

void RecoveryTest::savingTheRecoveredTextRemovesItsFile() {
    StateHome dir;
    QVERIFY(Recovery(dir).KeepRecovery(QStringLiteral("保存する文")).ok());
    Program program(dir);
    program.application.Platform().ScriptAnswers({solvena::desktop::kYes});
    QVERIFY(program.application.Start());
    QCOMPARE(program.form().Text1().Text(), QStringLiteral("保存する文"));
    solvena::testing::WhenFileDialogShownEnter(&program.form(), QStringLiteral("saved"));
    program.form().Command7_Click();
    QCOMPARE(ReadBytes(dir.File("saved.zkt")),
             std::string("\x95\xdb\x91\xb6\x82\xb7\x82\xe9\x95\xb6\r\n"));
    QCOMPARE(program.application.Shared().DocChanged, kFalse);
    QVERIFY(RecoveryFiles(dir).isEmpty());
}

// True once `pid` catches all of SIGTERM, SIGHUP and SIGINT.
bool CatchesEndSignals(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return false;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigCgt:")) {
            const qulonglong caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
            const qulonglong wanted =
                (1ULL << (SIGTERM - 1)) | (1ULL << (SIGHUP - 1)) | (1ULL << (SIGINT - 1));
            return (caught & wanted) == wanted;
        }
    }
    return false;
}

// The started program, ended for good if the test fails on the way.
struct Started {
    ~Started() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
    }
    pid_t pid = -1;
};

void RecoveryTest::theProgramEndsByTheSignal() {
    // The real program watches for the signals, and still ends by them.
    StateHome dir;
    Started program;
    program.pid = ::fork();
    if (program.pid == 0) {
        // The program's own state goes to the test's folder.
        ::setenv("XDG_STATE_HOME", dir.Folder().toLocal8Bit().constData(), 1);
        solvena::testing::ExecProgram(SOLVENA_PATH, {});
    }
    // Started when it runs the program's file; a loaded machine takes long.
    const QString exe = QStringLiteral("/proc/%1/exe").arg(program.pid);
    QTRY_VERIFY_WITH_TIMEOUT(
        QFile::symLinkTarget(exe) == QStringLiteral(SOLVENA_PATH) && CatchesEndSignals(program.pid),
        120000);
    ::kill(program.pid, SIGTERM);
    int status = 0;
    QCOMPARE(::waitpid(program.pid, &status, 0), program.pid);
    program.pid = -1;
    QVERIFY(WIFSIGNALED(status));
    QCOMPARE(WTERMSIG(status), SIGTERM);
    QVERIFY(RecoveryFiles(dir).isEmpty());
}

// Too large to read (or unreadable otherwise): named in a notice, never
// removed, and the readable one after it still offered.
void RecoveryTest::anUnreadableRecoveryFileIsToldOfAndKept() {
    StateHome dir;
    QVERIFY(Recovery(dir).KeepRecovery(QStringLiteral("a readable text")).ok());
    const QString huge = StateFolder(dir) + QStringLiteral("/unsaved-000000000000000-1.utf16le");
    QFile file(huge);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(qint64{3} << 30));  // sparse: nothing on the disk
    file.close();
    Program program(dir);
    program.application.Platform().ScriptAnswers({solvena::desktop::kOk, solvena::desktop::kYes});
    QVERIFY(program.application.Start());
    const auto& asked = program.application.Platform().Asked();
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(asked[0].kind, solvena::testing::AskedBox::Kind::Notice);
    QVERIFY2(asked[0].text.contains(huge), qPrintable(asked[0].text));
    QVERIFY2(asked[0].text.contains(QStringLiteral("残してあります")), qPrintable(asked[0].text));
    QCOMPARE(program.form().Text1().Text(), QStringLiteral("a readable text"));
    QVERIFY(QFile::exists(huge));
}

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
