// SPDX-License-Identifier: MIT
// 暗号化 and 解読 in the main window: the pass-number dialog, the progress
// window, cancelling at a yield point, and what becomes of the document.

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <random>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "desktop/text_convert.h"
#include "dialogs/form11.h"
#include "dialogs/form2.h"
#include "tests/support/button_colour.h"
#include "tests/support/gui_support.h"
#include "tests/support/main_window.h"
#include "tests/support/random_text.h"

using solvena::desktop::FromAscii;
using solvena::desktop::ToQString;
using solvena::desktop::ToU16View;
using solvena::dialogs::Form2;
using solvena::state::kFalse;
using solvena::state::kTrue;

using solvena::testing::CipherWindow;
using solvena::testing::Document;
using solvena::testing::Enciphered;
using solvena::testing::ProgressWindow;
using Window = CipherWindow;

class CipherCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void encipherThenDecipherGivesThePureResults();
    void throughThePassNumberDialog();
    void dismissedDialogChangesNothing();
    void cancelLeavesTheDocumentAsItWas_data();
    void cancelLeavesTheDocumentAsItWas();
    void cancelAfterTheRunLeavesTheDocumentAsItWas_data();
    void cancelAfterTheRunLeavesTheDocumentAsItWas();
    void theBarCoversTheWholeCommand();
    void shortDocumentsCannotBeCancelled();
    void duringARunTheDocumentWaits();
    void emptyResultGreysTheButtonsButLeavesThemEnabled();
    void aRunIsOneUndoableEdit();
    void undoOfADecipherKeepsTheViewAndTheFileState();
    void closingTheWindowDuringARunCancelsItFirst();
    void progressWindowStopsTheRunWhenClosed();
    void doubtfulResultIsShownOnlyWhenWanted_data();
    void doubtfulResultIsShownOnlyWhenWanted();
    void plausibleResultAsksNothing();
};

void CipherCommandsTest::encipherThenDecipherGivesThePureResults() {
    Window w(4321);
    const QString plain = Document(500);
    w.form.Text1().SetText(plain);
    QCOMPARE(w.shared.DocChanged, kFalse);
    w.form.Command1_Click();
    const QString enciphered = Enciphered(plain, 4321);
    QCOMPARE(w.form.Text1().Text(), enciphered);
    QVERIFY(!w.form.Text1().Text().contains(QLatin1Char('\n')));
    QCOMPARE(w.shared.PassNumber, std::int16_t{0});
    QCOMPARE(w.shared.DocChanged, kTrue);
    QVERIFY(ProgressWindow(&w.form) == nullptr);
    QVERIFY(w.Button("Command1")->isEnabled() && w.Button("Command2")->isEnabled());
    QCOMPARE(w.Button("Command1")->cursor().shape(), Qt::BitmapCursor);
    w.form.Command2_Click();
    QCOMPARE(w.form.Text1().Text(), plain);
    QVERIFY(!w.form.Text1().isReadOnly());
}

void CipherCommandsTest::throughThePassNumberDialog() {
    solvena::testing::MainWindow w;
    solvena::app::MainForm& form = w.form;
    form.Text1().SetText(QStringLiteral("秘密の文"));
    solvena::testing::WhenShown<solvena::dialogs::Form11>(
        &form, QStringLiteral("Form11"), [](solvena::dialogs::Form11* dialog) {
            auto* entry = dialog->findChild<QLineEdit*>(QStringLiteral("Text1"));
            QTest::keyClicks(entry, QStringLiteral("9999"));
            QTest::keyClick(entry, Qt::Key_Return);
        });
    form.Command1_Click();
    QCOMPARE(form.Text1().Text(), Enciphered(QStringLiteral("秘密の文"), 9999));
}

