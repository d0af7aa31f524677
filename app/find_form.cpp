// SPDX-License-Identifier: MIT
#include "app/find_form.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextCursor>
#include <QTextDocument>

#include "app/editor_box.h"
#include "app/editor_search.h"
#include "app/editor_text.h"
#include "app/window_aside.h"
#include "desktop/look.h"
#include "desktop/platform.h"

namespace solvena::app {
namespace {

using desktop::TwipsRect;

// A selection longer than this is not taken as the text to look for.
constexpr int kLongestTaken = 10000;

const QString kNotFound = QStringLiteral("見つかりません");

// The rows of the window, in twips: the two boxes, the two options, the
// buttons, and the last line with 閉じる.
constexpr int kWidth = 6120;
constexpr int kBoxLeft = 2040;
constexpr int kButtonWidth = 1380;
constexpr int kButtonLefts[] = {120, 1620, 3120, 4620};
constexpr int kButtonTop = 1770;
constexpr int kLastTop = 2235;
constexpr int kHeight = 2730;

SearchOptions OptionsOf(const state::Module2& shared) {
    return {shared.FindMatchCase, shared.FindMatchWidth};
}

QFont FormFont() {
    return desktop::JapaneseFont(desktop::Face::ProportionalGothic, 10.5, false);
}

QLabel* Label(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setFont(FormFont());
    return label;
}

EditorBox* Box(QWidget* parent, const char* name, const QString& spoken, const QString& description,
               int twipsTop) {
    auto* box = new EditorBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setAccessibleName(spoken);
    box->setAccessibleDescription(description);
    box->setGeometry(TwipsRect(kBoxLeft, twipsTop, kWidth - 120 - kBoxLeft, 390));
    // A row high, as a one-line box: a longer text scrolls with the caret.
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(2);
    box->setFont(desktop::JapaneseFont(desktop::Face::Gothic, 10.5, false));
    return box;
}

QCheckBox* Check(QWidget* parent, const char* name, const QString& caption,
                 const QString& description, int twipsTop) {
    auto* check = new QCheckBox(caption, parent);
    check->setObjectName(QString::fromLatin1(name));
    check->setGeometry(TwipsRect(120, twipsTop, kWidth - 240, 300));
    check->setFont(FormFont());
    check->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    check->setAccessibleDescription(description);
    // The focus shows whatever the style, as the buttons' does: Enter here
    // runs 次を検索, and a keyboard user must see where it is.
    check->setStyleSheet(
        QStringLiteral("QCheckBox { border: 1px solid transparent; }"
                       "QCheckBox:focus { border: 1px dotted black; }"));
    return check;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption,
                    const QString& description, const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setFont(FormFont());
    button->setCursor(desktop::HandCursor());
    // Enter presses the button that has the focus, and 次を検索 elsewhere.
    button->setAutoDefault(true);
    desktop::SetButtonColour(button, desktop::kPaleGreen);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    button->setAccessibleDescription(description);
    return button;
}

QRect ButtonPlace(int column, int twipsTop) {
    return TwipsRect(kButtonLefts[column], twipsTop, kButtonWidth, 375);
}

// Selects a place in the editor and brings it into view.
void Select(EditorBox& editor, const Found& found) {
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(found.start);
    cursor.setPosition(found.end, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.ensureCursorVisible();
}

}  // namespace

FindOutcome FindInEditor(EditorBox& editor, const state::Module2& shared, bool forward) {
    const EditorSearch search(*editor.document(), shared.FindText, OptionsOf(shared));
    // Forward from the end of the selection, back from its start.
    const QTextCursor cursor = editor.textCursor();
    bool wrapped = false;
    const std::optional<Found> found =
        search.Next(forward ? cursor.selectionEnd() : cursor.selectionStart(), forward, wrapped);
    if (!found) {
        return FindOutcome::NotFound;
    }
    Select(editor, *found);
    return wrapped ? FindOutcome::FoundAfterGoingRound : FindOutcome::Found;
}

FindForm::FindForm(state::Module2& shared, desktop::Platform& platform, EditorBox& editor,
                   QWidget* owner)
    : UnloadingDialog(owner, desktop::DialogFrame()),
      shared_(shared),
      platform_(platform),
      editor_(editor) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("検索と置換"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(desktop::Pixels(kWidth), desktop::Pixels(kHeight));
    desktop::SetBackground(this, desktop::kDialogBackground);
    BuildBoxes();
    BuildOptions();
    BuildButtons();
    desktop::SetTabChain({findBox_, replacementBox_, matchCase_, matchWidth_, nextButton_,
                          previousButton_, replaceButton_, replaceAllButton_,
                          findChild<QPushButton*>(QStringLiteral("Command5"))});
    Form_Load();
}

void FindForm::BuildBoxes() {
    findBox_ = Box(this, "Text1", QStringLiteral("検索する文字列"),
                   QStringLiteral("探す文字列。Shift+Enter で改行を入れます"), 105);
    replacementBox_ = Box(this, "Text2", QStringLiteral("置換後の文字列"),
                          QStringLiteral("見つけた文字列の代わりに入れる文字列"), 540);
    Label(this, "Label1", QStringLiteral("検索する文字列(&N)"),
          TwipsRect(120, 150, kBoxLeft - 180, 300))
        ->setBuddy(findBox_);
    Label(this, "Label2", QStringLiteral("置換後の文字列(&P)"),
          TwipsRect(120, 585, kBoxLeft - 180, 300))
        ->setBuddy(replacementBox_);
    for (EditorBox* box : {findBox_, replacementBox_}) {
        box->installEventFilter(this);
    }
    connect(findBox_, &EditorBox::Changed, this, &FindForm::Text1_Change);
}

void FindForm::BuildOptions() {
    matchCase_ = Check(this, "Check1", QStringLiteral("大文字と小文字を区別する(&C)"),
                       QStringLiteral("A と a を別の文字として探します"), 1020);
    matchWidth_ = Check(this, "Check2", QStringLiteral("全角と半角を区別する(&W)"),
                        QStringLiteral("Ａ と A、カ と ｶ を別の文字として探します"), 1350);
    connect(matchCase_, &QCheckBox::clicked, this, &FindForm::Check1_Click);
    connect(matchWidth_, &QCheckBox::clicked, this, &FindForm::Check2_Click);
}

void FindForm::BuildButtons() {
    nextButton_ =
        Button(this, "Command1", QStringLiteral("次を検索(&F)"),
               QStringLiteral("カーソルの後ろを探します (F3)"), ButtonPlace(0, kButtonTop));
    previousButton_ =
        Button(this, "Command2", QStringLiteral("前を検索(&B)"),
               QStringLiteral("カーソルの前を探します (Shift+F3)"), ButtonPlace(1, kButtonTop));
    replaceButton_ = Button(this, "Command3", QStringLiteral("置換(&R)"),
                            QStringLiteral("選んでいる文字列を置き換えて、次を探します"),
                            ButtonPlace(2, kButtonTop));
    replaceAllButton_ =
        Button(this, "Command4", QStringLiteral("すべて置換(&A)"),
               QStringLiteral("文書の中のすべてを置き換えます"), ButtonPlace(3, kButtonTop));
    QPushButton* close = Button(this, "Command5", QStringLiteral("閉じる"),
                                QStringLiteral("この画面を閉じます"), ButtonPlace(3, kLastTop));
    nextButton_->setDefault(true);
    status_ = Label(this, "Label3", QString(), TwipsRect(120, kLastTop + 45, 4380, 300));
    connect(nextButton_, &QPushButton::clicked, this, &FindForm::Command1_Click);
    connect(previousButton_, &QPushButton::clicked, this, &FindForm::Command2_Click);
    connect(replaceButton_, &QPushButton::clicked, this, &FindForm::Command3_Click);
    connect(replaceAllButton_, &QPushButton::clicked, this, &FindForm::Command4_Click);
    connect(close, &QPushButton::clicked, this, &FindForm::Command5_Click);
    // F3 and Shift+F3 work here as in the main window.
    for (const auto& [key, button] :
         {std::pair{QKeySequence(Qt::Key_F3), nextButton_},
          std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F3), previousButton_}}) {
        connect(new QShortcut(key, this), &QShortcut::activated, button, &QPushButton::click);
    }
}

