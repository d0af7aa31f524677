// SPDX-License-Identifier: MIT
// Password files in the window: opened after their password is given (again
// while it is wrong), refused for what they are when no password opens
// them, saved sealed after a new password is given twice, the password kept
// for the next save and forgotten with the document; what is saved opens
// in gpg.

#include <unistd.h>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "app/editor_box.h"
#include "dialogs/password_form.h"
#include "filedialog/file_names.h"
#include "tests/support/file_dialog_fixture.h"
#include "tests/support/main_window.h"
#include "tests/support/process.h"

using solvena::desktop::kNo;
using solvena::desktop::kYes;
using solvena::sealing::Outcome;
using solvena::state::kFileModeOpen;
using solvena::state::kFileModeSave;
using solvena::testing::Dialog;
using solvena::testing::MainWindow;
using solvena::testing::ReadBytes;

namespace {

const QString kText = QStringLiteral("明日は雨が降るらしい。\r\n傘を持っていくこと。");
const QString kRight = QStringLiteral("雨の日の合言葉");

// What each showing of the password window was asked for.
struct Asked {
    bool isNew;
    bool wasWrong;
};

// Answers the password window from a list, without showing it: an answer
// left out closes it without one.
void AnswerPasswords(solvena::state::Module2& shared, std::vector<Asked>& asked,
                     QStringList answers) {
    shared.showPasswordDialog = [&shared, &asked, answers]() mutable {
        asked.push_back({shared.PasswordNew, shared.PasswordWasWrong});
        shared.Password = answers.isEmpty() ? QString() : answers.takeFirst();
    };
}

void SealInto(const solvena::desktop::Platform& platform, const QString& path) {
    QVERIFY(platform.WriteSealedDocument(path, kText, {}, kRight).ok());
}

QString Unsealed(const solvena::desktop::Platform& platform, const QString& path,
                 const QString& password) {
    const solvena::desktop::UnsealedDocument opened = platform.UnsealDocument(path, password, {});
    return opened.outcome == Outcome::Done && !opened.error ? opened.document.text
                                                            : QStringLiteral("(not opened)");
}

}  // namespace

class PasswordFilesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void namesOfPasswordFiles();
    void openAsksAgainWhileWrong();
    void closingThePasswordWindowReadsNothing();
    void refusalsSayWhatTheFileIs();
    void droppedAndNamedFilesAskToo();
    void saveAsSealedAsksTwiceAndWarnsOfAWeakOne();
    void theOpeningPasswordIsProposedAgain();
    void savingUnprotectedIsAskedFirst();
    void theDocumentsGoingForgetsThePassword();
    void theRecoveryFileOfAPasswordFileIsSealed();
    void gpgOpensWhatIsSaved();
};

void PasswordFilesTest::namesOfPasswordFiles() {
    using solvena::filedialog::SavePath;
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo"), QStringLiteral("gpg")),
             QStringLiteral("/d/memo.txt.gpg"));
    // A password file's name is as it is, whatever the button says.
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo.txt.GPG"), QStringLiteral("zkt")),
             QStringLiteral("/d/memo.txt.GPG"));
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("a.asc"), QStringLiteral("txt")),
             QStringLiteral("/d/a.asc"));
    // The old names stay the old way.
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo.txt"), QStringLiteral("gpg")),
             QStringLiteral("/d/memo.txt"));
    QCOMPARE(SavePath(QStringLiteral("/d"), QStringLiteral("memo.Txt"), QStringLiteral("zkt")),
             QStringLiteral("/d/memo.Txt.zkt"));
    for (const char* name : {"a.gpg", "b.ASC", "c.txt.pgp"}) {
        QVERIFY2(solvena::filedialog::ListedAsDocument(QString::fromLatin1(name)), name);
        QVERIFY2(solvena::filedialog::NamedOnCommandLine(QString::fromLatin1(name)), name);
    }
    for (const char* name : {".gpg", "agpg", "x.png"}) {
        QVERIFY2(!solvena::filedialog::ListedAsDocument(QString::fromLatin1(name)), name);
    }
}

void PasswordFilesTest::openAsksAgainWhileWrong() {
    Dialog d(kFileModeOpen);
    SealInto(d.platform, d.dir.Path(QStringLiteral("secret.txt.gpg")));
    // The list shows it beside the text files.
    d.form->Dir1_Change();
    QVERIFY(d.Items("File1").contains(QStringLiteral("secret.txt.gpg")));
    std::vector<Asked> asked;
    AnswerPasswords(d.shared, asked, {QStringLiteral("違う"), kRight});
    d.Type(QStringLiteral("secret.txt.gpg"));
    d.PressEnter();
    QCOMPARE(asked.size(), std::size_t{2});
    QVERIFY(!asked[0].isNew && !asked[0].wasWrong);
    QVERIFY(!asked[1].isNew && asked[1].wasWrong);
    QVERIFY(d.form->Loaded());
    QCOMPARE(d.shared.DocText, kText);
    QCOMPARE(d.shared.Password, kRight);
    QVERIFY(d.platform.Asked().empty());
}

