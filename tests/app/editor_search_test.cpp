// SPDX-License-Identifier: MIT
// Finding and replacing in the editor's document: what is found is the
// document's characters, wherever the editor has put them.

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <random>

#include "app/editor_box.h"
#include "app/editor_search.h"
#include "app/editor_text.h"

using solvena::app::EditorBox;
using solvena::app::EditorSearch;
using solvena::app::Found;
using solvena::app::kPieceLength;
using solvena::app::SearchOptions;

namespace {

constexpr SearchOptions kExact{true, true};

// The document text of a place found.
QString TextOf(const EditorBox& box, const Found& found) {
    QTextCursor cursor(box.document());
    cursor.setPosition(found.start);
    cursor.setPosition(found.end, QTextCursor::KeepAnchor);
    return solvena::app::SelectedDocumentText(cursor);
}

QList<QString> AllTexts(const EditorBox& box, const QString& text, SearchOptions options) {
    QList<QString> texts;
    for (const Found& found : EditorSearch(*box.document(), text, options).All()) {
        texts.append(TextOf(box, found));
    }
    return texts;
}

// Places of `what` in `text` that a person could select: none splits a
// CR LF or a surrogate pair. Found first to last, none overlapping.
int Occurrences(const QString& text, const QString& what) {
    const auto splits = [&text](qsizetype at) {
        return at > 0 && at < text.size() &&
               ((text[at - 1] == u'\r' && text[at] == u'\n') ||
                (text[at - 1].isHighSurrogate() && text[at].isLowSurrogate()));
    };
    int count = 0;
    for (qsizetype at = text.indexOf(what); at >= 0; at = text.indexOf(what, at)) {
        if (splits(at) || splits(at + what.size())) {
            ++at;
            continue;
        }
        ++count;
        at += what.size();
    }
    return count;
}

}  // namespace

class EditorSearchTest : public QObject {
    Q_OBJECT

  private slots:
    void foundAcrossPiecesAndLineBreaks();
    void aPlaceEndsWithItsLastCharacterAtACut();
    void loneLineEndsAreFoundAsTheCharactersTheyAre();
    void caseAndWidthAreOptions();
    void nextAndPreviousGoRound();
    void placesAreTheDocumentsOwnCharacters();
    void replaceAllIsOneUndoableStep();
};

void EditorSearchTest::foundAcrossPiecesAndLineBreaks() {
    EditorBox box;
    // A long line cut into pieces, with a word over the first cut, then
    // short lines that share a block.
    QString line(2 * kPieceLength + 10, QLatin1Char('x'));
    line.replace(kPieceLength - 3, 6, QStringLiteral("SEAMED"));
    box.SetText(line + QStringLiteral("\r\nend of it\r\nnext line"));
    QVERIFY(box.document()->blockCount() > 2);
    QCOMPARE(AllTexts(box, QStringLiteral("SEAMED"), kExact), QList<QString>{"SEAMED"});
    // A line break between blocks and one within a block.
    QCOMPARE(AllTexts(box, QStringLiteral("xx\r\nend"), kExact), QList<QString>{"xx\r\nend"});
    QCOMPARE(AllTexts(box, QStringLiteral("it\r\nnext"), kExact), QList<QString>{"it\r\nnext"});
    QCOMPARE(AllTexts(box, QStringLiteral("\r\n"), kExact).size(), 2);
    // The pieces' cuts are no characters.
    QCOMPARE(AllTexts(box, QStringLiteral("xxxxxxxxxxxxxxxxxxxx"), kExact).size(),
             static_cast<int>((2 * kPieceLength + 4) / 20));
}

void EditorSearchTest::aPlaceEndsWithItsLastCharacterAtACut() {
    EditorBox box;
    // After a half-width kana (or half a pair) the search looks at the next
    // unit, over the cut into the next piece: a place still ends where its
    // last character does, and a replacement keeps the pieces apart.
    box.SetText(QString(2 * kPieceLength + 10, QChar(0xFF76)));
    QVERIFY(box.document()->blockCount() > 2);
    for (const SearchOptions options : {kExact, SearchOptions{}}) {
        const std::vector<Found> all =
            EditorSearch(*box.document(), QStringLiteral("ｶ"), options).All();
        QCOMPARE(all.size(), static_cast<std::size_t>(2 * kPieceLength + 10));
        for (const Found& found : all) {
            QCOMPARE(found.end, found.start + 1);
        }
    }
}

void EditorSearchTest::loneLineEndsAreFoundAsTheCharactersTheyAre() {
    EditorBox box;
    // A lone CR, a line break, a lone LF, and the marks as characters.
    box.SetText(QStringLiteral("a\rb\r\nc\nd \u240D\u240A"));
    QCOMPARE(AllTexts(box, QStringLiteral("\r"), kExact), QList<QString>{"\r"});
    QCOMPARE(AllTexts(box, QStringLiteral("\n"), kExact), QList<QString>{"\n"});
    QCOMPARE(AllTexts(box, QStringLiteral("a\rb"), kExact), QList<QString>{"a\rb"});
    QCOMPARE(AllTexts(box, QStringLiteral("\u240D"), kExact), QList<QString>{"\u240D"});
    QCOMPARE(AllTexts(box, QStringLiteral("\u240D\u240A"), kExact), QList<QString>{"\u240D\u240A"});
    // The letter after an escape is no "r" or "n" of the document.
    QVERIFY(AllTexts(box, QStringLiteral("r"), kExact).isEmpty());
    QVERIFY(AllTexts(box, QStringLiteral("\r\r"), kExact).isEmpty());
}

