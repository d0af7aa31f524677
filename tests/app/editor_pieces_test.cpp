// SPDX-License-Identifier: MIT
// A long line is held by the editor in pieces: the document text stays
// exactly what it is, keys and the clipboard never see the seams, and only
// the pieces in view are laid out and painted.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QPaintEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "app/editor_box.h"
#include "app/editor_text.h"
#include "cipher/encipher.h"
#include "desktop/text_convert.h"

using solvena::app::ContinuesLine;
using solvena::app::EditorBox;
using solvena::app::kPieceLength;

namespace {

// The rows of the laid-out blocks that end although the first character
// of the next row would have fitted; the last row of a block ends it.
int EarlyRowEnds(EditorBox& box) {
    const QFontMetricsF metrics(box.font());
    int early = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        box.document()->documentLayout()->blockBoundingRect(block);  // lays it out
        const QTextLayout* layout = block.layout();
        for (int i = 0; i + 1 < layout->lineCount(); ++i) {
            const QTextLine row = layout->lineAt(i);
            const QChar next = block.text().at(layout->lineAt(i + 1).textStart());
            early +=
                row.naturalTextWidth() + metrics.horizontalAdvance(next) <= row.width() ? 1 : 0;
        }
    }
    return early;
}

}  // namespace

namespace {

// "0123456789" over and over, `length` units in all.
QString LongLine(qsizetype length) {
    QString line(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i) {
        line[i] = QChar(static_cast<char16_t>(u'0' + i % 10));
    }
    return line;
}

void PutCaret(EditorBox& box, int position) {
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(position);
    box.setTextCursor(cursor);
}

// Counts the units of the blocks that each paint of the editor covers: what
// the editor lays out and draws for it.
class PaintWork : public QObject {
  public:
    explicit PaintWork(EditorBox& box) : box_(box) { box.viewport()->installEventFilter(this); }
    qsizetype largest = 0;
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRect area = static_cast<QPaintEvent*>(event)->rect();
            QTextBlock block = box_.cursorForPosition(area.topLeft()).block();
            const QTextBlock last = box_.cursorForPosition(area.bottomRight()).block();
            qsizetype units = 0;
            for (; block.isValid(); block = block.next()) {
                units += block.length();
                if (block == last) {
                    break;
                }
            }
            largest = std::max(largest, units);
            ++paints;
        }
        return false;
    }

  private:
    EditorBox& box_;
};

}  // namespace

class EditorPiecesTest : public QObject {
    Q_OBJECT

  private slots:
    void aLongLineIsHeldInPiecesAndComesBackExactly();
    void keysStepOverTheSeams();
    void enterAndPastedLineBreaksStartLines();
    void theClipboardNeverSeesTheSeams();
    void undoBringsBackTheTextExactly();
    void idleBlinkingPaintsOnlyThePieceInView();
    void aFillStoppedHalfWayLeavesTheDocumentAsItWas();
    void encipheredTextFillsItsRows();
};

void EditorPiecesTest::aLongLineIsHeldInPiecesAndComesBackExactly() {
    EditorBox box;
    const QString text = QStringLiteral("head\r\n") + LongLine(3 * kPieceLength + 7) +
                         QStringLiteral("\U0001F600\r\n\r\ntail");
    box.SetText(text);
    QCOMPARE(box.Text(), text);
    // "head", three pieces of the long line, and its last piece with the
    // short lines after it.
    QCOMPARE(box.document()->blockCount(), 5);
    int continuing = 0;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.length() <= kPieceLength + 1);
        continuing += ContinuesLine(block) ? 1 : 0;
    }
    QCOMPARE(continuing, 3);
    box.ReplaceText(text + QStringLiteral("!"));
    QCOMPARE(box.Text(), text + QStringLiteral("!"));
    // Longer than one part of a fill.
    const QString huge = LongLine(150 * kPieceLength + 3);
    box.SetText(huge);
    QCOMPARE(box.Text(), huge);
    box.ReplaceText(huge + text);
    QCOMPARE(box.Text(), huge + text);
}