void FindForm::Form_Load() {
    const QTextCursor selection = editor_.textCursor();
    const int length = selection.selectionEnd() - selection.selectionStart();
    findBox_->SetText(length > 0 && length <= kLongestTaken ? SelectedDocumentText(selection)
                                                            : shared_.FindText);
    replacementBox_->SetText(shared_.ReplacementText);
    matchCase_->setChecked(shared_.FindMatchCase);
    matchWidth_->setChecked(shared_.FindMatchWidth);
    Text1_Change();
}

void FindForm::ShowAt(bool replacement) {
    show();
    raise();
    activateWindow();
    EditorBox* box = replacement ? replacementBox_ : findBox_;
    box->setFocus();
    box->selectAll();
}

void FindForm::Text1_Change() {
    const bool something = !findBox_->IsEmpty();
    for (QPushButton* button : {nextButton_, previousButton_, replaceButton_, replaceAllButton_}) {
        button->setEnabled(something);
    }
    Tell(QString());
}

void FindForm::Check1_Click() {
    shared_.FindMatchCase = matchCase_->isChecked();
}

void FindForm::Check2_Click() {
    shared_.FindMatchWidth = matchWidth_->isChecked();
}

void FindForm::TakeSearch() {
    shared_.FindText = findBox_->Text();
    shared_.ReplacementText = replacementBox_->Text();
    Check1_Click();
    Check2_Click();
}

