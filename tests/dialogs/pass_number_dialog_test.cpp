// SPDX-License-Identifier: MIT
// The pass-number dialog: checked after every keystroke, PassNumber -1 on
// every close without a confirmed number.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "app/application.h"
#include "desktop/platform.h"
#include "dialogs/form11.h"
#include "tests/support/scripted_platform.h"

using solvena::dialogs::Form11;

namespace {

const QString kPrompt = QStringLiteral("▼パスナンバーを入力してください");
const QString kRejected = QStringLiteral("▼４桁以内の数字を入力してください");

struct Dialog {
    // `finder`: what パスナンバーを探す shows (none: no such button).
    explicit Dialog(std::function<void()> finder = {}) : platform({QStringLiteral("solvena")}) {
        platform.SetInteractive(false);
        shared.PassNumber = 777;  // not reset when the dialog opens
        shared.showPassFinder = std::move(finder);
        form = std::make_unique<Form11>(shared, platform, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QLineEdit* Entry() { return form->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    QPushButton* Ok() { return form->findChild<QPushButton*>(QStringLiteral("Command1")); }
    QString Label() { return form->findChild<QLabel*>(QStringLiteral("Label1"))->text(); }
    void Type(const QString& keys) { QTest::keyClicks(Entry(), keys); }
    // Pasting puts a whole entry in at once.
    void Paste(const QString& entry) { Entry()->setText(entry); }

    solvena::state::Module2 shared;
    solvena::testing::ScriptedPlatform platform;
    std::unique_ptr<Form11> form;
};

}  // namespace

class PassNumberDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void opensPrompting();
    void fifthDigitEmptiesTheWholeEntry();
    void rejectedThenValidKeepsTheMessageUntilEmpty();
    void letterAfterDigitsEmptiesAndEnterDismisses();
    void enterOnAnEmptyEntryDismisses();
    void closeBoxDismisses();
    void confirmedEntries_data();
    void confirmedEntries();
    void aPointAfterADigitIsAccepted();
    void enterAndAltPressTheFocusedButton();
};

void PassNumberDialogTest::opensPrompting() {
    Dialog d;
    QCOMPARE(d.form->objectName(), QStringLiteral("Form11"));
    QCOMPARE(d.form->windowTitle(), QStringLiteral("パスナンバー入力画面"));
    QCOMPARE(d.form->size(), QSize(312, 100));
    QCOMPARE(d.Label(), kPrompt);
    QVERIFY(d.Entry()->text().isEmpty());
    QVERIFY(!d.Ok()->isVisible());
    QCOMPARE(d.Ok()->text(), QStringLiteral("ＯＫ"));
    QCOMPARE(d.shared.PassNumber, std::int16_t{777});
    QVERIFY(!d.Entry()->testAttribute(Qt::WA_InputMethodEnabled));
}

void PassNumberDialogTest::fifthDigitEmptiesTheWholeEntry() {
    Dialog d;
    d.Type(QStringLiteral("1234"));
    QVERIFY(d.Ok()->isVisible());
    QCOMPARE(d.shared.PassNumber, std::int16_t{1234});
    d.Type(QStringLiteral("5"));
    QVERIFY(d.Entry()->text().isEmpty());
    QVERIFY(!d.Ok()->isVisible());
    QCOMPARE(d.Label(), kRejected);
    QCOMPARE(d.platform.BeepCount(), 1);
}

void PassNumberDialogTest::rejectedThenValidKeepsTheMessageUntilEmpty() {
    Dialog d;
    d.Type(QStringLiteral("x"));
    QCOMPARE(d.Label(), kRejected);
    d.Type(QStringLiteral("7"));
    QVERIFY(d.Ok()->isVisible());
    QCOMPARE(d.Label(), kRejected);
    QTest::keyClick(d.Entry(), Qt::Key_Backspace);
    QCOMPARE(d.Label(), kPrompt);
    QVERIFY(!d.Ok()->isVisible());
}

void PassNumberDialogTest::letterAfterDigitsEmptiesAndEnterDismisses() {
    Dialog d;
    d.Type(QStringLiteral("12"));
    QCOMPARE(d.shared.PassNumber, std::int16_t{12});
    d.Type(QStringLiteral("a"));
    QVERIFY(d.Entry()->text().isEmpty());
    QTest::keyClick(d.Entry(), Qt::Key_Return);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.PassNumber, std::int16_t{-1});
    QCOMPARE(d.platform.BeepCount(), 1);  // only the letter beeped, not Enter
}

void PassNumberDialogTest::enterOnAnEmptyEntryDismisses() {
    Dialog d;
    QTest::keyClick(d.Entry(), Qt::Key_Return);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.PassNumber, std::int16_t{-1});
}

