// SPDX-License-Identifier: MIT
// A forgotten pass number found from the window: from the pass-number
// dialog and from 解読's doubt, listed with the text each gives, chosen
// with Enter and deciphered with as one step; a damaged document shown
// where it breaks.

#include "dialogs/pass_finder.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "dialogs/form11.h"
#include "tests/support/gui_support.h"
#include "tests/support/main_window.h"

using solvena::dialogs::PassFinder;
using solvena::testing::Enciphered;
using solvena::testing::WhenShown;

namespace {

const QString kNote = QStringLiteral("明日は雨が降るらしい。傘を持っていくこと。");

// Waits for the search, then presses Enter on the row the list offers.
void ChooseFirst(PassFinder* finder) {
    QTRY_VERIFY_WITH_TIMEOUT(finder->Searched(), 60000);
    QTest::keyClick(finder->findChild<QTreeWidget*>(QStringLiteral("List1")), Qt::Key_Return);
}

}  // namespace

class PassFinderTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void listsTheLikeliestAndHandsTheChosenOneBack();
    void theDoubtOffersTheSearchAndDeciphersAsOneStep();
    void thePassNumberDialogOffersItOnlyToDecipher();
    void aDamagedDocumentIsShownWhereItBreaks();
};

void PassFinderTest::listsTheLikeliestAndHandsTheChosenOneBack() {
    solvena::state::Module2 shared;
    {
        PassFinder finder(shared, Enciphered(kNote, 4821), nullptr);
        finder.show();
        QTRY_VERIFY_WITH_TIMEOUT(finder.Searched(), 60000);
        auto* list = finder.findChild<QTreeWidget*>(QStringLiteral("List1"));
        QVERIFY(list->topLevelItemCount() > 1);
        QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("4821"));
        QVERIFY(list->topLevelItem(0)->text(2).startsWith(QStringLiteral("明日は雨")));
        QCOMPARE(finder.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("一番上のパスナンバーが有力です。"));
        for (QWidget* control : finder.findChildren<QWidget*>()) {
            if (control->focusPolicy() != Qt::NoFocus && !control->objectName().isEmpty()) {
                QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
            }
        }
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(shared.PassNumber, 4821);
    }
    {
        // Closed while it searches: no number, and the search stops.
        PassFinder finder(shared, Enciphered(kNote, 4821), nullptr);
        finder.show();
        finder.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
        QCOMPARE(shared.PassNumber, -1);
    }
}

void PassFinderTest::theDoubtOffersTheSearchAndDeciphersAsOneStep() {
    solvena::testing::CipherWindow w(1230);
    w.form.show();
    const QString document = Enciphered(kNote, 4821);
    w.form.Text1().SetText(document);
    w.platform.ScriptAnswers({solvena::desktop::kFindPass});
    WhenShown<PassFinder>(&w.form, QStringLiteral("PassFinder"), ChooseFirst);
    w.form.Command2_Click();
    QTRY_COMPARE_WITH_TIMEOUT(w.form.Text1().Text(), kNote, 60000);  // the search takes its time
    QCOMPARE(w.platform.Asked().size(), std::size_t{1});
    w.form.Text1().setFocus();
    QTest::keyClick(&w.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.form.Text1().Text(), document);
}

void PassFinderTest::thePassNumberDialogOffersItOnlyToDecipher() {
    solvena::testing::MainWindow w;
    w.form.show();
    w.form.Text1().SetText(Enciphered(kNote, 4821));
    bool offered = false;
    WhenShown<solvena::dialogs::Form11>(
        &w.form, QStringLiteral("Form11"), [&](solvena::dialogs::Form11* dialog) {
            auto* find = dialog->findChild<QPushButton*>(QStringLiteral("Command2"));
            offered = find->isVisible();
            WhenShown<PassFinder>(dialog, QStringLiteral("PassFinder"), ChooseFirst);
            find->click();
        });
    w.form.Command2_Click();
    QVERIFY(offered);
    QTRY_COMPARE_WITH_TIMEOUT(w.form.Text1().Text(), kNote, 60000);  // the search takes its time
    bool offeredToEncipher = true;
    WhenShown<solvena::dialogs::Form11>(
        &w.form, QStringLiteral("Form11"), [&](solvena::dialogs::Form11* dialog) {
            offeredToEncipher =
                dialog->findChild<QPushButton*>(QStringLiteral("Command2"))->isVisible();
            dialog->close();
        });
    w.form.Command1_Click();
    QVERIFY(!offeredToEncipher);
}

void PassFinderTest::aDamagedDocumentIsShownWhereItBreaks() {
    solvena::testing::CipherWindow w(4821);
    w.form.show();
    const QString enciphered = Enciphered(kNote, 4821);
    const QString damaged = enciphered.left(30) + QLatin1Char('G') + enciphered.mid(30);
    w.form.Text1().SetText(damaged);
    w.platform.ScriptAnswers({solvena::desktop::kNo});
    w.form.Command2_Click();
    QCOMPARE(w.platform.Asked().size(), std::size_t{1});
    const QString asked = w.platform.Asked()[0].text;
    QVERIFY2(asked.contains(QStringLiteral("暗号文が壊れています")), qPrintable(asked));
    // Enter must not show a text the program thinks is wrong.
    QVERIFY(w.platform.Asked()[0].kind == solvena::desktop::BoxKind::YesNoNoFirst);
    // The whole group the stray G broke, from its first character to its separator.
    QVERIFY2(asked.contains(QStringLiteral("31～35 文字目")), qPrintable(asked));
    QCOMPARE(w.form.Text1().Text(), damaged);
    QCOMPARE(w.form.Text1().textCursor().selectedText(), damaged.mid(30, 5));
    // With a line break picked up in storage before it (two units in the
    // document, one in the editor): the same group, selected whole.
    const QString broken = damaged.left(10) + QStringLiteral("\r\n") + damaged.mid(10);
    w.form.Text1().SetText(broken);
    w.platform.ScriptAnswers({solvena::desktop::kNo});
    w.form.Command2_Click();
    QCOMPARE(w.form.Text1().Text(), broken);
    QCOMPARE(w.form.Text1().textCursor().selectedText(), broken.mid(32, 5));
}

QTEST_MAIN(PassFinderTest)
#include "pass_finder_test.moc"