void PasswordFilesTest::closingThePasswordWindowReadsNothing() {
    Dialog d(kFileModeOpen, QStringLiteral("前の文書"));
    d.shared.Password = QStringLiteral("前の文書の");
    SealInto(d.platform, d.dir.Path(QStringLiteral("secret.txt.gpg")));
    std::vector<Asked> asked;
    AnswerPasswords(d.shared, asked, {});
    d.Type(QStringLiteral("secret.txt.gpg"));
    d.PressEnter();
    QCOMPARE(asked.size(), std::size_t{1});
    QVERIFY(!d.form->Loaded());
    QVERIFY(d.platform.Asked().empty());
    // The document that stays keeps its own password.
    QCOMPARE(d.shared.DocText, QStringLiteral("前の文書"));
    QCOMPARE(d.shared.Password, QStringLiteral("前の文書の"));
}

void PasswordFilesTest::refusalsSayWhatTheFileIs() {
    const std::pair<Outcome, QString> cases[] = {
        {Outcome::EncryptedToKey,
         QStringLiteral("鍵で暗号化されたファイルです。パスワードで開くファイルではありません。"
                        "gpg で開いてください。")},
        {Outcome::Damaged, QStringLiteral("途中で切れています")},
        {Outcome::NoIntegrity, QStringLiteral("改ざん")},
        {Outcome::NotOpenPgp, QStringLiteral("パスワードファイルではありません")},
    };
    for (const auto& [outcome, words] : cases) {
        Dialog d(kFileModeOpen);
        solvena::testing::WriteBytes(d.dir.File("sent.gpg"), "bytes");
        const Outcome scripted = outcome;  // clang 14 captures no structured binding
        d.platform.ScriptUnseal([scripted](const QString&, const QString&) {
            solvena::desktop::UnsealedDocument result;
            result.outcome = scripted;
            return result;
        });
        std::vector<Asked> asked;
        AnswerPasswords(d.shared, asked, {kRight, kRight});
        d.Type(QStringLiteral("sent.gpg"));
        d.PressEnter();
        // Asked once: no other password would open it.
        QCOMPARE(asked.size(), std::size_t{1});
        QVERIFY(!d.form->Loaded());
        QVERIFY2(d.LastNotice().startsWith(QStringLiteral("sent.gpg を開けません。\n")),
                 qPrintable(d.LastNotice()));
        QVERIFY2(d.LastNotice().contains(words), qPrintable(d.LastNotice()));
        QVERIFY(d.shared.Password.isEmpty());
    }
    // The same through the library: a file cut short.
    Dialog d(kFileModeOpen);
    SealInto(d.platform, d.dir.Path(QStringLiteral("cut.gpg")));
    const std::string whole = ReadBytes(d.dir.File("cut.gpg"));
    solvena::testing::WriteBytes(d.dir.File("cut.gpg"), whole.substr(0, whole.size() - 5));
    std::vector<Asked> asked;
    AnswerPasswords(d.shared, asked, {kRight, kRight});
    d.Type(QStringLiteral("cut.gpg"));
    d.PressEnter();
    QCOMPARE(asked.size(), std::size_t{1});
    QVERIFY2(d.LastNotice().contains(QStringLiteral("途中で切れています")),
             qPrintable(d.LastNotice()));
    QVERIFY(!d.form->Loaded());
}

void PasswordFilesTest::droppedAndNamedFilesAskToo() {
    {
        MainWindow w;
        const QString path = w.dir.Path(QStringLiteral("dropped.txt.asc"));
        SealInto(w.platform, path);
        QVERIFY(ReadBytes(w.dir.File("dropped.txt.asc")).rfind("-----BEGIN PGP MESSAGE", 0) == 0);
        std::vector<Asked> asked;
        AnswerPasswords(w.shared, asked, {kRight});
        w.form.OpenDroppedFile(path);
        QCOMPARE(w.form.Text1().Text(), kText);
        QCOMPARE(w.shared.Password, kRight);
        QVERIFY(!w.shared.DocumentChanged());
    }
    {
        // The window itself asks: its field, typed into, and Enter.
        MainWindow w;
        const QString path = w.dir.Path(QStringLiteral("asked.gpg"));
        SealInto(w.platform, path);
        QString accessible;
        solvena::testing::WhenShown<solvena::dialogs::PasswordForm>(
            &w.form, QStringLiteral("PasswordForm"),
            [&accessible](solvena::dialogs::PasswordForm* form) {
                auto* box = form->findChild<QLineEdit*>(QStringLiteral("Text1"));
                accessible = box->accessibleName();
                box->setText(kRight);
                QTest::keyClick(box, Qt::Key_Return);
            });
        w.form.OpenDroppedFile(path);
        QCOMPARE(accessible, QStringLiteral("パスワード"));
        QCOMPARE(w.form.Text1().Text(), kText);
    }
    solvena::testing::CurrentTempDir dir;
    const QString path = dir.Path(QStringLiteral("named.txt.gpg"));
    MainWindow w(MainWindow::Start::Later, {QStringLiteral("solvena"), path});
    SealInto(w.platform, path);
    std::vector<Asked> asked;
    AnswerPasswords(w.shared, asked, {QStringLiteral("違う"), kRight});
    QVERIFY(w.form.Form_Load());
    QCOMPARE(asked.size(), std::size_t{2});
    QCOMPARE(w.form.Text1().Text(), kText);
    QCOMPARE(w.shared.Password, kRight);
}