void PassNumberDialogTest::closeBoxDismisses() {
    Dialog d;
    d.Type(QStringLiteral("42"));
    d.form->close();
    QCOMPARE(d.shared.PassNumber, std::int16_t{-1});
    Dialog escape;
    escape.Type(QStringLiteral("42"));
    QTest::keyClick(escape.Entry(), Qt::Key_Escape);
    QTRY_VERIFY(!escape.form->isVisible());
    QCOMPARE(escape.shared.PassNumber, std::int16_t{-1});
}

void PassNumberDialogTest::confirmedEntries_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<int>("pass");
    QTest::newRow("four zeros") << QStringLiteral("0000") << true << 0;
    QTest::newRow("one zero") << QStringLiteral("0") << false << 0;
    QTest::newRow("half to even, down") << QStringLiteral("2.5") << true << 2;
    QTest::newRow("half to even, up") << QStringLiteral("3.5") << false << 4;
    QTest::newRow("pasted minus one") << QStringLiteral("-1") << true << -1;
    QTest::newRow("full-width digits") << QStringLiteral("１２３４") << true << 1234;
    QTest::newRow("exponent") << QStringLiteral("1e3") << false << 1000;
}

void PassNumberDialogTest::confirmedEntries() {
    QFETCH(QString, entry);
    QFETCH(bool, byEnter);
    QFETCH(int, pass);
    Dialog d;
    d.Paste(entry);
    QVERIFY(d.Ok()->isVisible());
    if (byEnter) {
        QTest::keyClick(d.Entry(), Qt::Key_Return);
    } else {
        QTest::mouseClick(d.Ok(), Qt::LeftButton);
    }
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(int(d.shared.PassNumber), pass);
    QCOMPARE(d.platform.BeepCount(), 0);
}

void PassNumberDialogTest::aPointAfterADigitIsAccepted() {
    Dialog d;
    d.Type(QStringLiteral("5."));
    QCOMPARE(d.Entry()->text(), QStringLiteral("5."));
    QCOMPARE(d.shared.PassNumber, std::int16_t{5});
    // A sign or a blank typed first empties the entry at once.
    Dialog sign;
    sign.Type(QStringLiteral("-"));
    QVERIFY(sign.Entry()->text().isEmpty());
    QCOMPARE(sign.Label(), kRejected);
}

void PassNumberDialogTest::enterAndAltPressTheFocusedButton() {
    int searches = 0;
    solvena::state::Module2* shared = nullptr;
    // The first search finds nothing, the second 4321.
    Dialog d([&] { shared->PassNumber = ++searches == 1 ? -1 : 4321; });
    shared = &d.shared;
    QVERIFY(QTest::qWaitForWindowActive(d.form.get()));
    auto* find = d.form->findChild<QPushButton*>(QStringLiteral("Command2"));
    QVERIFY(find->isVisible());
    find->setFocus();
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(searches, 1);
    QVERIFY(d.form->isVisible());
    QCOMPARE(d.form->focusWidget(), d.Entry());
    QTest::keyClick(d.Entry(), Qt::Key_F, Qt::AltModifier);
    QTRY_COMPARE(searches, 2);  // a mnemonic presses its button a moment later
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(d.shared.PassNumber, std::int16_t{4321});
    // Enter on a focused OK is OK.
    Dialog ok;
    ok.Type(QStringLiteral("12"));
    ok.Ok()->setFocus();
    QTest::keyClick(ok.Ok(), Qt::Key_Return);
    QTRY_VERIFY(!ok.form->isVisible());
    QCOMPARE(ok.shared.PassNumber, std::int16_t{12});
}

QTEST_MAIN(PassNumberDialogTest)
#include "pass_number_dialog_test.moc"
