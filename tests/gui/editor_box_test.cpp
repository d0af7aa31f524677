// SPDX-License-Identifier: MIT
// The editor holds every document text exactly, and counts its changes.

#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <functional>
#include <random>

#include "editor_box.h"
#include "editor_text.h"

using solvena::app::EditorBox;

class EditorBoxTest : public QObject {
    Q_OBJECT

  private slots:
    // Random units have no glyphs; the font warnings say nothing here.
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("qt.*.warning=false")); }
    void keepsTheUnitsTheEditorWouldChange_data();
    void keepsTheUnitsTheEditorWouldChange();
    void keepsRandomTextsExactly();
    void enterTypedInsertsCrLf();
    void reportsEachChangeOnce();
    void replacingTheTextIsOneUndoableStep();
    void loneLineEndsAreOneMarkThatEditsCannotSplit();
    void marksAreDimmedWhileTheDocumentHoldsThem();
    void textFollowsEveryKindOfChange();
};

void EditorBoxTest::keepsTheUnitsTheEditorWouldChange_data() {
    QTest::addColumn<QString>("text");
    const auto units = [](std::initializer_list<char16_t> list) {
        QString text;
        for (char16_t c : list) {
            text.append(QChar(c));
        }
        return text;
    };
    QTest::newRow("line breaks") << QStringLiteral("a\r\nb\r\n\r\nc\r\n");
    QTest::newRow("lone CR and LF") << units({'a', '\r', 'b', '\n', 'c', '\n', '\r'});
    QTest::newRow("LF CR") << units({'\n', '\r', 'x'});
    QTest::newRow("separators") << units({'a', 0x2028, 'b', 0x2029, 'c'});
    QTest::newRow("nbsp and tab") << units({'a', 0x00A0, '\t', 0x3000});
    QTest::newRow("nul") << units({0, 'a', 0});
    QTest::newRow("lone surrogates") << units({0xD800, 'a', 0xDFFF, 0xDBFF});
    QTest::newRow("pair") << QStringLiteral("\U0001F600");
    QTest::newRow("frame marks") << units({0xFDD0, 'a', 0xFDD1, 0xFFFC});
    QTest::newRow("escape itself") << units({0xFDD2, 'x', 0xFDD2, 'r', 0xFDD2});
    QTest::newRow("the marks' own characters") << units({0x240D, '\r', 0x240A, '\n', 'a'});
    QTest::newRow("kanji") << QStringLiteral("漢字かな\r\n語彙");
}

void EditorBoxTest::keepsTheUnitsTheEditorWouldChange() {
    QFETCH(QString, text);
    EditorBox box;
    box.SetText(text);
    QCOMPARE(box.Text(), text);
}

void EditorBoxTest::keepsRandomTextsExactly() {
    std::mt19937 rng(2026);
    std::uniform_int_distribution<int> unit(0, 0xFFFF);
    std::uniform_int_distribution<int> special(0, 13);
    std::uniform_int_distribution<int> length(0, 60);
    static constexpr char16_t kSpecial[] = {'\r',   '\n',   0x2028, 0x2029, 0x240D, 0,   0xD800,
                                            0xDC00, 0xFDD0, 0xFDD1, 0xFDD2, 0x240A, 'r', 0xFEFF};
    EditorBox box;
    for (int round = 0; round < 3000; ++round) {
        QString text;
        for (int i = length(rng); i > 0; --i) {
            const int pick = special(rng);
            text.append(QChar(pick < 13 ? kSpecial[pick] : static_cast<char16_t>(unit(rng))));
        }
        box.SetText(text);
        QCOMPARE(box.Text(), text);
    }
}