void PasswordFilesTest::saveAsSealedAsksTwiceAndWarnsOfAWeakOne() {
    Dialog d(kFileModeSave, kText);
    QString warning;
    bool askedTwice = false;
    // The real window, typed into.
    d.shared.showPasswordDialog = [&] {
        solvena::dialogs::PasswordForm form(d.shared, d.platform, d.form.get());
        form.show();
        auto* first = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
        auto* again = form.findChild<QLineEdit*>(QStringLiteral("Text2"));
        askedTwice = again->isVisible();
        first->setText(QStringLiteral("1234"));
        warning = form.findChild<QLabel*>(QStringLiteral("Label3"))->text();
        again->setText(QStringLiteral("1234"));
        QTest::keyClick(again, Qt::Key_Return);
    };
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("gpg"));
    d.PressEnter();
    QVERIFY(askedTwice);
    QCOMPARE(warning, QString::fromUtf16(solvena::dialogs::kPassNumberLikePassword));
    const QString saved = d.dir.Path(QStringLiteral("Newname.txt.gpg"));
    QVERIFY(!d.form->isVisible());
    QVERIFY(!d.platform.FileExists(d.dir.Path(QStringLiteral("Newname.txt"))));
    QVERIFY(ReadBytes(d.dir.File("Newname.txt.gpg")).find("傘") == std::string::npos);
    QCOMPARE(Unsealed(d.platform, saved, QStringLiteral("1234")), kText);
    QCOMPARE(d.shared.Password, QStringLiteral("1234"));
    QVERIFY(!d.shared.DocumentChanged());
}

void PasswordFilesTest::theOpeningPasswordIsProposedAgain() {
    for (const bool keep : {true, false}) {
        Dialog d(kFileModeSave, kText);
        d.shared.Password = kRight;
        d.form->Form_Load();
        QCOMPARE(d.Button("Command2")->text(), QStringLiteral("gpg"));
        std::vector<Asked> asked;
        AnswerPasswords(d.shared, asked, {QStringLiteral("新しい長めの合言葉")});
        d.platform.ScriptAnswers({keep ? kYes : kNo});
        d.PressEnter();
        QCOMPARE(asked.size(), keep ? std::size_t{0} : std::size_t{1});
        const QString password = keep ? kRight : QStringLiteral("新しい長めの合言葉");
        QCOMPARE(Unsealed(d.platform, d.dir.Path(QStringLiteral("Newname.txt.gpg")), password),
                 kText);
        QCOMPARE(d.shared.Password, password);
    }
}

void PasswordFilesTest::savingUnprotectedIsAskedFirst() {
    for (const int answer : {kNo, kYes}) {
        Dialog d(kFileModeSave, kText);
        d.shared.Password = kRight;
        d.form->Form_Load();
        QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
        QTest::mouseClick(d.Button("Command2"), Qt::LeftButton);
        QCOMPARE(d.Button("Command2")->text(), QStringLiteral("txt"));
        d.platform.ScriptAnswers({answer});
        d.PressEnter();
        QCOMPARE(d.platform.Asked().front().kind, solvena::desktop::BoxKind::YesNoNoFirst);
        QVERIFY(d.platform.Asked().front().text.contains(
            QStringLiteral("パスワードで守られなくなります")));
        const bool written = d.platform.FileExists(d.dir.Path(QStringLiteral("Newname.txt")));
        QCOMPARE(written, answer == kYes);
        // Saved unprotected, the document has no password to keep.
        QCOMPARE(d.shared.Password.isEmpty(), answer == kYes);
        QCOMPARE(d.form->isVisible(), answer == kNo);
    }
}

