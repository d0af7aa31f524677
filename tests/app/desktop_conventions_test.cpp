// SPDX-License-Identifier: MIT
// What a person on a Linux desktop expects of the windows: keys reach the
// file dialog's name box as typed, every text is Japanese, a refused file is
// told in a window, dialogs stay readable under a dark theme, the focus
// returns to the document after a run, and every control has a name that a
// screen reader can say.

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <cmath>
#include <functional>

#include "app/application.h"
#include "app/find_form.h"
#include "desktop/translations.h"
#include "dialogs/form11.h"
#include "dialogs/form2.h"
#include "dialogs/orla.h"
#include "dialogs/pass_finder.h"
#include "tests/support/file_dialog_fixture.h"
#include "tests/support/main_window.h"
#include "tests/support/process.h"
#include "tests/support/scripted_application.h"

using solvena::state::kFileModeOpen;
using solvena::state::kFileModeSave;
using solvena::testing::CipherWindow;
using solvena::testing::Dialog;
using solvena::testing::ReadBytes;
using solvena::testing::WhenShown;

namespace {

// Types as a person does: each key goes to whatever has the focus then.
void TypeKeys(const QString& text) {
    for (const QChar c : text) {
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
}

// The contrast ratio of two colours as readability guidelines measure it:
// 1 (none) to 21 (black on white).
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& c) {
        const auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QString AccessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// Every named control under `window` that takes the focus or shows a state
// has an accessible name and description.
void CheckAccessible(QWidget* window) {
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const bool focusable = control->focusPolicy() != Qt::NoFocus;
        if (control->objectName().isEmpty() || !focusable || control->isHidden()) {
            continue;
        }
        QVERIFY2(!AccessibleName(control).isEmpty(), qPrintable(control->objectName()));
        QVERIFY2(!control->accessibleDescription().isEmpty(), qPrintable(control->objectName()));
    }
}

}  // namespace

class DesktopConventionsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void theFirstKeyTypedGoesIntoTheNameBox();
    void spaceAndEnterPressAFocusedButton();
    void choosingTheDriveShownKeepsTheFolder();
    void messageBoxesAndContextMenusAreJapanese();
    void aRefusedFileIsToldInAWindow();
    void moreThanOneFileOpensTheFirstAndSaysSo();
    void fixedBackgroundsKeepDarkTextUnderADarkTheme();
    void theFocusReturnsToTheDocumentAfterARun();
    void helpAndVersionAreAnswered();
    void everyControlHasAnAccessibleName();
    void smallWindowsHaveACloseBoxOnly();
};

void DesktopConventionsTest::theFirstKeyTypedGoesIntoTheNameBox() {
    {
        Dialog d(kFileModeSave, QStringLiteral("memo"));
        d.form->Command2_Click();  // txt
        QVERIFY(d.form->findChild<QComboBox*>(QStringLiteral("Drive1"))->hasFocus());
        TypeKeys(QStringLiteral("memo2"));
        QCOMPARE(d.Name()->text(), QStringLiteral("memo2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(ReadBytes(d.dir.File("memo2.txt")), std::string("memo\r\n"));
    }
    Dialog d(kFileModeOpen);
    d.List("File1")->setFocus();
    const QString path = d.dir.Path(QStringLiteral("memo.txt"));
    TypeKeys(path);
    QCOMPARE(d.Name()->text(), path);
}

void DesktopConventionsTest::spaceAndEnterPressAFocusedButton() {
    Dialog d(kFileModeSave, QStringLiteral("x"));
    d.Button("Command2")->setFocus();
    QTest::keyClick(d.Button("Command2"), Qt::Key_Space);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("txt"));
    QVERIFY(d.Button("Command2")->hasFocus());
    QTest::keyClick(d.Button("Command2"), Qt::Key_Return);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("gpg"));
    QTest::keyClick(d.Button("Command2"), Qt::Key_Space);
    QCOMPARE(d.Button("Command2")->text(), QStringLiteral("zkt"));
    d.Button("Command1")->setFocus();
    QTest::keyClick(d.Button("Command1"), Qt::Key_Return);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(ReadBytes(d.dir.File("Newname.zkt")), std::string("x\r\n"));
}

void DesktopConventionsTest::choosingTheDriveShownKeepsTheFolder() {
    Dialog d(kFileModeSave);
    d.DoubleClick("Dir1", d.List("Dir1")->count() - 1);  // into sub
    QCOMPARE(d.Items("File1"), QStringList{QStringLiteral("inner.txt")});
    auto* drives = d.form->findChild<QComboBox*>(QStringLiteral("Drive1"));
    emit drives->activated(drives->currentIndex());
    QCOMPARE(d.Items("File1"), QStringList{QStringLiteral("inner.txt")});
}

