#pragma once

// The editor and the document text. A document's line breaks are CR LF
// pairs, and any other code unit may stand in it: lone CR and LF, U+2028,
// U+2029, NUL, lone surrogates. The editor keeps CR LF as its line breaks
// and turns a few units into line breaks of its own.
//
// A lone CR or LF (left by a file with mixed line ends) is held as one
// visible mark, ␍ (U+240D) or ␊ (U+240A): one character that the caret
// cannot split, so an edit beside it can never make it another character.
// The rarer units (U+2029, the frame marks U+FDD0 and U+FDD1), the marks'
// own characters and the escape character itself are held as an escape
// pair: U+FDD2 and a letter. Every document text thus comes back from the
// editor exactly.

#include <QString>
#include <QStringView>

class QTextDocument;

namespace solvena::app {

inline constexpr char16_t kEditorEscape = 0xFDD2;
inline constexpr char16_t kLoneCrMark = 0x240D;
inline constexpr char16_t kLoneLfMark = 0x240A;

// The text to put into the editor: line breaks as '\n', escape pairs.
QString ToEditorText(QStringView docText);

// The document text of what the editor holds: its lines joined with CR LF,
// marks and escape pairs turned back. An escape character without a known
// letter after it (left by an edit) stands for itself.
QString FromEditorText(const QTextDocument& document);

}  // namespace solvena::app
