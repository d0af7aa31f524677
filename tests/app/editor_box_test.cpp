// SPDX-License-Identifier: MIT
// The editor holds every document text exactly, and counts its changes.

#include <QApplication>
#include <QClipboard>
#include <QLoggingCategory>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <functional>
#include <random>

#include "app/editor_box.h"
#include "app/editor_text.h"
#include "desktop/look.h"

using solvena::app::EditorBox;
using solvena::app::FromEditorText;

namespace {

// What the editor holds, read afresh rather than as it keeps it.
QString Held(const EditorBox& box) {
    return FromEditorText(*box.document());
}

}  // namespace

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
    void marksAreDrawnWithGlyphsOfTheirOwn();
    void textFollowsEveryKindOfChange();
    void manyShortLinesComeBackExactly();
    void pastedTextFromElsewhereKeepsItsCharacters();
    void copiesInsideKeepLoneLineEndsAndGiveOthersTheCharacters();
    void aThirdClickSelectsTheLine();
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
    QCOMPARE(Held(box), text);
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
        QCOMPARE(Held(box), text);
    }
}

void EditorBoxTest::enterTypedInsertsCrLf() {
    EditorBox box;
    box.show();
    QTest::keyClicks(&box, QStringLiteral("ab"));
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("c"));
    box.insertPlainText(QStringLiteral("語"));
    QCOMPARE(Held(box), QStringLiteral("ab\r\nc語"));
    // Shift+Enter too is a line break, not a character of its own.
    QTest::keyClick(&box, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(Held(box), QStringLiteral("ab\r\nc語\r\n"));
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

void EditorBoxTest::marksAreDrawnWithGlyphsOfTheirOwn() {
    // None of the fonts the program installs has them.
    EditorBox box;
    box.setFont(solvena::desktop::JapaneseFont(solvena::desktop::Face::Gothic, 10.5, false));
    const auto draw = [&box](char16_t unit) {
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(box.font());
        painter.setPen(Qt::black);
        painter.drawText(QPointF(8, 32), QString(QChar(unit)));
        return image;
    };
    // A glyph that failed to come would be the same missing box for both.
    const QImage missing = draw(0xE000);
    const QImage cr = draw(solvena::app::kLoneCrMark);
    const QImage lf = draw(solvena::app::kLoneLfMark);
    QVERIFY(cr != missing && lf != missing && cr != lf);
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

void EditorBoxTest::manyShortLinesComeBackExactly() {
    // Short lines of every kind, empty ones, lone line ends, separators of
    // the document's own, and lines long enough to be held in pieces.
    std::mt19937 rng(25);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_int_distribution<int> length(0, 80);
    QString text;
    while (text.size() < 3 * solvena::app::kPieceLength * 10) {
        const int k = kind(rng);
        const qsizetype n = k == 0 ? 2 * solvena::app::kPieceLength + length(rng) : length(rng);
        text += QString(n, QChar(u'a' + k));
        text += k == 1 ? QStringLiteral("\r") : k == 2 ? QStringLiteral("\n") : QString();
        text += k == 3 ? QStringLiteral("\u2028") : QStringLiteral("\r\n");
    }
    EditorBox box;
    box.show();
    box.SetText(text);
    QCOMPARE(Held(box), text);
    QVERIFY(box.document()->blockCount() < 200);  // lines share blocks
    box.ReplaceText(text + QStringLiteral("end"));
    QCOMPARE(Held(box), text + QStringLiteral("end"));
    box.undo();
    QCOMPARE(Held(box), text);
    // Editing in the middle of a shared block.
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(5000);
    box.setTextCursor(cursor);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClick(&box, Qt::Key_Backspace);
    const int at = static_cast<int>(FromEditorText(*box.document()).size());
    QVERIFY(at == text.size() - 1 || at == text.size() - 2);  // one unit or a CR LF gone
    box.undo();
    box.undo();
    box.undo();
    QCOMPARE(Held(box), text);
    // A copy of lines across the blocks that hold them is their text, in
    // another editor as at the end of this one.
    const QTextBlock second = box.document()->begin().next();
    QTextCursor across = box.textCursor();
    across.setPosition(second.position() - 300);
    across.setPosition(second.position() + 300, QTextCursor::KeepAnchor);
    box.setTextCursor(across);
    box.copy();
    EditorBox other;
    other.paste();
    const QString piece = Held(other);
    QVERIFY(piece.count(QLatin1String("\r\n")) > 5);
    QVERIFY(text.contains(piece));
    QTextCursor end = box.textCursor();
    end.movePosition(QTextCursor::End);
    box.setTextCursor(end);
    box.paste();
    QCOMPARE(Held(box), text + piece);
}

void EditorBoxTest::pastedTextFromElsewhereKeepsItsCharacters() {
    EditorBox box;
    box.show();
    // The marks the editor shows lone line ends with, its escape and a line
    // separator, as another program's text holds them; its line breaks of
    // every kind are line breaks.
    QApplication::clipboard()->setText(QStringLiteral("a\u240Db\u240Ac\uFDD2r\u2028d\ne\r\nf\rg"));
    box.paste();
    QCOMPARE(Held(box), QStringLiteral("a\u240Db\u240Ac\uFDD2r\u2028d\r\ne\r\nf\r\ng"));
    QCOMPARE(box.Text(), Held(box));
}

void EditorBoxTest::copiesInsideKeepLoneLineEndsAndGiveOthersTheCharacters() {
    EditorBox box;
    box.show();
    const QString text = QStringLiteral("x\ry\nz\r\n\u240Dw\u2029");
    box.SetText(text);
    box.selectAll();
    box.copy();
    // Other programs get the document's characters, lines ended by LF.
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("x\ry\nz\n\u240Dw\u2029"));
    QTextCursor end = box.textCursor();
    end.movePosition(QTextCursor::End);
    box.setTextCursor(end);
    box.paste();
    QCOMPARE(Held(box), text + text);
    // Cut and paste back, as a drag inside the editor does.
    box.selectAll();
    box.cut();
    QVERIFY(box.IsEmpty());
    box.paste();
    QCOMPARE(Held(box), text + text);
}

void EditorBoxTest::aThirdClickSelectsTheLine() {
    EditorBox box;
    box.resize(400, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.SetText(QStringLiteral("first line\r\nsecond line\r\nthird line"));
    const QRect first = box.cursorRect();
    const QPoint second(first.left() + 20, first.center().y() + first.height());
    QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, second);
    QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(box.textCursor().selectedText(), QStringLiteral("second line"));
    QTextCursor start = box.textCursor();
    start.setPosition(0);
    QCOMPARE(solvena::app::LineOf(start).selectedText(), QStringLiteral("first line"));
    // A line held in pieces is selected whole.
    const QString longLine(3 * solvena::app::kPieceLength, QChar(u'x'));
    box.SetText(QStringLiteral("a\r\n") + longLine + QStringLiteral("\r\nb"));
    QTextCursor inside = box.textCursor();
    inside.setPosition(static_cast<int>(solvena::app::kPieceLength) + 100);
    const QTextCursor line = solvena::app::LineOf(inside);
    QCOMPARE(line.selectionStart(), 2);
    QCOMPARE(line.selectionEnd() - line.selectionStart(), 3 * solvena::app::kPieceLength + 2);
}

QTEST_MAIN(EditorBoxTest)
#include "editor_box_test.moc"