void DesktopConventionsTest::messageBoxesAndContextMenusAreJapanese() {
    solvena::desktop::Platform platform({QStringLiteral("solvena")});
    // Every kind of box names its buttons alike; the default is Yes, but
    // before a text that looks wrong.
    int answer = 0;
    const auto asked = [&answer](const std::function<int()>& ask) {
        QStringList buttons;
        QObject watching;
        WhenShown<QMessageBox>(&watching, QString(), [&](QMessageBox* box) {
            for (QAbstractButton* button : box->buttons()) {
                buttons.append(button->text());
            }
            box->defaultButton()->click();
        });
        answer = ask();
        buttons.sort();
        return buttons.join(u' ');
    };
    QCOMPARE(asked([&] { return platform.Confirm(nullptr, QStringLiteral("質問")); }),
             QStringLiteral("いいえ(&N) はい(&Y) キャンセル"));
    QCOMPARE(answer, int{solvena::desktop::kYes});
    QCOMPARE(asked([&] { return platform.AskYesNo(nullptr, QStringLiteral("質問")); }),
             QStringLiteral("いいえ(&N) はい(&Y)"));
    QCOMPARE(answer, int{solvena::desktop::kYes});
    // Where a yes would show a text that looks wrong, Enter says no.
    QCOMPARE(asked([&] { return platform.AskYesNo(nullptr, QStringLiteral("質問"), true); }),
             QStringLiteral("いいえ(&N) はい(&Y)"));
    QCOMPARE(answer, int{solvena::desktop::kNo});
    QCOMPARE(asked([&] { return platform.AskYesNoFind(nullptr, QStringLiteral("質問")); }),
             QStringLiteral("いいえ(&N) はい(&Y) パスナンバーを探す(&F)"));
    QCOMPARE(answer, int{solvena::desktop::kNo});

    QVERIFY(solvena::desktop::UseJapaneseQtTexts(*QCoreApplication::instance()));
    solvena::app::EditorBox editor;
    std::unique_ptr<QMenu> menu(editor.createStandardContextMenu());
    QStringList texts;
    for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts.append(action->text());
        }
    }
    QVERIFY2(!texts.join(u' ').contains(QLatin1String("Undo")), qPrintable(texts.join(u' ')));
    QVERIFY2(texts.join(u' ').contains(QStringLiteral("貼り付け")), qPrintable(texts.join(u' ')));
}

void DesktopConventionsTest::aRefusedFileIsToldInAWindow() {
    solvena::testing::ScriptedApplication application(
        {QStringLiteral("solvena"), QStringLiteral("README.md")});
    application.Platform().SetInteractive(false);
    QVERIFY(!application.Start());
    QCOMPARE(application.Platform().Asked().size(), std::size_t{1});
    QCOMPARE(application.Platform().Asked().front().title, QStringLiteral("ソルベナ"));
    QVERIFY(application.Platform().Asked().front().text.contains(QStringLiteral("README.md")));
}

void DesktopConventionsTest::moreThanOneFileOpensTheFirstAndSaysSo() {
    solvena::testing::CurrentTempDir dir;
    solvena::testing::WriteBytes(dir.File("a.txt"), "first\r\n");
    solvena::testing::WriteBytes(dir.File("b.txt"), "second\r\n");
    solvena::testing::ScriptedApplication application(
        {QStringLiteral("solvena"), QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    application.Platform().SetInteractive(false);
    QVERIFY(application.Start());
    QCOMPARE(application.Main().Text1().Text(), QStringLiteral("first"));
    QCOMPARE(application.Platform().Asked().size(), std::size_t{1});
    QVERIFY(application.Platform().Asked().front().text.contains(QStringLiteral("一つだけ")));
}

void DesktopConventionsTest::fixedBackgroundsKeepDarkTextUnderADarkTheme() {
    const QPalette saved = QApplication::palette();
    QPalette dark(QColor(53, 53, 53), QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    Dialog file(kFileModeSave);
    solvena::state::Module2 shared;
    solvena::desktop::Platform platform({QStringLiteral("solvena")});
    solvena::dialogs::Form11 pass(shared, platform, nullptr);
    solvena::dialogs::Orla about(nullptr);
    for (QWidget* window : std::initializer_list<QWidget*>{file.form.get(), &pass, &about}) {
        const QColor background = window->palette().color(QPalette::Window);
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QColor text = label->palette().color(QPalette::WindowText);
            QVERIFY2(Contrast(background, text) >= 4.5,
                     qPrintable(window->objectName() + QLatin1Char('/') + label->objectName()));
        }
    }
    QApplication::setPalette(saved);
}

void DesktopConventionsTest::theFocusReturnsToTheDocumentAfterARun() {
    CipherWindow w;
    w.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w.form));
    w.Type(QStringLiteral("plain text"));
    w.Button("Command1")->setFocus();
    w.form.Command1_Click();
    QTRY_VERIFY(w.form.Text1().hasFocus());
    QCOMPARE(w.form.Text1().textCursor().position(), 0);
    // Cancelled at the first yield point: the focus comes back all the same.
    w.Type(QString(50000, QLatin1Char('a')));
    w.Button("Command2")->setFocus();
    w.AtYield(1, [](solvena::dialogs::Form2* progress) { progress->close(); });
    w.form.Command2_Click();
    // The progress window was the active one; the main window's focus is
    // the editor's all the same.
    QTRY_COMPARE(w.form.focusWidget(), &w.form.Text1());
}

