// SPDX-License-Identifier: MIT
#include "app/wrap_choice.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>

#include "app/editor_text.h"

namespace solvena::app {
namespace {

bool IsSign(char16_t unit) {
    return unit >= 0x21 && unit <= 0x7E;
}

// Line breaks as the editor text, a block and the document hold them.
bool IsBreak(char16_t unit) {
    return unit == u'\n' || unit == kLineInBlock || unit == QChar::ParagraphSeparator;
}

// The offset of the first unit of `text` that makes words, or -1.
qsizetype FirstWordUnit(QStringView text) {
    const auto at = std::find_if(text.begin(), text.end(), [](QChar c) {
        return !IsSign(c.unicode()) && !IsBreak(c.unicode());
    });
    return at == text.end() ? -1 : at - text.begin();
}

// The document position of the first unit in [from, from + length) that
// makes words, or -1.
int FirstWordUnit(const QTextDocument& document, int from, int length) {
    const int end = from + length;
    for (QTextBlock block = document.findBlock(from); block.isValid() && block.position() < end;
         block = block.next()) {
        const int begin = std::max(from, block.position()) - block.position();
        const int stop = std::min(end, block.position() + block.length() - 1) - block.position();
        if (stop <= begin) {
            continue;
        }
        const qsizetype at = FirstWordUnit(QStringView(block.text()).mid(begin, stop - begin));
        if (at >= 0) {
            return block.position() + begin + static_cast<int>(at);
        }
    }
    return -1;
}

}  // namespace

bool HasNoWords(QStringView editorText) {
    bool signs = false;
    for (const QChar c : editorText) {
        if (IsSign(c.unicode())) {
            signs = true;
        } else if (!IsBreak(c.unicode())) {
            return false;
        }
    }
    return signs;
}

WrapChoice::WrapChoice(QPlainTextEdit& editor) : QObject(&editor), editor_(editor) {
    editor_.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
}

void WrapChoice::Set(bool anywhere) {
    if (anywhere != anywhere_) {
        anywhere_ = anywhere;
        editor_.setWordWrapMode(anywhere ? QTextOption::WrapAnywhere
                                         : QTextOption::WrapAtWordBoundaryOrAnywhere);
    }
}

void WrapChoice::ChooseFor(QStringView editorText) {
    word_ = QTextCursor();
    Set(HasNoWords(editorText));
}

void WrapChoice::Edited(int position, int removed, int added) {
    QTextDocument& document = *editor_.document();
    if (anywhere_) {
        const int word = added > 0 ? FirstWordUnit(document, position, added) : -1;
        if (word >= 0) {
            word_ = QTextCursor(&document);
            word_.setPosition(word);
            Set(false);
        } else if (removed > 0 && document.isEmpty()) {
            Set(false);
        }
        return;
    }
    // Words stay while the unit that made them is still one.
    if (!word_.isNull()) {
        const char16_t unit = document.characterAt(word_.position()).unicode();
        if (unit != 0 && !IsSign(unit) && !IsBreak(unit)) {
            return;
        }
    }
    RecheckLater();
}

void WrapChoice::RecheckLater() {
    if (!recheckDue_) {
        recheckDue_ = true;
        QTimer::singleShot(0, this, [this] { Recheck(); });
    }
}

void WrapChoice::Recheck() {
    recheckDue_ = false;
    QTextDocument& document = *editor_.document();
    const int word = FirstWordUnit(document, 0, document.characterCount());
    word_ = QTextCursor();
    if (word >= 0) {
        word_ = QTextCursor(&document);
        word_.setPosition(word);
    }
    Set(word < 0 && !document.isEmpty());
}

}  // namespace solvena::app