void EditorPiecesTest::keysStepOverTheSeams() {
    EditorBox box;
    box.show();
    const QString line = LongLine(2 * kPieceLength);
    box.SetText(line);
    const int seam = static_cast<int>(kPieceLength);  // the end of the first piece
    PutCaret(box, seam);
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClicks(&box, QStringLiteral("R"));
    // "R" stands after the first character of the second piece.
    QCOMPARE(box.Text(), line.left(seam + 1) + QStringLiteral("R") + line.mid(seam + 1));
    box.SetText(line);
    PutCaret(box, seam + 1);  // the start of the second piece
    QTest::keyClick(&box, Qt::Key_Left);
    QTest::keyClicks(&box, QStringLiteral("L"));
    QCOMPARE(box.Text(), line.left(seam - 1) + QStringLiteral("L") + line.mid(seam - 1));
    box.SetText(line);
    PutCaret(box, seam + 1);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QCOMPARE(box.Text(), line.left(seam - 1) + line.mid(seam));
    box.SetText(line);
    PutCaret(box, seam);
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.Text(), line.left(seam) + line.mid(seam + 1));
    // Shift+Right selects the character beyond the seam.
    box.SetText(line);
    PutCaret(box, seam);
    QTest::keyClick(&box, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClicks(&box, QStringLiteral("x"));
    QCOMPARE(box.Text(), line.left(seam) + QStringLiteral("x") + line.mid(seam + 1));
}

void EditorPiecesTest::enterAndPastedLineBreaksStartLines() {
    EditorBox box;
    box.show();
    const QString line = LongLine(2 * kPieceLength + 100);
    box.SetText(line);
    const int inSecondPiece = static_cast<int>(kPieceLength) + 50;
    PutCaret(box, inSecondPiece);
    QTest::keyClick(&box, Qt::Key_Return);
    const int docAt = inSecondPiece - 1;  // the seam is no character
    QCOMPARE(box.Text(), line.left(docAt) + QStringLiteral("\r\n") + line.mid(docAt));
    box.SetText(line);
    PutCaret(box, inSecondPiece);
    QApplication::clipboard()->setText(QStringLiteral("a\nb\r\nc"));
    box.paste();
    QCOMPARE(box.Text(), line.left(docAt) + QStringLiteral("a\r\nb\r\nc") + line.mid(docAt));
    // A long line pasted is held in pieces too.
    box.SetText(QString());
    QApplication::clipboard()->setText(line);
    box.paste();
    QCOMPARE(box.Text(), line);
    QVERIFY(box.document()->blockCount() > 2);
}

void EditorPiecesTest::theClipboardNeverSeesTheSeams() {
    EditorBox box;
    box.show();
    const QString text = LongLine(3 * kPieceLength) + QStringLiteral("\r\nnext");
    box.SetText(text);
    box.selectAll();
    box.copy();
    QCOMPARE(QApplication::clipboard()->text(), LongLine(3 * kPieceLength) + "\nnext");
    QTextCursor part = box.textCursor();
    part.setPosition(static_cast<int>(kPieceLength) - 2);
    part.setPosition(static_cast<int>(kPieceLength) + 3, QTextCursor::KeepAnchor);
    box.setTextCursor(part);
    box.cut();
    QCOMPARE(QApplication::clipboard()->text(), text.mid(kPieceLength - 2, 4));
    QCOMPARE(box.Text(), text.left(kPieceLength - 2) + text.mid(kPieceLength + 2));
}

void EditorPiecesTest::undoBringsBackTheTextExactly() {
    EditorBox box;
    box.show();
    const QString line = LongLine(3 * kPieceLength);
    box.SetText(QStringLiteral("plain"));
    box.ReplaceText(line);
    QTextCursor across = box.textCursor();
    across.setPosition(10);
    across.setPosition(static_cast<int>(2 * kPieceLength), QTextCursor::KeepAnchor);
    box.setTextCursor(across);
    QTest::keyClick(&box, Qt::Key_Delete);
    QVERIFY(box.Text() != line);
    PutCaret(box, 5);
    QTest::keyClick(&box, Qt::Key_Return);
    box.undo();
    box.undo();
    QCOMPARE(box.Text(), line);
    box.redo();
    box.undo();
    QCOMPARE(box.Text(), line);
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("plain"));
}

