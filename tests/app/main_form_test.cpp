// SPDX-License-Identifier: MIT
// The main window: layout and resizing, change handling, the command line.

#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/look.h"
#include "desktop/platform.h"
#include "dialogs/orla.h"
#include "tests/support/button_colour.h"
#include "tests/support/main_window.h"
#include "tests/support/temp_dir.h"
#include "tests/support/window_fidelity.h"

using solvena::app::EditorBox;
using solvena::state::kFalse;
using solvena::state::kTrue;
using Start = solvena::testing::MainWindow::Start;

namespace {

// Not started yet: the tests start it, or look at it unstarted.
struct Fixture : solvena::testing::MainWindow {
    explicit Fixture(QStringList arguments = {QStringLiteral("solvena")})
        : MainWindow(Start::Later, std::move(arguments)) {}
    EditorBox* Text1() { return &form.Text1(); }
};

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void looksAsItDid_data();
    void looksAsItDid();
    void controlsAreNamedAndPlaced();
    void resizeRuleFigures();
    void resizingTheWindowMovesTheControls();
    void changeCountingSwitchesTheCipherButtons();
    void programChangesCountOnce();
    void changeCountStopsRatherThanWrap();
    void commandLine_data();
    void commandLine();
    void commandLineFileThatCannotBeRead();
    void exitAndCtrlQClose();
};

void MainFormTest::looksAsItDid_data() {
    // Places in pixels, 15 twips each.
    solvena::testing::AddShownRows({
        {"", "objectName", QStringLiteral("メイン")},
        {"", "windowTitle", QStringLiteral("ソルベナ")},
        {"", "size", QSize(316, 246)},
        {"Command6", "toolTip", QStringLiteral("ファイルを開く (Ctrl+O)")},
        {"Command9", "toolTip", QStringLiteral("新規作成 (Ctrl+N)")},
        {"Command7", "toolTip", QStringLiteral("保存 (Ctrl+S)")},
        {"Command10", "toolTip", QStringLiteral("ヘルプ (F1)")},
        {"Command11", "toolTip", QStringLiteral("終了 (Ctrl+Q)")},
        {"Command6", "geometry", QRect(0, 0, 41, 33)},
        {"Command9", "geometry", QRect(48, 0, 41, 33)},
        {"Command7", "geometry", QRect(96, 0, 41, 33)},
        {"Command1", "text", QStringLiteral("暗号化")},
        {"Command2", "text", QStringLiteral("解読")},
        {"Command11", "iconSize", QSize(16, 16)},
        {"Command6", "iconSize", QSize(32, 32)},
    });
}

void MainFormTest::looksAsItDid() {
    Fixture f;
    solvena::testing::CheckShown(&f.form);
}

void MainFormTest::controlsAreNamedAndPlaced() {
    Fixture f;
    // The tool bar's buttons: pictures with a tip, no text.
    for (const char* name : {"Command6", "Command9", "Command7", "Command10", "Command11"}) {
        QPushButton* button = f.Button(name);
        QVERIFY2(button != nullptr, name);
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->parentWidget()->objectName(), QStringLiteral("PicTaskBar"));
        QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
    }
    QCOMPARE(f.form.findChild<EditorBox*>(QStringLiteral("Text1")), f.Text1());
    QVERIFY(f.Text1()->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOn);
    QVERIFY(f.Text1()->horizontalScrollBarPolicy() == Qt::ScrollBarAlwaysOff);
}

void MainFormTest::resizeRuleFigures() {
    const auto layout = solvena::app::ResizeRule(400, 300, false);
    QVERIFY(layout.has_value());
    QCOMPARE(layout->encipherButton.left(), 40);
    QCOMPARE(layout->encipherButton.left() + layout->encipherButton.width(), 160);
    QCOMPARE(layout->decipherButton.left(), 240);
    QCOMPARE(layout->decipherButton.left() + layout->decipherButton.width(), 360);
    QCOMPARE(layout->helpButtonLeft, 285);
    QCOMPARE(layout->exitButtonLeft, 345);
    QCOMPARE(layout->editor, QRect(0, 40, 400, 208));
    QCOMPARE(layout->encipherButton.top(), 265);
    QVERIFY(!solvena::app::ResizeRule(400, 65, false).has_value());
    QVERIFY(!solvena::app::ResizeRule(400, 300, true).has_value());
    // Between 65 and 92 the editor would get a negative height.
    QCOMPARE(solvena::app::ResizeRule(400, 70, false)->editor.height(), 0);
}

