// SPDX-License-Identifier: MIT
// The program under pressure: runs interrupted at every yield point,
// buttons pressed again and again, large files, text with every kind of code
// unit through a whole round of enciphering, saving, opening, deciphering.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "cipher/encipher.h"
#include "desktop/platform.h"
#include "dialogs/form2.h"
#include "filedialog/file_form.h"
#include "tests/support/gui_support.h"
#include "tests/support/main_window.h"

using solvena::dialogs::Form2;
using solvena::state::kFalse;
using solvena::state::kTrue;
using solvena::testing::CipherWindow;
using solvena::testing::Document;
using solvena::testing::Enciphered;
using solvena::testing::MainWindow;
using solvena::testing::WhenShown;

namespace {

// 200 characters: yield points after 20, 40, ..., 200.
constexpr int kYields = 10;
QString TwoHundredCharacters() {
    QString text = Document(194);
    text.truncate(200);
    return text;
}

}  // namespace

class RobustnessTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void closingTheProgressWindowAtEveryYield();
    void closingTheMainWindowAtEveryYield();
    void pressingExitAtEveryYieldWaitsForTheRun();
    void pressingTheCipherButtonsAgainAndAgain();
    void openingATenMegabyteFile();
    void everyKindOfCodeUnitRoundTheWholeProgram();
};

void RobustnessTest::closingTheProgressWindowAtEveryYield() {
    const QString plain = TwoHundredCharacters();
    QCOMPARE(plain.size(), 200);
    for (int yield = 1; yield <= kYields + 1; ++yield) {
        CipherWindow w;
        w.Type(plain);
        w.AtYield(yield, [](Form2* progress) { progress->close(); });
        w.form.Command1_Click();
        // A yield that never comes (the 11th) lets the run finish.
        QCOMPARE(w.form.Text1().Text(), yield <= kYields ? plain : Enciphered(plain, 1234));
        QCOMPARE(w.shared.DocChanged, kTrue);
        QVERIFY(w.Button("Command1")->isEnabled());
    }
}

void RobustnessTest::closingTheMainWindowAtEveryYield() {
    const QString plain = Enciphered(TwoHundredCharacters(), 1234);
    for (int yield = 1; yield <= kYields; ++yield) {
        CipherWindow w;
        w.Type(plain);
        w.platform.ScriptAnswers({solvena::desktop::kCancel});
        w.AtYield(yield, [&w](Form2*) { w.form.close(); });
        w.form.Command2_Click();
        // Cancelled first, then the closing question; Cancel keeps it open.
        QTRY_COMPARE(w.platform.Asked().size(), std::size_t{1});
        QVERIFY(w.form.isVisible());
        QCOMPARE(w.form.Text1().Text(), plain);
        QVERIFY(!w.form.Running());
    }
}

void RobustnessTest::pressingExitAtEveryYieldWaitsForTheRun() {
    const QString plain = TwoHundredCharacters();
    for (int yield = 1; yield <= kYields; ++yield) {
        CipherWindow w;
        w.form.Text1().SetText(plain);
        w.AtYield(yield, [&w](Form2*) {
            QTest::mouseClick(w.Button("Command11"), Qt::LeftButton);
            QTest::keyClick(&w.form, Qt::Key_Q, Qt::ControlModifier);
        });
        w.form.Command1_Click();
        QCOMPARE(w.form.Text1().Text(), Enciphered(plain, 1234));
        QVERIFY(w.form.isVisible());
        QVERIFY(w.platform.Asked().empty());
    }
}

void RobustnessTest::pressingTheCipherButtonsAgainAndAgain() {
    CipherWindow w;
    const QString plain = Document(400);
    w.form.Text1().SetText(plain);
    for (int yield = 1; yield <= 5; ++yield) {
        w.AtYield(yield, [&w](Form2*) {
            QTest::mouseClick(w.Button("Command1"), Qt::LeftButton);
            QTest::mouseClick(w.Button("Command2"), Qt::LeftButton);
        });
    }
    QTest::mouseClick(w.Button("Command1"), Qt::LeftButton);
    QCOMPARE(w.form.Text1().Text(), Enciphered(plain, 1234));
    for (int round = 0; round < 3; ++round) {
        QTest::mouseClick(w.Button("Command2"), Qt::LeftButton);
        QTest::mouseClick(w.Button("Command1"), Qt::LeftButton);
    }
    QTest::mouseClick(w.Button("Command2"), Qt::LeftButton);
    QCOMPARE(w.form.Text1().Text(), plain);
}

void RobustnessTest::openingATenMegabyteFile() {
    solvena::testing::TempDir dir;
    const QString plain = Document(2'800'000);
    const std::string enciphered =
        solvena::cipher::EncipherText(solvena::desktop::ToU16View(plain), 55) + "\r\n";
    QVERIFY(enciphered.size() > 10'000'000);
    solvena::testing::WriteBytes(dir.File("big.zkt"), enciphered);
    MainWindow w(MainWindow::Start::Later,
                 {QStringLiteral("solvena"), QString::fromStdString(dir.File("big.zkt"))});
    QVERIFY(w.form.Form_Load());
    QCOMPARE(w.form.Text1().Text().size(), qsizetype(enciphered.size() - 2));
    QCOMPARE(w.shared.DocChanged, kFalse);
    w.AnswerPassNumber(55);
    w.form.Command2_Click();
    QCOMPARE(w.form.Text1().Text(), plain);
}

void RobustnessTest::everyKindOfCodeUnitRoundTheWholeProgram() {
    QString text = QStringLiteral("行\r\n");
    for (const char16_t unit :
         {char16_t{0}, char16_t{0xD800}, char16_t{'\r'}, char16_t{'\n'}, char16_t{0xDFFF},
          char16_t{0x2029}, char16_t{0xFFFF}, char16_t{0xFDD2}, char16_t{0x8000}}) {
        text.append(QChar(unit));
        text.append(QLatin1Char('.'));
    }
    CipherWindow w(321);
    w.form.Text1().SetText(text);
    QCOMPARE(w.form.Text1().Text(), text);
    w.form.Command1_Click();
    // Saved as zkt, opened again, deciphered.
    solvena::testing::WhenFileDialogShownEnter(&w.form, QStringLiteral("units"));
    w.form.Command7_Click();
    QVERIFY(QFile::exists(w.dir.Path(QStringLiteral("units.zkt"))));
    w.form.Command9_Click();
    QVERIFY(w.form.Text1().IsEmpty());
    solvena::testing::WhenFileDialogShownEnter(&w.form, QStringLiteral("units.zkt"));
    w.form.Command6_Click();
    // No text by itself: 解読 asks before it shows the result.
    w.platform.ScriptAnswers({solvena::desktop::kYes});
    w.form.Command2_Click();
    QCOMPARE(w.platform.Asked().size(), std::size_t{1});
    QCOMPARE(w.form.Text1().Text(), text);
}

QTEST_MAIN(RobustnessTest)
#include "robustness_test.moc"