void PasswordFilesTest::theDocumentsGoingForgetsThePassword() {
    MainWindow w;
    w.shared.Password = kRight;
    w.Type(QStringLiteral("書きかけ"));
    w.platform.ScriptAnswers({kNo});
    w.form.Command9_Click();
    QVERIFY(w.shared.Password.isEmpty());
    // Another file opened in its place takes the password with it.
    w.shared.Password = kRight;
    solvena::testing::WriteBytes(w.dir.File("plain.txt"), "plain\r\n");
    w.form.OpenDroppedFile(w.dir.Path(QStringLiteral("plain.txt")));
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("plain"));
    QVERIFY(w.shared.Password.isEmpty());
    // So does a recovered text that takes the place of the command line's.
    solvena::testing::CurrentTempDir dir;
    const QString path = dir.Path(QStringLiteral("named.txt.gpg"));
    MainWindow started(MainWindow::Start::Later, {QStringLiteral("solvena"), path});
    SealInto(started.platform, path);
    QVERIFY(started.platform.KeepRecovery(QStringLiteral("recovered")).ok());
    std::vector<Asked> asked;
    AnswerPasswords(started.shared, asked, {kRight});
    started.platform.ScriptAnswers({kYes});
    QVERIFY(started.form.Form_Load());
    QCOMPARE(started.form.Text1().Text(), QStringLiteral("recovered"));
    QVERIFY(started.shared.Password.isEmpty());
}

void PasswordFilesTest::theRecoveryFileOfAPasswordFileIsSealed() {
    const solvena::testing::TempDir state;
    const QString folder = QString::fromStdString(state.path());
    const QString unsaved = QStringLiteral("書きかけの秘密");
    {
        MainWindow w;
        w.platform.SetRecoveryFolder(folder);
        w.platform.ScriptEnd([](int) {});
        w.shared.Password = kRight;
        w.Type(unsaved);
        w.form.EndRequested(15);
        const QStringList kept = w.platform.RecoveryFiles();
        QCOMPARE(kept.size(), 1);
        QVERIFY(solvena::desktop::Platform::IsSealedRecovery(kept.first()));
        QVERIFY(!w.platform.ReadRecovery(kept.first()).value().contains(unsaved));
    }
    // Closing the password window keeps it for the next start.
    for (const bool give : {false, true}) {
        MainWindow next(MainWindow::Start::Later);
        next.platform.SetRecoveryFolder(folder);
        std::vector<Asked> asked;
        AnswerPasswords(next.shared, asked,
                        give ? QStringList{QStringLiteral("違う"), kRight} : QStringList{});
        next.platform.ScriptAnswers({kYes});
        QVERIFY(next.form.Form_Load());
        QCOMPARE(asked.size(), give ? std::size_t{2} : std::size_t{1});
        QVERIFY(next.platform.Asked().front().text.contains(QStringLiteral("パスワード")));
        QCOMPARE(next.form.Text1().Text(), give ? unsaved : QString());
        QCOMPARE(next.shared.DocumentChanged(), give);
        QCOMPARE(next.shared.Password, give ? kRight : QString());
        QCOMPARE(next.platform.RecoveryFiles().size(), 1);
    }
    // A document of no password file is kept as before.
    MainWindow plain;
    plain.platform.SetRecoveryFolder(QString::fromStdString(state.File("plain")));
    plain.platform.ScriptEnd([](int) {});
    plain.Type(unsaved);
    plain.form.EndRequested(15);
    QCOMPARE(plain.platform.RecoveryFiles().size(), 1);
    QVERIFY(!solvena::desktop::Platform::IsSealedRecovery(plain.platform.RecoveryFiles().first()));
    QCOMPARE(plain.platform.ReadRecovery(plain.platform.RecoveryFiles().first()).value(), unsaved);
}

void PasswordFilesTest::gpgOpensWhatIsSaved() {
    if (::access("/usr/bin/gpg", X_OK) != 0) {
        QSKIP("gpg is not installed");
    }
    Dialog d(kFileModeSave, kText);
    std::vector<Asked> asked;
    AnswerPasswords(d.shared, asked, {kRight});
    d.Type(QStringLiteral("for-gpg.txt.gpg"));
    d.PressEnter();
    QCOMPARE(asked.size(), std::size_t{1});
    QVERIFY(asked[0].isNew);
    const solvena::testing::TempDir home;
    const solvena::testing::ProcessResult opened = solvena::testing::RunProcess(
        "/usr/bin/gpg",
        {"--homedir", home.path(), "--batch", "--quiet", "--pinentry-mode", "loopback",
         "--passphrase", kRight.toStdString(), "-d", d.dir.File("for-gpg.txt.gpg")});
    QCOMPARE(opened.exitCode, 0);
    // The bytes a text save of the document writes.
    QVERIFY(d.platform.WriteDocument(d.dir.Path(QStringLiteral("plain.txt")), kText).ok());
    QVERIFY(opened.out == ReadBytes(d.dir.File("plain.txt")));
}

QTEST_MAIN(PasswordFilesTest)
#include "password_files_test.moc"
