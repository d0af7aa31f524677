// SPDX-License-Identifier: MIT
// The find and replace window of the main window, used as a person would:
// its keys, the places it selects, what it replaces and how that is taken
// back, and the search it leaves for F3 and its next opening.

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/find_form.h"
#include "app/main_form.h"
#include "tests/support/main_window.h"

using solvena::app::EditorBox;
using solvena::app::FindForm;
using solvena::testing::MainWindow;

namespace {

struct Window : MainWindow {
    Window() { QVERIFY(Activate(&form)); }
    FindForm* Find() { return form.findChild<FindForm*>(QStringLiteral("Form3")); }
    // Brings a window to the front, as a click on it would.
    static bool Activate(QWidget* window) {
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
    EditorBox* Box(const char* name) {
        return Find()->findChild<EditorBox*>(QString::fromLatin1(name));
    }
    void Press(const char* name) {
        QTest::mouseClick(Find()->findChild<QPushButton*>(QString::fromLatin1(name)),
                          Qt::LeftButton);
    }
    QString Status() { return Find()->findChild<QLabel*>(QStringLiteral("Label3"))->text(); }
    // The selection in the editor, as start and end.
    std::pair<int, int> Selected() {
        const QTextCursor cursor = form.Text1().textCursor();
        return {cursor.selectionStart(), cursor.selectionEnd()};
    }
    void Key(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(to, key, modifiers);
    }
};

}  // namespace

class FindFormTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void findsForwardAndBackFromTheCaret();
    void aSelectedLoneLineEndIsLookedForAsItself();
    void replacesOneAtATimeOrAllAsOneStep();
    void theSearchIsKeptForF3AndTheNextOpening();
    void enterFindsOrPressesTheFocusedButton();
    void thePlaceFoundIsNeverUnderTheWindow();
};

void FindFormTest::findsForwardAndBackFromTheCaret() {
    Window w;
    w.Type(QStringLiteral("Abc abc\r\nＡＢＣ"));
    w.Key(&w.form, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(w.Find() != nullptr && w.Find()->isVisible());
    QTRY_VERIFY(w.Box("Text1")->hasFocus());
    QVERIFY(Window::Activate(w.Find()));
    QTest::keyClicks(w.Box("Text1"), QStringLiteral("abc"));
    w.Key(w.Box("Text1"), Qt::Key_Return);  // Enter finds, case and width aside
    QCOMPARE(w.Selected(), std::make_pair(0, 3));
    w.Key(w.Find(), Qt::Key_F3);
    QCOMPARE(w.Selected(), std::make_pair(4, 7));
    w.Key(w.Find(), Qt::Key_F3);
    QCOMPARE(w.Selected(), std::make_pair(8, 11));
    w.Key(w.Find(), Qt::Key_F3);
    QCOMPARE(w.Selected(), std::make_pair(0, 3));
    QVERIFY(w.Status().contains(QStringLiteral("先頭")));
    w.Key(w.Find(), Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(w.Selected(), std::make_pair(8, 11));
    // Case and width matter when asked to.
    w.Find()->findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
    w.Find()->findChild<QCheckBox*>(QStringLiteral("Check2"))->click();
    w.Press("Command1");
    QCOMPARE(w.Selected(), std::make_pair(4, 7));
    w.Box("Text1")->SetText(QStringLiteral("xyz"));
    w.Press("Command1");
    QCOMPARE(w.Status(), QStringLiteral("見つかりません"));
    QCOMPARE(w.platform.BeepCount(), 1);
    QCOMPARE(w.Selected(), std::make_pair(4, 7));
}

void FindFormTest::aSelectedLoneLineEndIsLookedForAsItself() {
    Window w;
    w.Type(QStringLiteral("a\r\nb\rc\u240D"));
    // The lone CR, shown as its mark, selected and looked for.
    QTextCursor cursor = w.form.Text1().textCursor();
    cursor.setPosition(3);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    w.form.Text1().setTextCursor(cursor);
    w.form.ShowFindForm(false);
    QCOMPARE(w.Box("Text1")->Text(), QStringLiteral("\r"));
    w.Press("Command1");
    QCOMPARE(w.Selected(), std::make_pair(3, 4));
    QVERIFY(w.Status().contains(QStringLiteral("先頭")));  // no other: it went round
    // The mark as a character of its own is another thing.
    w.Box("Text1")->SetText(QStringLiteral("\u240D"));
    w.Press("Command1");
    QCOMPARE(w.Selected(), std::make_pair(5, 7));  // held as an escape pair
}

void FindFormTest::replacesOneAtATimeOrAllAsOneStep() {
    Window w;
    const QString text = QStringLiteral("cat, cat\r\nCAT");
    w.Type(text);
    w.Key(&w.form, Qt::Key_H, Qt::ControlModifier);
    QTRY_VERIFY(w.Box("Text2")->hasFocus());
    w.Box("Text1")->SetText(QStringLiteral("cat"));
    w.Box("Text2")->SetText(QStringLiteral("犬\r\n"));
    // The caret is no place found: the first 置換 only finds.
    w.Press("Command3");
    QCOMPARE(w.form.Text1().Text(), text);
    QCOMPARE(w.Selected(), std::make_pair(0, 3));
    w.Press("Command3");
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("犬\r\n, cat\r\nCAT"));
    w.Press("Command4");
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("犬\r\n, 犬\r\n\r\n犬\r\n"));
    QCOMPARE(w.Status(), QStringLiteral("2 か所を置換しました"));
    QCOMPARE(w.shared.DocChanged, solvena::state::kTrue);
    // Ctrl+Z takes back all of them at once, then the one before.
    QVERIFY(Window::Activate(&w.form));
    w.Key(&w.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("犬\r\n, cat\r\nCAT"));
    w.Key(&w.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.form.Text1().Text(), text);
    // Nothing is replaced in a document that a run holds.
    w.form.Text1().setReadOnly(true);
    w.Press("Command4");
    QCOMPARE(w.form.Text1().Text(), text);
}