void DesktopConventionsTest::helpAndVersionAreAnswered() {
    const auto help = solvena::testing::RunProcess(SOLVENA_PATH, {"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(QString::fromStdString(help.out).contains(QLatin1String("--version")),
             help.out.c_str());
    const auto version = solvena::testing::RunProcess(SOLVENA_PATH, {"--version"});
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(QString::fromStdString(version.out),
             QStringLiteral("solvena %1\n").arg(QLatin1String(SOLVENA_VERSION)));
}

void DesktopConventionsTest::everyControlHasAnAccessibleName() {
    CipherWindow w;
    CheckAccessible(&w.form);
    const char* const buttons[][2] = {{"Command6", "開く"},
                                      {"Command9", "新規作成"},
                                      {"Command7", "保存"},
                                      {"Command10", "ヘルプ"},
                                      {"Command11", "終了"}};
    for (const auto& [name, spoken] : buttons) {
        QCOMPARE(AccessibleName(w.Button(name)), QString::fromUtf8(spoken));
    }
    QCOMPARE(AccessibleName(&w.form.Text1()), QStringLiteral("文書"));
    QVERIFY(w.Button("Command1")->toolTip().contains(QLatin1String("Ctrl+E")));
    QVERIFY(w.Button("Command2")->toolTip().contains(QLatin1String("Ctrl+D")));
    Dialog file(kFileModeSave);
    CheckAccessible(file.form.get());
    solvena::dialogs::Form11 pass(w.shared, w.platform, nullptr);
    CheckAccessible(&pass);
    solvena::dialogs::Form2 progress(w.shared, nullptr);
    CheckAccessible(&progress);
    QVERIFY(!progress.findChild<QWidget*>(QStringLiteral("Picture1"))->accessibleName().isEmpty());
    solvena::dialogs::Orla about(nullptr);
    CheckAccessible(&about);
    w.form.ShowFindForm(false);
    CheckAccessible(w.form.findChild<solvena::app::FindForm*>(QStringLiteral("Form3")));
}

void DesktopConventionsTest::smallWindowsHaveACloseBoxOnly() {
    solvena::testing::MainWindow w;
    w.form.ShowFindForm(false);
    solvena::dialogs::Form2 progress(w.shared, &w.form);
    solvena::dialogs::PassFinder finder(w.shared, QString(), &w.form);
    const std::pair<QWidget*, Qt::WindowType> windows[] = {
        {w.form.findChild<solvena::app::FindForm*>(QStringLiteral("Form3")), Qt::Dialog},
        {&finder, Qt::Dialog},
        {&progress, Qt::Tool},
    };
    for (const auto& [window, type] : windows) {
        const Qt::WindowFlags flags = window->windowFlags();
        QCOMPARE(window->windowType(), type);
        // The hints count only with CustomizeWindowHint.
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint) &&
                flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    }
    // The finder's buttons are the size of the other windows' buttons.
    const QSize button = progress.findChild<QPushButton*>(QStringLiteral("Command1"))->size();
    finder.show();
    for (const char* name : {"Command1", "Command2"}) {
        QCOMPARE(finder.findChild<QPushButton*>(QString::fromLatin1(name))->size(), button);
    }
}

QTEST_MAIN(DesktopConventionsTest)
#include "desktop_conventions_test.moc"
