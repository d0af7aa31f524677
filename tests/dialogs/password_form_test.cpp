// SPDX-License-Identifier: MIT
// The password window: Enter is OK, a new password is asked twice and a
// weak one warned of, and Password is empty after every close without one.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "dialogs/password_form.h"
#include "tests/support/scripted_platform.h"

using solvena::dialogs::PasswordForm;

namespace {

// Typed a key at a time, whatever the script (QTest's own typing takes
// ASCII only).
void Type(QWidget* box, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

struct Dialog {
    explicit Dialog(bool twice, bool wasWrong = false) : platform({QStringLiteral("solvena")}) {
        platform.SetInteractive(false);
        shared.Password = QStringLiteral("前のもの");
        shared.PasswordNew = twice;
        shared.PasswordWasWrong = wasWrong;
        form = std::make_unique<PasswordForm>(shared, platform, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QLineEdit* Box(const char* name) {
        return form->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    QPushButton* Button(const char* name) {
        return form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString Label(const char* name) {
        return form->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    solvena::state::Module2 shared;
    solvena::testing::ScriptedPlatform platform;
    std::unique_ptr<PasswordForm> form;
};

}  // namespace

class PasswordFormTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void asksOnceAndEnterIsOk();
    void everyCloseWithoutOneEmptiesIt();
    void aNewPasswordIsAskedTwice();
    void weakPasswordsAreWarnedOf_data();
    void weakPasswordsAreWarnedOf();
};

void PasswordFormTest::asksOnceAndEnterIsOk() {
    for (const bool wasWrong : {false, true}) {
        Dialog d(false, wasWrong);
        QCOMPARE(d.form->windowTitle(), QStringLiteral("パスワード"));
        QCOMPARE(d.Label("Label1"), wasWrong
                                        ? QStringLiteral("▼パスワードが違います。もう一度どうぞ")
                                        : QStringLiteral("▼パスワードを入力してください"));
        QVERIFY(!d.Box("Text2")->isVisible());
        QLineEdit* entry = d.Box("Text1");
        QCOMPARE(entry->accessibleName(), QStringLiteral("パスワード"));
        QCOMPARE(entry->echoMode(), QLineEdit::Password);
        QVERIFY(!d.Button("Command1")->isEnabled());
        Type(entry, QStringLiteral("雨の日 2026"));
        // Shown and hidden again; what was typed stays.
        d.form->findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
        QCOMPARE(entry->echoMode(), QLineEdit::Normal);
        d.form->findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
        QCOMPARE(entry->echoMode(), QLineEdit::Password);
        // Enter from the check box too.
        d.form->findChild<QCheckBox*>(QStringLiteral("Check1"))->setFocus();
        QTest::keyClick(d.form.get(), Qt::Key_Return);
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(d.shared.Password, QStringLiteral("雨の日 2026"));
    }
}

void PasswordFormTest::everyCloseWithoutOneEmptiesIt() {
    Dialog escaped(false);
    Type(escaped.Box("Text1"), QStringLiteral("secret"));
    QTest::keyClick(escaped.Box("Text1"), Qt::Key_Escape);
    QTRY_VERIFY(!escaped.form->isVisible());
    QVERIFY(escaped.shared.Password.isEmpty());
    Dialog cancelled(true);
    Type(cancelled.Box("Text1"), QStringLiteral("secret"));
    cancelled.Button("Command2")->click();
    QVERIFY(cancelled.shared.Password.isEmpty());
    Dialog closed(false);
    QTest::keyClick(closed.Box("Text1"), Qt::Key_Return);  // empty: nothing to take
    QVERIFY(closed.form->isVisible());
    closed.form->close();
    QVERIFY(closed.shared.Password.isEmpty());
}

void PasswordFormTest::aNewPasswordIsAskedTwice() {
    Dialog d(true);
    QCOMPARE(d.Label("Label1"), QStringLiteral("▼新しいパスワードを２度入力してください"));
    QCOMPARE(d.Box("Text2")->accessibleName(), QStringLiteral("パスワード（確認）"));
    Type(d.Box("Text1"), QStringLiteral("長い長い合言葉です"));
    QVERIFY(!d.Button("Command1")->isEnabled());
    Type(d.Box("Text2"), QStringLiteral("長い長い合言葉でず"));
    QTest::keyClick(d.Box("Text2"), Qt::Key_Return);
    QVERIFY(d.form->isVisible());
    QCOMPARE(d.Label("Label1"), QStringLiteral("▼２つのパスワードが違います"));
    QCOMPARE(d.platform.BeepCount(), 1);
    QCOMPARE(d.Box("Text2")->selectedText(), QStringLiteral("長い長い合言葉でず"));
    Type(d.Box("Text2"), QStringLiteral("長い長い合言葉です"));
    QTest::keyClick(d.Box("Text2"), Qt::Key_Return);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.Password, QStringLiteral("長い長い合言葉です"));
}

void PasswordFormTest::weakPasswordsAreWarnedOf_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("warning");
    const QString asPass =
        QStringLiteral("４桁までの数字は、パスナンバーと同じくらい弱いパスワードです");
    const QString shortOne =
        QStringLiteral("短いパスワードは当てられやすくなります（10 文字以上をお勧めします）");
    QTest::newRow("four digits") << QStringLiteral("1234") << asPass;
    QTest::newRow("full-width digits") << QStringLiteral("１２３") << asPass;
    QTest::newRow("five digits") << QStringLiteral("12345") << shortOne;
    QTest::newRow("nine characters") << QStringLiteral("あめのひのあいこと") << shortOne;
    QTest::newRow("ten characters") << QStringLiteral("あめのひのあいことば") << QString();
}

void PasswordFormTest::weakPasswordsAreWarnedOf() {
    QFETCH(QString, password);
    QFETCH(QString, warning);
    Dialog d(true);
    Type(d.Box("Text1"), password);
    QCOMPARE(d.Label("Label3"), warning);
    // A warning, never a refusal.
    Type(d.Box("Text2"), password);
    QTest::keyClick(d.Box("Text2"), Qt::Key_Return);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.Password, password);
}

QTEST_MAIN(PasswordFormTest)
#include "password_form_test.moc"