void EditorSearchTest::caseAndWidthAreOptions() {
    EditorBox box;
    box.SetText(QStringLiteral("Guide ＧＵＩＤＥ guide ｶﾞｲﾄﾞ ガイド 😀 𐐀"));
    QCOMPARE(AllTexts(box, QStringLiteral("guide"), {}).size(), 3);
    QCOMPARE(AllTexts(box, QStringLiteral("guide"), {true, false}).size(), 1);
    QCOMPARE(AllTexts(box, QStringLiteral("guide"), {false, true}).size(), 2);
    QCOMPARE(AllTexts(box, QStringLiteral("ガイド"), {}),
             (QList<QString>{QStringLiteral("ｶﾞｲﾄﾞ"), QStringLiteral("ガイド")}));
    QCOMPARE(AllTexts(box, QStringLiteral("ｶﾞｲ"), {}).size(), 2);
    QCOMPARE(AllTexts(box, QStringLiteral("ガイド"), {false, true}).size(), 1);
    // Beyond the first 65536: case folded, and half a pair found nowhere.
    QCOMPARE(AllTexts(box, QStringLiteral("𐐨"), {}), QList<QString>{QStringLiteral("𐐀")});
    QVERIFY(AllTexts(box, QString(QChar(0xD83D)), kExact).isEmpty());
    QCOMPARE(AllTexts(box, QStringLiteral(" 😀"), kExact).size(), 1);
}

void EditorSearchTest::nextAndPreviousGoRound() {
    EditorBox box;
    box.SetText(QStringLiteral("one two one two one"));
    const EditorSearch search(*box.document(), QStringLiteral("one"), {});
    bool wrapped = false;
    QCOMPARE(search.Next(1, true, wrapped), (Found{8, 11}));
    QVERIFY(!wrapped);
    QCOMPARE(search.Next(17, true, wrapped), (Found{0, 3}));
    QVERIFY(wrapped);
    QCOMPARE(search.Next(8, false, wrapped), (Found{0, 3}));
    QVERIFY(!wrapped);
    QCOMPARE(search.Next(0, false, wrapped), (Found{16, 19}));
    QVERIFY(wrapped);
    QVERIFY(!EditorSearch(*box.document(), QStringLiteral("three"), {})
                 .Next(0, true, wrapped)
                 .has_value());
}

void EditorSearchTest::placesAreTheDocumentsOwnCharacters() {
    // Random texts of the units the editor holds as something else, and
    // random texts looked for: every place a person could select is found.
    std::mt19937 rng(33);
    const QStringList parts = {
        QStringLiteral("a"),    QStringLiteral("b"),    QStringLiteral("\r"),
        QStringLiteral("\n"),   QStringLiteral("\r\n"), QStringLiteral("\u240D"),
        QStringLiteral("😀"),    QString(QChar(0xD83D)), QStringLiteral("\u2028"),
        QString(QChar(0xFDD2)), QString(QChar(0xDE00)), QStringLiteral("r"),
        QStringLiteral("x"),    QStringLiteral("l")};
    std::uniform_int_distribution<qsizetype> part(0, parts.size() - 1);
    const auto random = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i) {
            text += parts[part(rng)];
        }
        return text;
    };
    EditorBox box;
    for (int round = 0; round < 400; ++round) {
        const QString text = random(40);
        box.SetText(text);
        for (int query = 0; query < 5; ++query) {
            const QString what = random(1 + query % 3);
            QCOMPARE(static_cast<int>(EditorSearch(*box.document(), what, kExact).All().size()),
                     Occurrences(text, what));
        }
    }
}

void EditorSearchTest::replaceAllIsOneUndoableStep() {
    EditorBox box;
    box.show();
    const QString text =
        QStringLiteral("a\rb a\r\nb\r\n") + QString(kPieceLength, QLatin1Char('a'));
    box.SetText(QStringLiteral("typed"));
    box.ReplaceText(text);
    const std::vector<Found> places =
        EditorSearch(*box.document(), QStringLiteral("a"), kExact).All();
    QCOMPARE(places.size(), static_cast<std::size_t>(kPieceLength + 2));
    solvena::app::ReplaceAll(*box.document(), places, QStringLiteral("「\r\n」"));
    QString expected = text;
    expected.replace(QLatin1Char('a'), QStringLiteral("「\r\n」"));
    QCOMPARE(box.Text(), expected);
    box.undo();
    QCOMPARE(box.Text(), text);
    box.redo();
    QCOMPARE(box.Text(), expected);
}

QTEST_MAIN(EditorSearchTest)
#include "editor_search_test.moc"
