// SPDX-License-Identifier: MIT
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
//
// Lines are held a piece at a time too. Short lines share an editor block
// of up to kPieceLength units, parted by line separators (U+2028, which the
// editor shows as a line break within a block): a document of hundreds of
// thousands of short lines is then a few hundred blocks, which the editor
// builds, lays out and pages through far faster than a block per line. A
// document's own U+2028 is held as an escape pair. A line longer than
// kPieceLength units (an enciphered document is one line of millions) is
// held as several blocks, each after the first marked as continuing the
// line before it. Either way the editor lays out and paints only the
// pieces in view, at every keystroke and every blink of the cursor.

#include <QString>
#include <QStringView>
#include <QTextFormat>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace solvena::app {

inline constexpr char16_t kEditorEscape = 0xFDD2;
inline constexpr char16_t kLoneCrMark = 0x240D;
inline constexpr char16_t kLoneLfMark = 0x240A;
inline constexpr char16_t kLineInBlock = 0x2028;

// The most units a block holds when the program fills the editor.
inline constexpr qsizetype kPieceLength = 16384;
// The block format property of a block that continues the line before it.
inline constexpr int kContinuesLine = QTextFormat::UserProperty + 1;

// The text to put into the editor: line breaks as '\n', marks and escape
// pairs. A text with nothing to change is shared, not copied.
QString ToEditorText(QStringView docText);
QString ToEditorText(const QString& docText);

// Inserts editor text at the cursor ('\n' ends a line): lines in the
// cursor's block while they fit in kPieceLength units, then in a new
// block; lines longer than that as several blocks. Every line break it
// makes starts a line, whatever block the cursor was in.
void InsertEditorText(QTextCursor& cursor, QStringView editorText);

// True for a letter that stands for a unit after kEditorEscape.
bool IsEscapeLetter(char16_t letter);

// True for a block that continues the line of the block before it.
bool ContinuesLine(const QTextBlock& block);

// The document text of what the editor holds: its lines joined with CR LF,
// marks and escape pairs turned back. An escape character without a known
// letter after it (left by an edit) stands for itself.
QString FromEditorText(const QTextDocument& document);

// The editor's position of the document's unit at `index` (from 0), as
// the editor holds the document; the end of the document when it is beyond.
int EditorPositionOf(const QTextDocument& document, qint64 index);

// The editor text of the cursor's selection, lines ended by '\n': what a
// copy inside the program carries.
QString SelectedEditorText(const QTextCursor& cursor);

// The document text of the cursor's selection, line breaks as CR LF.
QString SelectedDocumentText(const QTextCursor& cursor);

// A cursor that selects the document line the cursor stands in, its line
// break left out.
QTextCursor LineOf(const QTextCursor& cursor);

// The document text that editor text stands for, lines ended by '\n' (as
// other programs take text), marks and escape pairs turned back.
QString DocumentTextOf(QStringView editorText);

}  // namespace solvena::app