void MainFormTest::resizingTheWindowMovesTheControls() {
    Fixture f;
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    // The first showing already lays out: 246 - 92 = 154.
    QCOMPARE(f.Text1()->height(), 154);
    f.form.resize(400, 300);
    QTRY_COMPARE(f.Button("Command1")->geometry(), QRect(40, 265, 120, 25));
    QCOMPARE(f.Button("Command2")->geometry(), QRect(240, 265, 120, 25));
    QCOMPARE(f.Button("Command10")->pos(), QPoint(285, 0));
    QCOMPARE(f.Button("Command11")->pos(), QPoint(345, 0));
    QCOMPARE(f.form.findChild<QWidget*>(QStringLiteral("PicTaskBar"))->width(), 400);
    // Made as small as it goes, the window keeps every control whole.
    f.form.resize(1, 1);
    QTRY_COMPARE(f.form.size(), f.form.minimumSize());
    QVERIFY(f.Button("Command10")->x() > f.Button("Command7")->geometry().right());
    QVERIFY(f.Text1()->height() > f.Text1()->fontMetrics().lineSpacing());
    for (const char* name : {"Command1", "Command2"}) {
        const QRect button = f.Button(name)->geometry();
        QVERIFY2(f.form.rect().contains(button) && button.top() > f.Text1()->geometry().bottom(),
                 name);
        QVERIFY2(button.width() >
                     f.Button(name)->fontMetrics().horizontalAdvance(f.Button(name)->text()),
                 name);
    }
}

void MainFormTest::changeCountingSwitchesTheCipherButtons() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    QPushButton* command1 = f.Button("Command1");
    QPushButton* command2 = f.Button("Command2");
    QVERIFY(!command1->isEnabled());
    QCOMPARE(solvena::testing::ButtonColour(command1), QColor(192, 192, 192));
    // What a person types is a change from the first keystroke on (a single
    // paste or input-method commit may bring a whole text).
    QTest::keyClicks(f.Text1(), QStringLiteral("a"));
    QVERIFY(command1->isEnabled() && command2->isEnabled());
    QCOMPARE(solvena::testing::ButtonColour(command1), QColor(255, 224, 192));
    QCOMPARE(solvena::testing::ButtonColour(command2), QColor(192, 255, 192));
    QCOMPARE(f.shared.DocChanged, kTrue);
    QTest::keyClicks(f.Text1(), QStringLiteral("b"));
    QCOMPARE(f.shared.DocChanged, kTrue);
    // Deleting all of it restarts the count.
    f.Text1()->selectAll();
    QTest::keyClick(f.Text1(), Qt::Key_Delete);
    QVERIFY(!command1->isEnabled() && !command2->isEnabled());
    QCOMPARE(solvena::testing::ButtonColour(command2), QColor(192, 192, 192));
    QCOMPARE(f.shared.DocChanged, kFalse);
    QCOMPARE(f.form.ChangeCount(), std::int16_t{0});
    f.Text1()->insertPlainText(QStringLiteral("貼り付けた長い文章"));
    QCOMPARE(f.shared.DocChanged, kTrue);
}

void MainFormTest::programChangesCountOnce() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    // Filling an empty editor is no edit; putting identical text back is no change.
    f.Text1()->SetText(QStringLiteral("loaded\r\ntext"));
    QCOMPARE(f.shared.DocChanged, kFalse);
    QCOMPARE(f.form.ChangeCount(), std::int16_t{1});
    f.Text1()->SetText(QStringLiteral("loaded\r\ntext"));
    QCOMPARE(f.form.ChangeCount(), std::int16_t{1});
    f.Text1()->SetText(QStringLiteral("other"));
    QCOMPARE(f.shared.DocChanged, kTrue);
    QCOMPARE(f.form.ChangeCount(), std::int16_t{2});
}

void MainFormTest::changeCountStopsRatherThanWrap() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    f.Text1()->SetText(QStringLiteral("x"));
    for (int i = 0; i < 33000; ++i) {
        f.form.Text1_Change();
    }
    QCOMPARE(f.form.ChangeCount(), std::int16_t{32767});
    QCOMPARE(f.shared.DocChanged, kTrue);
}

void MainFormTest::commandLine_data() {
    QTest::addColumn<QString>("line");  // %1 stands for the temporary folder
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("filePath");
    QTest::addColumn<QString>("text");
    const QString abc = QStringLiteral("abc\r\ndef");
    QTest::newRow("none") << QString() << true << QString() << QString();
    QTest::newRow("plain path") << QStringLiteral("%1/a.txt") << true << QStringLiteral("%1/a.txt")
                                << abc;
    QTest::newRow("quoted, blanks around")
        << QStringLiteral("  \"%1/a.txt\"  ") << true << QStringLiteral("%1/a.txt") << abc;
    QTest::newRow("two quotes") << QStringLiteral("\"\"") << true << QString() << QString();
    QTest::newRow("one quote") << QStringLiteral("\"") << true << QString() << QString();
    QTest::newRow("upper-case ending")
        << QStringLiteral("%1/b.ZKT") << true << QStringLiteral("%1/b.ZKT")
        << QStringLiteral("1m!ZELKORA");
    QTest::newRow("no dot before txt")
        << QStringLiteral("%1/atxt") << true << QStringLiteral("%1/atxt") << QStringLiteral("x");
    QTest::newRow("UTF-8 with LF")
        << QStringLiteral("%1/note.txt") << true << QStringLiteral("%1/note.txt")
        << QStringLiteral("こんにちは\r\n東京のメモ");
    QTest::newRow("missing file") << QStringLiteral("%1/none.txt") << true
                                  << QStringLiteral("%1/none.txt") << QString();
    QTest::newRow("mixed-case ending")
        << QStringLiteral("%1/a.Txt") << false << QString() << QString();
    QTest::newRow("other ending") << QStringLiteral("%1/a.doc") << false << QString() << QString();
}