void CipherCommandsTest::dismissedDialogChangesNothing() {
    Window w(-1);
    w.form.Text1().SetText(QStringLiteral("keep"));
    w.form.Command2_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("keep"));
    QCOMPARE(w.shared.DocChanged, kFalse);
    QCOMPARE(w.shared.PassNumber, std::int16_t{-1});
    QVERIFY(w.Button("Command1")->isEnabled() && w.Button("Command2")->isEnabled());
    QCOMPARE(w.Button("Command2")->cursor().shape(), Qt::BitmapCursor);
    QVERIFY(ProgressWindow(&w.form) == nullptr);
}

void CipherCommandsTest::cancelLeavesTheDocumentAsItWas_data() {
    QTest::addColumn<bool>("encipher");
    QTest::addColumn<int>("yield");
    QTest::newRow("encipher, first yield") << true << 1;
    QTest::newRow("encipher, later yield") << true << 4;
    QTest::newRow("decipher, first yield") << false << 1;
    QTest::newRow("decipher, later yield") << false << 3;
}

void CipherCommandsTest::cancelLeavesTheDocumentAsItWas() {
    QFETCH(bool, encipher);
    QFETCH(int, yield);
    Window w;
    const QString plain = Document(300);
    const QString text = encipher ? plain : Enciphered(plain, 1234);
    w.Type(text);
    QCOMPARE(w.shared.DocChanged, kTrue);
    w.AtYield(yield, [](Form2* progress) {
        QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
    });
    encipher ? w.form.Command1_Click() : w.form.Command2_Click();
    QCOMPARE(w.form.Text1().Text(), text);
    QCOMPARE(w.shared.DocChanged, kTrue);
    QVERIFY(w.Button("Command1")->isEnabled());
    QCOMPARE(solvena::testing::ButtonColour(w.Button("Command1")), QColor(255, 224, 192));
    QCOMPARE(w.shared.PassNumber, encipher ? std::int16_t{0} : std::int16_t{1234});
    QCOMPARE(w.shared.CipherPosition, w.shared.CipherLength + 1);
    QVERIFY(ProgressWindow(&w.form) == nullptr);
}

void CipherCommandsTest::cancelAfterTheRunLeavesTheDocumentAsItWas_data() {
    QTest::addColumn<bool>("encipher");
    QTest::addColumn<QString>("text");
    // Enciphered, this fills the editor in several parts.
    QTest::newRow("while the editor fills") << true << QString(400000, QLatin1Char('a'));
    // Deciphered, its result waits for the verdict, however soon that comes.
    QTest::newRow("while the result is judged") << false << Enciphered(Document(3000), 1234);
}

namespace {

// Where a run over `text` ends, as the window's run of it ends.
template <class Run>
std::int32_t EndOfRun(const QString& text) {
    Run run(ToU16View(text), 1234);
    while (run.RunToYield()) {
    }
    return static_cast<std::int32_t>(run.CipherPosition());
}

}  // namespace

void CipherCommandsTest::cancelAfterTheRunLeavesTheDocumentAsItWas() {
    QFETCH(bool, encipher);
    QFETCH(QString, text);
    Window w;
    w.Type(text);
    auto* timer = new QTimer(&w.form);
    timer->setInterval(0);
    bool pressed = false;
    const std::int32_t end = encipher ? EndOfRun<solvena::cipher::EncipherRun>(text)
                                      : EndOfRun<solvena::cipher::DecipherRun>(text);
    QObject::connect(timer, &QTimer::timeout, &w.form, [&] {
        Form2* progress = ProgressWindow(&w.form);
        // The run is over and the command goes on with its result.
        const bool over = w.shared.CipherPosition == end;
        if (progress != nullptr && !pressed && over) {
            pressed = true;
            progress->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        }
    });
    timer->start();
    encipher ? w.form.Command1_Click() : w.form.Command2_Click();
    timer->stop();
    QVERIFY(pressed);
    // Closed after the run: the window's closing had the last word.
    QCOMPARE(w.shared.CipherPosition, w.shared.CipherLength);
    QCOMPARE(w.form.Text1().Text(), text);
    QCOMPARE(w.shared.DocChanged, kTrue);
    QVERIFY(!w.form.Text1().document()->isRedoAvailable());
    QVERIFY(w.platform.Asked().empty());
    QVERIFY(w.Button("Command1")->isEnabled());
    QVERIFY(ProgressWindow(&w.form) == nullptr);
}

