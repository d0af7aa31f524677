// SPDX-License-Identifier: MIT
#include "app/editor_text.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace solvena::app {
namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

struct EscapePair {
    char16_t unit;
    char16_t letter;
};
constexpr EscapePair kPairs[] = {
    {0x2029, u'p'},      {0xFDD0, u'b'},      {0xFDD1, u'e'},       {kEditorEscape, u'x'},
    {kLoneCrMark, u'r'}, {kLoneLfMark, u'n'}, {kLineInBlock, u'l'},
};

char16_t LetterFor(char16_t unit) {
    for (const EscapePair& pair : kPairs) {
        if (pair.unit == unit) {
            return pair.letter;
        }
    }
    return 0;
}

char16_t UnitFor(char16_t letter) {
    for (const EscapePair& pair : kPairs) {
        if (pair.letter == letter) {
            return pair.unit;
        }
    }
    return 0;
}

qsizetype FirstHeldUnit(const QString& text) {
    qsizetype first = -1;
    for (const char16_t unit : {kEditorEscape, kLoneCrMark, kLoneLfMark}) {
        const qsizetype at = text.indexOf(QChar(unit));
        if (at >= 0 && (first < 0 || at < first)) {
            first = at;
        }
    }
    return first;
}

// Turns marks and escape pairs back into their units, in place.
void Unescape(QString& text) {
    const qsizetype escape = FirstHeldUnit(text);
    if (escape < 0) {
        return;
    }
    QString out;
    out.reserve(text.size());
    out.append(QStringView(text).left(escape));
    for (qsizetype i = escape; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == kLoneCrMark || c == kLoneLfMark) {
            out.append(QChar(c == kLoneCrMark ? kCr : kLf));
            continue;
        }
        if (c == kEditorEscape && i + 1 < text.size()) {
            const char16_t unit = UnitFor(text[i + 1].unicode());
            if (unit != 0) {
                out.append(QChar(unit));
                ++i;
                continue;
            }
        }
        out.append(QChar(c));
    }
    text = std::move(out);
}

// A piece ends before `cut`, or earlier where that would part a surrogate
// pair or an escape pair; `begin` when nothing fits.
qsizetype PieceEnd(QStringView text, qsizetype begin, qsizetype cut) {
    const qsizetype wanted = cut;
    while (cut > begin && ((text[cut].isLowSurrogate() && text[cut - 1].isHighSurrogate()) ||
                           text[cut - 1].unicode() == kEditorEscape)) {
        --cut;
    }
    // A run of escape characters typed or pasted may be cut anywhere.
    return cut == begin && wanted - begin >= kPieceLength ? wanted : cut;
}

}  // namespace

namespace {

// True for the units the editor holds as something else.
bool Held(char16_t c) {
    return c == kCr || c == kLf || LetterFor(c) != 0;
}

}  // namespace

QString ToEditorText(const QString& docText) {
    // An enciphered document holds none of them: it goes in as it is.
    if (std::none_of(docText.cbegin(), docText.cend(), [](QChar c) { return Held(c.unicode()); })) {
        return docText;
    }
    return ToEditorText(QStringView(docText));
}

QString ToEditorText(QStringView docText) {
    QString out;
    out.reserve(docText.size());
    const qsizetype n = docText.size();
    qsizetype run = 0;  // start of the units that go in as they are
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = docText[i].unicode();
        if (!Held(c)) {
            continue;
        }
        out.append(docText.mid(run, i - run));
        if (c == kCr && i + 1 < n && docText[i + 1].unicode() == kLf) {
            out.append(QChar(kLf));
            ++i;
        } else if (c == kCr || c == kLf) {
            out.append(QChar(c == kCr ? kLoneCrMark : kLoneLfMark));
        } else {
            out.append(QChar(kEditorEscape));
            out.append(QChar(LetterFor(c)));
        }
        run = i + 1;
    }
    out.append(docText.mid(run));
    return out;
}