void EditorBoxTest::enterTypedInsertsCrLf() {
    EditorBox box;
    box.show();
    QTest::keyClicks(&box, QStringLiteral("ab"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("c"));
    box.insertPlainText(QStringLiteral("語"));
    QCOMPARE(box.Text(), QStringLiteral("ab\r\nc語"));
}

void EditorBoxTest::reportsEachChangeOnce() {
    EditorBox box;
    box.show();
    QSignalSpy changed(&box, &EditorBox::Changed);
    QTest::keyClicks(&box, QStringLiteral("xy"));
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(1).at(0).toBool(), true);  // by a person
    box.SetText(QStringLiteral("xy"));             // the same text: no change
    QCOMPARE(changed.count(), 2);
    box.SetText(QStringLiteral("long\r\ntext"));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(2).at(0).toBool(), false);  // by the program
    box.setFont(QFont(QStringLiteral("Monospace"), 14));
    QCOMPARE(changed.count(), 3);
    box.SetText(QString());
    QCOMPARE(changed.count(), 4);
    QVERIFY(box.IsEmpty());
}

void EditorBoxTest::replacingTheTextIsOneUndoableStep() {
    EditorBox box;
    box.show();
    QTest::keyClicks(&box, QStringLiteral("plain"));
    box.ReplaceText(QStringLiteral("enciphered\r\ntext"));
    QCOMPARE(box.Text(), QStringLiteral("enciphered\r\ntext"));
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("plain"));
}

void EditorBoxTest::loneLineEndsAreOneMarkThatEditsCannotSplit() {
    EditorBox box;
    box.show();
    QSignalSpy changed(&box, &EditorBox::Changed);
    box.SetText(QStringLiteral("a\rb\nc"));
    QCOMPARE(box.toPlainText(), QStringLiteral("a\u240Db\u240Ac"));
    QTest::qWait(20);  // the marks are dimmed, which changes no text
    QCOMPARE(changed.count(), 1);
    // Every caret position next to a mark is before or after all of it.
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(1);
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClicks(&box, QStringLiteral("x"));
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClicks(&box, QStringLiteral("y"));
    QCOMPARE(box.Text(), QStringLiteral("ay\rxb\nc"));
    // Deleting the mark deletes the line end, and nothing else.
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.Text(), QStringLiteral("ayxb\nc"));
}

namespace {

// The places in the first block drawn in the dimmed colour of a mark.
QList<int> DimmedPlaces(const EditorBox& box) {
    QList<int> places;
    for (const QTextLayout::FormatRange& range : box.document()->begin().layout()->formats()) {
        if (range.format.foreground().color() == QColor(150, 150, 150)) {
            places.append(range.start);
        }
    }
    return places;
}

}  // namespace

void EditorBoxTest::marksAreDimmedWhileTheDocumentHoldsThem() {
    EditorBox box;
    box.show();
    box.SetText(QStringLiteral("a\rb\nc"));
    QCOMPARE(DimmedPlaces(box), (QList<int>{1, 3}));  // at once, before any paint
    box.ReplaceText(QStringLiteral("plain"));
    QVERIFY(DimmedPlaces(box).isEmpty());
    box.undo();  // the marks come back with their text
    QCOMPARE(DimmedPlaces(box), (QList<int>{1, 3}));
    box.ReplaceText(QStringLiteral("plain"));
    box.selectAll();
    box.insertPlainText(QStringLiteral("x\u240Dy"));  // a mark comes in typed or pasted
    QCOMPARE(DimmedPlaces(box), QList<int>{1});
}

void EditorBoxTest::textFollowsEveryKindOfChange() {
    EditorBox box;
    box.show();
    box.SetText(QStringLiteral("one\r\ntwo"));
    const std::function<void()> changes[] = {
        [&] { QTest::keyClicks(&box, QStringLiteral("z")); },
        [&] { box.undo(); },
        [&] { box.redo(); },
        [&] { box.ReplaceText(QStringLiteral("new")); },
        [&] { box.undo(); },
        [&] { box.selectAll(), QTest::keyClick(&box, Qt::Key_Delete); },
        [&] { box.setPlainText(QStringLiteral("set\naround")); },
        [&] { box.document()->clear(); },
    };
    for (const auto& change : changes) {
        QCOMPARE(box.Text(), solvena::app::FromEditorText(*box.document()));
        change();
        QCOMPARE(box.Text(), solvena::app::FromEditorText(*box.document()));
    }
}

QTEST_MAIN(EditorBoxTest)
#include "editor_box_test.moc"