void CipherCommandsTest::theBarCoversTheWholeCommand() {
    Window w;
    w.Type(QString(400000, QLatin1Char('a')));
    // The bar's width every time events run, and whether the run was over.
    QList<std::pair<bool, float>> seen;
    double full = 0;
    auto* timer = new QTimer(&w.form);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, &w.form, [&] {
        if (Form2* progress = ProgressWindow(&w.form)) {
            full = progress->Picture1ScaleWidth();
            seen.append({w.shared.CipherPosition > w.shared.CipherLength, progress->Shape1Width()});
        }
    });
    timer->start();
    w.form.Command1_Click();
    timer->stop();
    QVERIFY(seen.size() > 2);
    float duringRun = 0;
    bool movedWhileFilling = false;
    for (qsizetype i = 0; i < seen.size(); ++i) {
        const auto& [runOver, width] = seen[i];
        QVERIFY(i == 0 || width >= seen[i - 1].second);
        QVERIFY(width < full);  // never full before the result is in place
        duringRun = runOver ? duringRun : width;
        movedWhileFilling = movedWhileFilling || (runOver && width > duringRun);
    }
    QVERIFY(movedWhileFilling);
    QCOMPARE(w.form.Text1().Text(), Enciphered(QString(400000, QLatin1Char('a')), 1234));
}

void CipherCommandsTest::shortDocumentsCannotBeCancelled() {
    Window w;
    const QString plain = QStringLiteral("十九文字の短い文書ですがこれで十九文字");
    QCOMPARE(plain.size(), 19);
    w.form.Text1().SetText(plain);
    // Pending events would close the progress window, but a run of fewer
    // than twenty characters never lets them through.
    QTimer::singleShot(0, &w.form, [&w] {
        if (Form2* progress = ProgressWindow(&w.form)) {
            progress->close();
        }
    });
    w.form.Command1_Click();
    QCOMPARE(w.form.Text1().Text(), Enciphered(plain, 1234));
}

void CipherCommandsTest::duringARunTheDocumentWaits() {
    Window w;
    w.form.Text1().SetText(Document(200));
    bool checked = false;
    w.AtYield(2, [&](Form2* progress) {
        QVERIFY(w.form.Text1().isReadOnly());
        for (const char* name : {"Command6", "Command7", "Command9", "Command11", "Command1"}) {
            QVERIFY2(!w.Button(name)->isEnabled(), name);
        }
        QVERIFY(w.Button("Command10")->isEnabled());
        QCOMPARE(w.Button("Command1")->cursor().shape(), Qt::ArrowCursor);
        // The bar has moved, but less far than the run: the filling of the
        // editor has its share of it too.
        const double run = static_cast<double>(w.shared.CipherPosition) / w.shared.CipherLength;
        QVERIFY(progress->Shape1Width() > 1);
        QVERIFY(progress->Shape1Width() < run * progress->Picture1ScaleWidth());
        checked = true;
    });
    w.form.Command1_Click();
    QVERIFY(checked);
    QVERIFY(!w.form.Text1().isReadOnly());
    QVERIFY(w.Button("Command7")->isEnabled());
}

void CipherCommandsTest::emptyResultGreysTheButtonsButLeavesThemEnabled() {
    Window w;
    w.form.Text1().SetText(QStringLiteral("ZELKORA"));
    w.form.Command2_Click();
    QVERIFY(w.form.Text1().IsEmpty());
    QVERIFY(w.Button("Command1")->isEnabled() && w.Button("Command2")->isEnabled());
    QCOMPARE(solvena::testing::ButtonColour(w.Button("Command2")), QColor(192, 192, 192));
    QCOMPARE(w.shared.DocChanged, kFalse);
}