void MainFormTest::commandLine() {
    QFETCH(QString, line);
    QFETCH(bool, starts);
    QFETCH(QString, filePath);
    QFETCH(QString, text);
    solvena::testing::TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    solvena::testing::WriteBytes(dir.File("a.txt"), "\r\n\r\nabc\r\ndef\r\n");
    solvena::testing::WriteBytes(dir.File("b.ZKT"), "1m!ZELKORA\r\n");
    solvena::testing::WriteBytes(dir.File("atxt"), "x");
    solvena::testing::WriteBytes(dir.File("note.txt"), "こんにちは\n東京のメモ\n");
    QStringList arguments{QStringLiteral("solvena")};
    if (!line.isEmpty()) {
        // The command line is the arguments joined by blanks.
        arguments.append(line.contains(QLatin1String("%1")) ? line.arg(folder) : line);
    }
    Fixture f(arguments);
    QCOMPARE(f.form.Form_Load(), starts);
    QCOMPARE(f.form.isVisible(), starts);
    if (!starts) {
        return;
    }
    QCOMPARE(f.shared.FilePath,
             filePath.contains(QLatin1String("%1")) ? filePath.arg(folder) : filePath);
    QCOMPARE(f.Text1()->Text(), text);
    QCOMPARE(f.shared.DocChanged, kFalse);
    QCOMPARE(f.Button("Command1")->isEnabled(), !text.isEmpty());
    QVERIFY(f.platform.Asked().empty());
}

void MainFormTest::commandLineFileThatCannotBeRead() {
    solvena::testing::TempDir dir;
    solvena::testing::WriteBytes(dir.File("bad.txt"), "ok\x85\x40");
    Fixture f({QStringLiteral("solvena"), QString::fromStdString(dir.File("bad.txt"))});
    QVERIFY(f.form.Form_Load());
    QVERIFY(f.Text1()->IsEmpty());
    QCOMPARE(f.shared.DocChanged, kFalse);
    QCOMPARE(f.platform.Asked().size(), std::size_t{1});
    const QString notice = f.platform.Asked()[0].text;
    QVERIFY2(notice.contains(QStringLiteral("bad.txt")), qPrintable(notice));
    QVERIFY2(notice.contains(QStringLiteral("3 バイト目")), qPrintable(notice));

    // A newline in the name does not split the notice.
    solvena::testing::WriteBytes(dir.File("bad\nname.txt"), "ok\x85\x40");
    Fixture split({QStringLiteral("solvena"), QString::fromStdString(dir.File("bad\nname.txt"))});
    QVERIFY(split.form.Form_Load());
    const QString splitNotice = split.platform.Asked().at(0).text;
    QVERIFY2(splitNotice.section(QLatin1Char('\n'), 0, 0)
                 .endsWith(QStringLiteral("bad'$'\\n''name.txt' を読み込めません。")),
             qPrintable(splitNotice));

    // A name that is not UTF-8 reaches Qt as another name: said, not opened.
    solvena::testing::WriteBytes(dir.File("\xff.txt"), "never read\r\n");
    std::string raw = dir.File("\xff.txt");
    char program[] = "solvena";
    char* argv[] = {program, raw.data()};
    Fixture odd({QStringLiteral("solvena"), QFile::decodeName(QByteArray::fromStdString(raw))});
    odd.platform.CheckArguments(2, argv);
    QVERIFY(odd.form.Form_Load());
    QVERIFY(odd.Text1()->IsEmpty());
    QCOMPARE(odd.platform.Asked().size(), std::size_t{1});
    QVERIFY(odd.platform.Asked()[0].text.contains(QStringLiteral("読み取れません")));
}

void MainFormTest::exitAndCtrlQClose() {
    Fixture f;
    QVERIFY(f.form.Form_Load());
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QTest::mouseClick(f.Button("Command11"), Qt::LeftButton);
    QTRY_VERIFY(!f.form.isVisible());
    f.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.form));
    QTest::keyClick(&f.form, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!f.form.isVisible());
}

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
