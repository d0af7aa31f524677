// SPDX-License-Identifier: MIT
#pragma once

// How the editor wraps its rows. Text wraps at word boundaries; an
// enciphered text has no words, but its signs ("-", "!", "/", "(") are
// places where a word may end, so wrapped at word boundaries nearly every
// row of it would end early. A document of nothing but ASCII signs and
// line breaks (no blank, no other character) therefore wraps anywhere.

#include <QObject>
#include <QStringView>
#include <QTextCursor>

class QPlainTextEdit;

namespace solvena::app {

// True for editor text of ASCII signs and line breaks only, and some of them.
bool HasNoWords(QStringView editorText);

class WrapChoice : public QObject {
  public:
    explicit WrapChoice(QPlainTextEdit& editor);

    // Before the program puts `editorText` in place of everything.
    void ChooseFor(QStringView editorText);
    // After a person's edit of the document.
    void Edited(int position, int removed, int added);
    // Looks through the whole document; a unit that makes words, once
    // found, is kept in view so that the next look is one character.
    void Recheck();
    bool Anywhere() const { return anywhere_; }

  private:
    void Set(bool anywhere);
    // Rechecks once the events of the edit are over.
    void RecheckLater();

    QPlainTextEdit& editor_;
    bool anywhere_ = false;
    bool recheckDue_ = false;
    QTextCursor word_;  // at a unit that makes words, while there is one
};

}  // namespace solvena::app