void InsertEditorText(QTextCursor& cursor, QStringView text) {
    QTextBlockFormat lineStart = cursor.blockFormat();
    lineStart.clearProperty(kContinuesLine);
    QTextBlockFormat continuation = lineStart;
    continuation.setProperty(kContinuesLine, true);
    // What goes into the cursor's block, in one insertion.
    QString run;
    const auto flush = [&] {
        if (!run.isEmpty()) {
            cursor.insertText(run);
            run.clear();
        }
    };
    qsizetype room = kPieceLength - cursor.positionInBlock();
    qsizetype i = 0;
    const qsizetype n = text.size();
    for (bool first = true;; first = false) {
        qsizetype end = text.indexOf(QChar(u'\n'), i);
        if (end < 0) {
            end = n;
        }
        if (!first) {
            // A line that fits goes on in the block, after a separator.
            if (end - i < room) {
                run.append(QChar(kLineInBlock));
                --room;
            } else {
                flush();
                cursor.insertBlock(lineStart);
                room = kPieceLength;
            }
        }
        while (end - i > room) {
            const qsizetype cut = PieceEnd(text, i, i + std::max<qsizetype>(room, 0));
            run.append(text.mid(i, cut - i));
            flush();
            cursor.insertBlock(continuation);
            i = cut;
            room = kPieceLength;
        }
        run.append(text.mid(i, end - i));
        room -= end - i;
        if (end == n) {
            break;
        }
        i = end + 1;
    }
    flush();
}

bool IsEscapeLetter(char16_t letter) {
    return UnitFor(letter) != 0;
}

bool ContinuesLine(const QTextBlock& block) {
    return block.blockFormat().boolProperty(kContinuesLine) && block != block.document()->begin();
}

int EditorPositionOf(const QTextDocument& document, qint64 index) {
    qint64 units = 0;  // of the document before the block's start
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        for (qsizetype at = 0; at < text.size(); ++at) {
            // A line in the block is CR LF, an escape pair one unit.
            const qint64 stands = text[at] == QChar(kLineInBlock) ? 2 : 1;
            if (units + stands > index) {
                return block.position() + static_cast<int>(at);
            }
            units += stands;
            at += text[at] == QChar(kEditorEscape) && at + 1 < text.size() &&
                  IsEscapeLetter(text[at + 1].unicode());
        }
        const QTextBlock next = block.next();
        units += next.isValid() && !ContinuesLine(next) ? 2 : 0;  // the line's CR LF
        if (units > index) {
            return block.position() + static_cast<int>(text.size());
        }
    }
    return document.characterCount() - 1;
}

QString FromEditorText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin() && !ContinuesLine(block)) {
            text.append(u"\r\n");
        }
        text.append(block.text());
    }
    if (text.contains(QChar(kLineInBlock))) {
        text.replace(QChar(kLineInBlock), QLatin1String("\r\n"));
    }
    Unescape(text);
    return text;
}

QString SelectedEditorText(const QTextCursor& cursor) {
    const QTextDocument* document = cursor.document();
    const int from = cursor.selectionStart();
    const int to = cursor.selectionEnd();
    QString text;
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        const int begin = std::max(from, block.position()) - block.position();
        const int end = std::min(to, block.position() + block.length() - 1) - block.position();
        if (block.position() > from && !ContinuesLine(block)) {
            text.append(QLatin1Char('\n'));
        }
        if (end > begin) {
            text.append(QStringView(block.text()).mid(begin, end - begin));
        }
    }
    return text.replace(QChar(kLineInBlock), QLatin1Char('\n'));
}

QString SelectedDocumentText(const QTextCursor& cursor) {
    // The editor text's '\n' are its line breaks; its lone line ends are
    // still marks.
    QString text = SelectedEditorText(cursor);
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    Unescape(text);
    return text;
}

QTextCursor LineOf(const QTextCursor& cursor) {
    // Back to a separator or the first block of the line, then on to a
    // separator or the last one.
    QTextBlock block = cursor.block();
    const int inBlock = cursor.positionInBlock();
    qsizetype at = inBlock == 0 ? -1 : block.text().lastIndexOf(QChar(kLineInBlock), inBlock - 1);
    while (at < 0 && ContinuesLine(block)) {
        block = block.previous();
        at = block.text().lastIndexOf(QChar(kLineInBlock));
    }
    const int start = block.position() + static_cast<int>(at + 1);
    block = cursor.block();
    at = block.text().indexOf(QChar(kLineInBlock), cursor.positionInBlock());
    while (at < 0 && ContinuesLine(block.next())) {
        block = block.next();
        at = block.text().indexOf(QChar(kLineInBlock));
    }
    const int end = block.position() + static_cast<int>(at < 0 ? block.length() - 1 : at);
    QTextCursor line(cursor.document());
    line.setPosition(start);
    line.setPosition(end, QTextCursor::KeepAnchor);
    return line;
}

QString DocumentTextOf(QStringView editorText) {
    QString text = editorText.toString();
    Unescape(text);
    return text;
}

}  // namespace solvena::app