void CipherCommandsTest::aRunIsOneUndoableEdit() {
    Window w;
    w.form.show();
    QTest::keyClicks(&w.form.Text1(), QStringLiteral("plain text"));
    w.form.Command1_Click();
    QCOMPARE(w.form.Text1().Text(), Enciphered(QStringLiteral("plain text"), 1234));
    QTest::keyClick(&w.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("plain text"));
}

void CipherCommandsTest::undoOfADecipherKeepsTheViewAndTheFileState() {
    Window w;
    w.form.resize(400, 300);
    w.form.show();
    // Read from its file (the program's fill): unchanged.
    const QString plain = Document(3000);
    w.form.Text1().SetText(Enciphered(plain, 1234));
    w.form.Command2_Click();

    QCOMPARE(w.form.Text1().Text(), plain);
    QCOMPARE(w.shared.DocChanged, kTrue);
    QScrollBar* scroll = w.form.Text1().verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(w.form.Text1().textCursor().position(), 0);
    for (const QKeySequence::StandardKey step : {QKeySequence::Undo, QKeySequence::Redo}) {
        const QKeyCombination key = QKeySequence::keyBindings(step).first()[0];
        QTest::keyClick(&w.form.Text1(), key.key(), key.keyboardModifiers());
        QCOMPARE(w.form.Text1().textCursor().position(), 0);
        QCOMPARE(scroll->value(), 0);
    }
    // The editor's menu takes the steps as the keys do.
    for (const char* name : {"edit-undo", "edit-redo"}) {
        QTimer::singleShot(0, [name] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            menu->findChild<QAction*>(QString::fromLatin1(name))->trigger();
            menu->close();
        });
        emit w.form.Text1().customContextMenuRequested(QPoint(10, 10));
        QCOMPARE(w.form.Text1().textCursor().position(), 0);
        QCOMPARE(scroll->value(), 0);
    }
    QCOMPARE(w.form.Text1().Text(), plain);
    QCOMPARE(w.shared.DocChanged, kTrue);
    // Taken back to the file's text, the document is as unchanged as it was.
    QTest::keyClick(&w.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.form.Text1().Text(), Enciphered(plain, 1234));
    QCOMPARE(w.shared.DocChanged, kFalse);
    w.form.Command11_Click();
    QVERIFY(w.platform.Asked().empty());
}

void CipherCommandsTest::closingTheWindowDuringARunCancelsItFirst() {
    Window w;
    const QString plain = Document(400);
    w.Type(plain);
    w.platform.ScriptAnswers({solvena::desktop::kNo});
    w.AtYield(2, [&w](Form2*) { w.form.close(); });
    w.form.Command1_Click();
    // The run was cancelled; the closing then asked about the unsaved text.
    QCOMPARE(w.form.Text1().Text(), plain);
    QTRY_VERIFY(!w.form.isVisible());
    QCOMPARE(w.platform.Asked().size(), std::size_t{1});
    QCOMPARE(w.platform.Asked()[0].text, QStringLiteral("このテキストを保存しますか?"));
}

void CipherCommandsTest::progressWindowStopsTheRunWhenClosed() {
    solvena::state::Module2 shared;
    shared.CipherLength = 500;
    shared.CipherPosition = 40;
    for (int way = 0; way < 3; ++way) {
        Form2 progress(shared, nullptr);
        QCOMPARE(progress.objectName(), QStringLiteral("Form2"));
        QCOMPARE(progress.windowTitle(), QStringLiteral("進行状況表示計"));
        QCOMPARE(progress.Shape1Width(), 1.0f);
        QCOMPARE(progress.Shape1Pixels(), 0);
        progress.show();
        QVERIFY(QTest::qWaitForWindowExposed(&progress));
        progress.SetShape1Width(static_cast<float>(progress.Picture1ScaleWidth() / 4));
        QCOMPARE(progress.Shape1Pixels(), qRound(progress.Picture1ScaleWidth() / 4 / 15));
        shared.CipherPosition = 40;
        if (way == 0) {
            QTest::mouseClick(progress.findChild<QPushButton*>(QStringLiteral("Command1")),
                              Qt::LeftButton);
        } else if (way == 1) {
            QTest::keyClick(&progress, Qt::Key_Escape);
        } else {
            progress.close();
        }
        QTRY_VERIFY(!progress.isVisible());
        QCOMPARE(shared.CipherPosition, 500);
        QVERIFY(progress.Unloaded());
    }
}