void FindFormTest::theSearchIsKeptForF3AndTheNextOpening() {
    Window w;
    w.Type(QStringLiteral("one two one"));
    // F3 with nothing looked for yet opens the window.
    w.Key(&w.form, Qt::Key_F3);
    QVERIFY(w.Find() != nullptr);
    w.Box("Text1")->SetText(QStringLiteral("one"));
    w.Find()->findChild<QCheckBox*>(QStringLiteral("Check1"))->click();
    w.Key(w.Find(), Qt::Key_Escape);
    QTRY_VERIFY(w.Find() == nullptr);
    QCOMPARE(w.shared.FindText, QStringLiteral("one"));
    QVERIFY(w.shared.FindMatchCase);
    QVERIFY(Window::Activate(&w.form));
    w.Key(&w.form, Qt::Key_F3);
    QCOMPARE(w.Selected(), std::make_pair(0, 3));
    w.Key(&w.form, Qt::Key_F3);
    QCOMPARE(w.Selected(), std::make_pair(8, 11));
    w.Key(&w.form, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(w.Selected(), std::make_pair(0, 3));
    // Opened again with nothing selected, it starts from the last search.
    QTextCursor cursor = w.form.Text1().textCursor();
    cursor.clearSelection();
    w.form.Text1().setTextCursor(cursor);
    w.form.ShowFindForm(false);
    QCOMPARE(w.Box("Text1")->Text(), QStringLiteral("one"));
    QVERIFY(w.Find()->findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
}

void FindFormTest::enterFindsOrPressesTheFocusedButton() {
    Window w;
    w.Type(QStringLiteral("one one one"));
    w.form.ShowFindForm(false);
    QVERIFY(Window::Activate(w.Find()));
    w.Box("Text1")->SetText(QStringLiteral("one"));
    // On a check box or the replacement, Enter is 次を検索 (and toggles nothing).
    const std::pair<int, int> places[] = {{0, 3}, {4, 7}, {8, 11}};
    int next = 0;
    for (const char* name : {"Check1", "Check2", "Text2"}) {
        auto* control = w.Find()->findChild<QWidget*>(QString::fromLatin1(name));
        control->setFocus();
        w.Key(control, Qt::Key_Return);
        QCOMPARE(w.Selected(), places[next++]);
    }
    QVERIFY(!w.Find()->findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
    // And a check box shows that it has the focus, whatever the style.
    auto* check = w.Find()->findChild<QCheckBox*>(QStringLiteral("Check2"));
    QVERIFY(Window::Activate(w.Find()));
    check->setFocus();
    QTRY_VERIFY(check->hasFocus());
    const QImage focused = check->grab().toImage();
    w.Box("Text1")->setFocus();
    QTRY_VERIFY(!check->hasFocus());
    QVERIFY(check->grab().toImage() != focused);
    // On a button, Enter presses that one: 前を検索, then 閉じる.
    for (const char* name : {"Command2", "Command5"}) {
        auto* button = w.Find()->findChild<QPushButton*>(QString::fromLatin1(name));
        button->setFocus();
        w.Key(button, Qt::Key_Return);
    }
    QCOMPARE(w.Selected(), places[1]);
    QTRY_VERIFY(w.Find() == nullptr);
}

void FindFormTest::thePlaceFoundIsNeverUnderTheWindow() {
    Window w;
    w.form.resize(480, 600);
    QStringList lines;
    for (int i = 0; i < 40; ++i) {
        lines.append(QStringLiteral("%1 行目の文章、word はここ").arg(i));
    }
    w.Type(lines.join(QStringLiteral("\r\n")));
    w.form.ShowFindForm(false);
    w.Box("Text1")->SetText(QStringLiteral("word"));
    EditorBox& editor = w.form.Text1();
    for (int i = 0; i < 45; ++i) {
        w.Press("Command1");
        QTextCursor start = editor.textCursor();
        QTextCursor end = start;
        start.setPosition(start.selectionStart());
        end.setPosition(end.selectionEnd());
        QRect place = editor.cursorRect(start).united(editor.cursorRect(end));
        place.moveTopLeft(editor.viewport()->mapToGlobal(place.topLeft()));
        QVERIFY2(!w.Find()->frameGeometry().intersects(place), qPrintable(QString::number(i)));
    }
    // Closed and opened again, it is where it was.
    const QPoint where = w.Find()->pos();
    w.Press("Command5");
    QTRY_VERIFY(w.Find() == nullptr);
    w.form.ShowFindForm(false);
    QCOMPARE(w.Find()->pos(), where);
}

QTEST_MAIN(FindFormTest)
#include "find_form_test.moc"