void FindForm::Tell(const QString& text) {
    status_->setText(text);
}

void FindForm::Find(bool forward) {
    TakeSearch();
    if (shared_.FindText.isEmpty()) {
        return;
    }
    switch (FindInEditor(editor_, shared_, forward)) {
        case FindOutcome::Found:
            Tell(QString());
            MoveAside();
            break;
        case FindOutcome::FoundAfterGoingRound:
            Tell(forward ? QStringLiteral("文書の先頭に戻って見つけました")
                         : QStringLiteral("文書の末尾に戻って見つけました"));
            MoveAside();
            break;
        case FindOutcome::NotFound:
            Tell(kNotFound);
            platform_.Beep();
            break;
    }
}

void FindForm::MoveAside() {
    if (!isVisible()) {
        return;
    }
    // The place on the screen: from its first row to its last, across the
    // editor's width when it takes more than one row.
    const QTextCursor selection = editor_.textCursor();
    QTextCursor end = selection;
    end.setPosition(selection.selectionEnd());
    QTextCursor start = selection;
    start.setPosition(selection.selectionStart());
    const QRect first = editor_.cursorRect(start);
    const QRect last = editor_.cursorRect(end);
    QRect place = first.united(last);
    if (first.top() != last.top()) {
        place.setLeft(0);
        place.setRight(editor_.viewport()->width() - 1);
    }
    place.moveTopLeft(editor_.viewport()->mapToGlobal(place.topLeft()));
    move(AsideOf(frameGeometry(), place, screen()->availableGeometry()));
}

void FindForm::Command1_Click() {
    Find(true);
}

void FindForm::Command2_Click() {
    Find(false);
}

bool FindForm::MayReplace() {
    TakeSearch();
    if (shared_.FindText.isEmpty() || editor_.isReadOnly()) {
        platform_.Beep();
        return false;
    }
    return true;
}

void FindForm::Command3_Click() {
    if (!MayReplace()) {
        return;
    }
    // The selection is replaced only when it is a place of the text looked for.
    QTextCursor cursor = editor_.textCursor();
    if (cursor.hasSelection()) {
        const std::optional<Found> selected =
            EditorSearch(*editor_.document(), shared_.FindText, OptionsOf(shared_))
                .At(cursor.selectionStart());
        if (selected && selected->end == cursor.selectionEnd()) {
            ReplaceSelection(cursor, shared_.ReplacementText);
            editor_.setTextCursor(cursor);
        }
    }
    Find(true);
}

void FindForm::Command4_Click() {
    if (!MayReplace()) {
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<Found> places =
        EditorSearch(*editor_.document(), shared_.FindText, OptionsOf(shared_)).All();
    if (!places.empty()) {
        ReplaceAll(*editor_.document(), places, shared_.ReplacementText);
    }
    QApplication::restoreOverrideCursor();
    if (places.empty()) {
        Tell(kNotFound);
        platform_.Beep();
    } else {
        Tell(QStringLiteral("%1 か所を置換しました").arg(places.size()));
    }
}

void FindForm::Command5_Click() {
    close();
}

bool FindForm::eventFilter(QObject* watched, QEvent* event) {
    // Enter in either box finds the next place; Shift+Enter is a line break
    // in the text.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & Qt::ShiftModifier) == 0) {
            Command1_Click();
            return true;
        }
    }
    return UnloadingDialog::eventFilter(watched, event);
}

void FindForm::Unload() {
    TakeSearch();
}

}  // namespace solvena::app