namespace {
const QString kDoubt = QStringLiteral("パスナンバーが違う可能性があります。結果を表示しますか？");
const QString kProse = QStringLiteral("今朝は早く目が覚めたので、駅まで歩いてみることにした。");
}  // namespace

void CipherCommandsTest::doubtfulResultIsShownOnlyWhenWanted_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("answer");
    const QString wrongPass = Enciphered(kProse, 4321);
    const QString nearPass = Enciphered(kProse, 1235);
    const QString plain = QStringLiteral("Meet Ken at the station (10:30).");
    QTest::newRow("wrong pass, yes") << wrongPass << int{solvena::desktop::kYes};
    QTest::newRow("wrong pass, no") << wrongPass << int{solvena::desktop::kNo};
    QTest::newRow("pass off by one, no") << nearPass << int{solvena::desktop::kNo};
    QTest::newRow("never enciphered, yes") << plain << int{solvena::desktop::kYes};
    QTest::newRow("never enciphered, no") << plain << int{solvena::desktop::kNo};
}

void CipherCommandsTest::doubtfulResultIsShownOnlyWhenWanted() {
    QFETCH(QString, document);
    QFETCH(int, answer);
    Window w(1234);
    w.form.show();
    w.form.Text1().SetText(document);
    w.platform.ScriptAnswers({answer});
    w.form.Command2_Click();
    QCOMPARE(w.platform.Asked().size(), std::size_t{1});
    const solvena::testing::AskedBox& box = w.platform.Asked()[0];
    // A pass number is looked for only where one may be wrong; いいえ is
    // the default either way (YesNoFind has it too).
    const bool enciphered = document.endsWith(QStringLiteral("ZELKORA"));
    QCOMPARE(box.kind, enciphered ? solvena::testing::AskedBox::Kind::YesNoFind
                                  : solvena::testing::AskedBox::Kind::YesNoNoFirst);
    QCOMPARE(box.title, QStringLiteral("確認メッセージ"));
    QCOMPARE(box.text, kDoubt);
    const QString result = ToQString(solvena::cipher::DecipherText(ToU16View(document), 1234));
    if (answer == solvena::desktop::kYes) {
        QCOMPARE(w.form.Text1().Text(), result);
        QCOMPARE(w.shared.DocChanged, kTrue);
        w.form.Text1().setFocus();
        QTest::keyClick(&w.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(w.form.Text1().Text(), document);
    } else {
        QCOMPARE(w.form.Text1().Text(), document);
        QCOMPARE(w.shared.DocChanged, kFalse);
    }
    QVERIFY(ProgressWindow(&w.form) == nullptr);
    QVERIFY(w.Button("Command1")->isEnabled() && w.Button("Command2")->isEnabled());
    QVERIFY(!w.form.Text1().isReadOnly());
}

void CipherCommandsTest::plausibleResultAsksNothing() {
    // The right pass number, an empty enciphered text, a long random
    // document (the other tests' kind), texts of other scripts and a note
    // of one letter are all let through unasked.
    const QString thai = QStringLiteral("พรุ่งนี้เราจะทำอาหารให้คุณยายที่บ้าน");
    const QString arabic = QStringLiteral("غدا سنطبخ الغداء لجدتنا");
    for (const QString& plain :
         {kProse, QString(), Document(2000), thai, arabic, QStringLiteral("x")}) {
        Window w(1234);
        w.form.Text1().SetText(Enciphered(plain, 1234));
        w.form.Command2_Click();
        QCOMPARE(w.form.Text1().Text(), plain);
        QVERIFY(w.platform.Asked().empty());
    }
}

QTEST_MAIN(CipherCommandsTest)
#include "cipher_commands_test.moc"
