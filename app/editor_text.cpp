#include "editor_text.h"

#include <QTextBlock>
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
    {0x2029, u'p'},        {0xFDD0, u'b'},      {0xFDD1, u'e'},
    {kEditorEscape, u'x'}, {kLoneCrMark, u'r'}, {kLoneLfMark, u'n'},
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

}  // namespace

QString ToEditorText(QStringView docText) {
    QString out;
    out.reserve(docText.size());
    const qsizetype n = docText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = docText[i].unicode();
        if (c == kCr && i + 1 < n && docText[i + 1].unicode() == kLf) {
            out.append(QChar(kLf));
            ++i;
            continue;
        }
        if (c == kCr || c == kLf) {
            out.append(QChar(c == kCr ? kLoneCrMark : kLoneLfMark));
            continue;
        }
        const char16_t letter = LetterFor(c);
        if (letter != 0) {
            out.append(QChar(kEditorEscape));
            out.append(QChar(letter));
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

QString FromEditorText(const QTextDocument& document) {
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin()) {
            text.append(u"\r\n");
        }
        text.append(block.text());
    }
    Unescape(text);
    return text;
}

}  // namespace solvena::app
