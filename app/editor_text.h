#pragma once

// The editor and the document text. A document's line breaks are CR LF
// pairs, and any other code unit may stand in it: lone CR and LF, U+2028,
// U+2029, NUL, lone surrogates. The editor keeps CR LF as its line breaks
// and turns a few units into line breaks of its own (a lone CR or LF,
// U+2029, and the frame marks U+FDD0 and U+FDD1); those, and the escape
// character itself, are held in the editor as an escape pair: U+FDD2 and a
// letter. Every document text thus comes back from the editor exactly.

#include <QString>
#include <QStringView>

class QTextDocument;

namespace solvena::app {

inline constexpr char16_t kEditorEscape = 0xFDD2;

// The text to put into the editor: line breaks as '\n', escape pairs.
QString ToEditorText(QStringView docText);

// The document text of what the editor holds: its lines joined with CR LF,
// escape pairs turned back. An escape character without a known letter
// after it (left by an edit) stands for itself.
QString FromEditorText(const QTextDocument& document);

}  // namespace solvena::app