void EditorPiecesTest::idleBlinkingPaintsOnlyThePieceInView() {
    // The work of a paint must not grow with the line's length.
    QApplication::setCursorFlashTime(100);
    for (const qsizetype length : {qsizetype{200000}, qsizetype{2000000}}) {
        EditorBox box;
        box.resize(400, 300);
        box.show();
        box.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        box.SetText(LongLine(length));
        box.setFocus();
        QTest::qWait(50);
        PaintWork work(box);
        QTest::qWait(400);  // several blinks
        QVERIFY2(work.paints > 0, "the cursor did not blink");
        QVERIFY2(work.largest <= 2 * (kPieceLength + 1),
                 qPrintable(QStringLiteral("%1 units painted at once in a line of %2")
                                .arg(work.largest)
                                .arg(length)));
    }
}

void EditorPiecesTest::aFillStoppedHalfWayLeavesTheDocumentAsItWas() {
    EditorBox box;
    box.show();
    box.SetText(QStringLiteral("before"));
    QTest::keyClicks(&box, QStringLiteral("typed "));
    const QString before = box.Text();
    QSignalSpy changed(&box, &EditorBox::Changed);
    int asked = 0;
    const QString line = LongLine(200 * kPieceLength);
    QVERIFY(!box.ReplaceText(line, [&](double) {
        ++asked;
        // Input waits while the fill lets events run, and the document is
        // still the one before (what a recovery copy made now would keep).
        QTest::keyClicks(&box, QStringLiteral("zz"));
        if (box.Text() != before) {
            return false;
        }
        return asked < 2;
    }));
    QCOMPARE(asked, 2);
    QCOMPARE(box.Text(), before);
    QCOMPARE(changed.count(), 0);
    QVERIFY(!box.document()->isRedoAvailable());
    box.undo();  // the typing before is still there to take back
    QCOMPARE(box.Text(), QStringLiteral("before"));
    // Let through, the same fill is one step.
    QVERIFY(box.ReplaceText(line, [](double) { return true; }));
    QCOMPARE(box.Text(), line);
    box.undo();
    QCOMPARE(box.Text(), QStringLiteral("before"));
    // Short lines sharing pieces, in a text of several parts: the same,
    // the parts meeting inside lines.
    QString lines;
    while (lines.size() < 3 * 64 * kPieceLength) {
        lines += QStringLiteral("a short line\r\n\r\nx\ry\u2028z\r\n");
    }
    QVERIFY(!box.ReplaceText(lines, [](double) { return false; }));
    QCOMPARE(solvena::app::FromEditorText(*box.document()), QStringLiteral("before"));
    QVERIFY(box.ReplaceText(lines, [](double) { return true; }));
    QCOMPARE(solvena::app::FromEditorText(*box.document()), lines);
}

void EditorPiecesTest::encipheredTextFillsItsRows() {
    EditorBox box;
    box.resize(300, 200);
    box.show();
    QString plain;
    for (int i = 0; i < 2000; ++i) {
        plain += QStringLiteral("暗号 (a-b!c/d) テキスト、");
    }
    const QString enciphered = solvena::desktop::FromAscii(
        solvena::cipher::EncipherText(solvena::desktop::ToU16View(plain), 77));
    box.SetText(enciphered);
    QVERIFY(box.document()->blockCount() > 2);
    QCOMPARE(EarlyRowEnds(box), 0);
    // A blank typed makes words of it, and taking it back makes it signs again.
    QTest::keyClick(&box, Qt::Key_Space);
    QCOMPARE(box.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTRY_COMPARE(box.wordWrapMode(), QTextOption::WrapAnywhere);
    box.SetText(plain);
    QCOMPARE(box.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    QVERIFY(EarlyRowEnds(box) > 0);  // at word boundaries
    // A run taken back and done again takes its wrapping with it.
    box.ReplaceText(enciphered);
    QCOMPARE(box.wordWrapMode(), QTextOption::WrapAnywhere);
    box.undo();
    QCOMPARE(box.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    box.redo();
    QTRY_COMPARE(box.wordWrapMode(), QTextOption::WrapAnywhere);
}

QTEST_MAIN(EditorPiecesTest)
#include "editor_pieces_test.moc"
