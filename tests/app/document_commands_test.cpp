// SPDX-License-Identifier: MIT
// New, Open, Save and closing the main window, through the file dialog,
// with every answer to their questions. No path loses the user's text.

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>

#include "app/application.h"
#include "app/editor_box.h"
#include "app/main_form.h"
#include "desktop/platform.h"
#include "filedialog/file_form.h"
#include "tests/support/gui_support.h"
#include "tests/support/main_window.h"

using solvena::app::EditorBox;
using solvena::desktop::kCancel;
using solvena::desktop::kNo;
using solvena::desktop::kYes;
using solvena::filedialog::FileForm;
using solvena::state::kFalse;
using solvena::state::kTrue;
using solvena::testing::ReadBytes;
using solvena::testing::WhenShown;
using solvena::testing::WriteBytes;

namespace {

const QString kNewPrompt = QStringLiteral("新規作成です。今のテキストは保存しますか?");
const QString kOpenPrompt =
    QStringLiteral("新しいファイルを読み込みます。今のファイルは保存しますか？");
const QString kClosePrompt = QStringLiteral("このテキストを保存しますか?");

// The main window, with a file to open and the file dialog scripted.
struct Window : solvena::testing::MainWindow {
    Window() { WriteBytes(dir.File("saved.txt"), "from file\r\n"); }
    // What the file dialog does when it appears: type a name and press Enter,
    // or close it.
    void DialogEnters(const QString& name) {
        solvena::testing::WhenFileDialogShownEnter(&form, name);
    }
    void DialogCloses() {
        WhenShown<FileForm>(&form, QStringLiteral("FILE"),
                            [](FileForm* dialog) { dialog->close(); });
    }
};

}  // namespace

class DocumentCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void saveWithAnEmptyEditorShowsNothing();
    void saveWritesAndMarksUnchanged();
    void newOnAnUnchangedDocumentAsksNothing();
    void newAnswers();
    void newYesWithoutSavingKeepsTheText();
    void openCancelChangesNothing();
    void openLoadsAFileUnchanged();
    void aLinuxTextFileIsSavedBackInItsForm();
    void openClosedWithoutAFileBringsTheTextBackStillChanged();
    void openYesThenSavesThenOpens();
    void closingAsksAndStaysOpenUnlessSaved();
    void aSinglePasteIsNotLostOnClosing();
    void saveRefusesAnEmptyName();
    void closingAfterASaveAsksNothingMore();
    void undoBackToTheFileIsNoChange();
    void aFileIsSavedAgainAsTheReadmeSays();
};

void DocumentCommandsTest::saveWithAnEmptyEditorShowsNothing() {
    Window w;
    w.form.Command7_Click();
    QVERIFY(w.platform.Asked().empty());
    QVERIFY(w.dir.Path(QStringLiteral("Newname.zkt")).isEmpty() ||
            !QFile::exists(w.dir.Path(QStringLiteral("Newname.zkt"))));
}

void DocumentCommandsTest::saveWritesAndMarksUnchanged() {
    Window w;
    w.Type(QStringLiteral("memo text"));
    QCOMPARE(w.shared.DocChanged, kTrue);
    w.DialogEnters(QStringLiteral("memo.txt"));
    w.form.Command7_Click();
    QCOMPARE(ReadBytes(w.dir.File("memo.txt")), std::string("memo text\r\n"));
    QCOMPARE(w.shared.DocChanged, kFalse);
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("memo text"));
    QVERIFY(w.shared.FilePath.isEmpty());
    // A later edit counts as a change again.
    w.form.Text1().SetText(QStringLiteral("memo text 2"));
    QCOMPARE(w.shared.DocChanged, kTrue);
}

void DocumentCommandsTest::newOnAnUnchangedDocumentAsksNothing() {
    Window w;
    w.form.Text1().SetText(QStringLiteral("just loaded"));
    w.form.Command9_Click();
    QVERIFY(w.platform.Asked().empty());
    QVERIFY(w.form.Text1().IsEmpty());
    QVERIFY(w.shared.DocText.isEmpty());
}

void DocumentCommandsTest::newAnswers() {
    {
        Window w;
        w.Type(QStringLiteral("edited"));
        w.platform.ScriptAnswers({kCancel});
        w.form.Command9_Click();
        QCOMPARE(w.Questions(), QStringList{kNewPrompt});
        QCOMPARE(w.platform.Asked()[0].title, QStringLiteral("確認メッセージ"));
        QCOMPARE(w.form.Text1().Text(), QStringLiteral("edited"));
        QCOMPARE(w.shared.DocChanged, kTrue);
    }
    {
        Window w;
        w.Type(QStringLiteral("edited"));
        w.platform.ScriptAnswers({kNo});
        w.form.Command9_Click();
        QVERIFY(w.form.Text1().IsEmpty());
        QCOMPARE(w.shared.DocChanged, kFalse);
    }
    {
        Window w;
        w.Type(QStringLiteral("edited"));
        w.platform.ScriptAnswers({kYes});
        w.DialogEnters(QStringLiteral("kept.txt"));
        w.form.Command9_Click();
        QCOMPARE(ReadBytes(w.dir.File("kept.txt")), std::string("edited\r\n"));
        QVERIFY(w.form.Text1().IsEmpty());
    }
}

void DocumentCommandsTest::newYesWithoutSavingKeepsTheText() {
    Window w;
    w.Type(QStringLiteral("precious"));
    w.platform.ScriptAnswers({kYes});
    w.DialogCloses();
    w.form.Command9_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("precious"));
    QCOMPARE(w.shared.DocChanged, kTrue);
}

void DocumentCommandsTest::openCancelChangesNothing() {
    Window w;
    w.Type(QStringLiteral("edited"));
    w.platform.ScriptAnswers({kCancel});
    w.form.Command6_Click();
    QCOMPARE(w.Questions(), QStringList{kOpenPrompt});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("edited"));
    QCOMPARE(w.shared.DocChanged, kTrue);
}

void DocumentCommandsTest::openLoadsAFileUnchanged() {
    Window w;
    w.Type(QStringLiteral("edited"));
    w.platform.ScriptAnswers({kNo});
    w.DialogEnters(QStringLiteral("saved.txt"));
    w.form.Command6_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("from file"));
    QCOMPARE(w.shared.DocChanged, kFalse);
    w.form.Command9_Click();
    QCOMPARE(w.Questions(), QStringList{kOpenPrompt});  // New asked nothing
}

void DocumentCommandsTest::aLinuxTextFileIsSavedBackInItsForm() {
    Window w;
    const std::string bytes = "こんにちは\n東京のメモ\n";
    WriteBytes(w.dir.File("note.txt"), bytes);
    w.DialogEnters(QStringLiteral("note.txt"));
    w.form.Command6_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("こんにちは\r\n東京のメモ"));
    // An edit, and an edit back: the same text is saved as the same bytes.
    w.Type(QStringLiteral("こんにちは\r\n東京のメモ"));
    w.DialogEnters(QStringLiteral("note.txt"));
    w.platform.ScriptAnswers({kYes});  // overwrite
    w.form.Command7_Click();
    QCOMPARE(ReadBytes(w.dir.File("note.txt")), bytes);
    // A new document is saved as the Windows program reads it.
    w.form.Command9_Click();
    w.Type(QStringLiteral("新しい\r\nメモ"));
    w.DialogEnters(QStringLiteral("new.txt"));
    w.form.Command7_Click();
    QCOMPARE(ReadBytes(w.dir.File("new.txt")), std::string("\x90\x56\x82\xB5\x82\xA2\r\n"
                                                           "\x83\x81\x83\x82\r\n"));
}

void DocumentCommandsTest::openClosedWithoutAFileBringsTheTextBackStillChanged() {
    Window w;
    w.Type(QStringLiteral("unsaved"));
    w.platform.ScriptAnswers({kNo});
    w.DialogCloses();
    w.form.Command6_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("unsaved"));
    QCOMPARE(w.shared.DocChanged, kTrue);
    // After a missing name, too.
    w.platform.ScriptAnswers({kNo, solvena::desktop::kOk});
    WhenShown<FileForm>(&w.form, QStringLiteral("FILE"), [](FileForm* dialog) {
        solvena::testing::EnterName(dialog, QStringLiteral("missing.txt"));
        dialog->close();
    });
    w.form.Command6_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("unsaved"));
    QCOMPARE(w.shared.DocChanged, kTrue);
    QCOMPARE(w.Questions().last(), QStringLiteral("その名前のファイルはありません"));
    // An unchanged document stays unchanged.
    Window fresh;
    fresh.form.Text1().SetText(QStringLiteral("loaded"));
    fresh.DialogCloses();
    fresh.form.Command6_Click();
    QCOMPARE(fresh.form.Text1().Text(), QStringLiteral("loaded"));
    QCOMPARE(fresh.shared.DocChanged, kFalse);
}

void DocumentCommandsTest::openYesThenSavesThenOpens() {
    Window w;
    w.Type(QStringLiteral("draft"));
    w.platform.ScriptAnswers({kYes});
    // First the save dialog, then the open dialog.
    WhenShown<FileForm>(&w.form, QStringLiteral("FILE"), [&w](FileForm* dialog) {
        solvena::testing::EnterName(dialog, QStringLiteral("draft.txt"));
        w.DialogEnters(QStringLiteral("saved.txt"));
    });
    w.form.Command6_Click();
    QCOMPARE(ReadBytes(w.dir.File("draft.txt")), std::string("draft\r\n"));
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("from file"));
    // Yes, but the save did not happen: nothing is opened.
    w.Type(QStringLiteral("second draft"));
    w.platform.ScriptAnswers({kYes});
    w.DialogCloses();
    w.form.Command6_Click();
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("second draft"));
    QCOMPARE(w.shared.DocChanged, kTrue);
}

void DocumentCommandsTest::closingAsksAndStaysOpenUnlessSaved() {
    Window w;
    w.Type(QStringLiteral("unsaved"));
    w.platform.ScriptAnswers({kCancel});
    QVERIFY(!w.form.close());
    QCOMPARE(w.Questions(), QStringList{kClosePrompt});
    w.platform.ScriptAnswers({kYes});
    w.DialogCloses();
    QVERIFY(!w.form.close());
    QVERIFY(w.form.isVisible());
    w.platform.ScriptAnswers({kNo});
    QVERIFY(w.form.close());
    QVERIFY(!QFile::exists(w.dir.Path(QStringLiteral("Newname.zkt"))));
}

void DocumentCommandsTest::aSinglePasteIsNotLostOnClosing() {
    Window w;
    w.form.Text1().insertPlainText(QStringLiteral("一度に貼り付けた文章"));
    QCOMPARE(w.shared.DocChanged, kTrue);
    w.platform.ScriptAnswers({kCancel});
    QVERIFY(!w.form.close());
    QCOMPARE(w.Questions(), QStringList{kClosePrompt});
    QCOMPARE(w.form.Text1().Text(), QStringLiteral("一度に貼り付けた文章"));
}

void DocumentCommandsTest::saveRefusesAnEmptyName() {
    Window w;
    w.Type(QStringLiteral("text"));
    w.platform.ScriptAnswers({solvena::desktop::kOk});
    WhenShown<FileForm>(&w.form, QStringLiteral("FILE"), [](FileForm* dialog) {
        solvena::testing::EnterName(dialog, QString());
        dialog->close();
    });
    w.form.Command7_Click();
    QCOMPARE(w.Questions(), QStringList{QStringLiteral("保存する名前を入力してください")});
    QVERIFY(!QFile::exists(w.dir.Path(QStringLiteral(".zkt"))));
    QCOMPARE(w.shared.DocChanged, kTrue);
}

void DocumentCommandsTest::closingAfterASaveAsksNothingMore() {
    Window w;
    w.Type(QStringLiteral("to keep"));
    w.platform.ScriptAnswers({kYes});
    w.DialogEnters(QStringLiteral("Newname"));
    QVERIFY(w.form.close());
    QCOMPARE(w.Questions(), QStringList{kClosePrompt});
    QCOMPARE(ReadBytes(w.dir.File("Newname.zkt")), std::string("to keep\r\n"));
    // Exit runs the same path; an unchanged document closes without a word.
    Window plain;
    plain.form.Text1().SetText(QStringLiteral("unchanged"));
    plain.form.Command11_Click();
    QVERIFY(!plain.form.isVisible());
    QVERIFY(plain.platform.Asked().empty());
}

void DocumentCommandsTest::undoBackToTheFileIsNoChange() {
    Window w;
    EditorBox& editor = w.form.Text1();
    const auto undo = [&editor] { QTest::keyClick(&editor, Qt::Key_Z, Qt::ControlModifier); };
    // Back to the text read, and back to the text saved.
    w.DialogEnters(QStringLiteral("saved.txt"));
    w.form.Command6_Click();
    editor.moveCursor(QTextCursor::End);
    QTest::keyClicks(&editor, QStringLiteral(" ab"));
    QCOMPARE(w.shared.DocChanged, kTrue);
    while (editor.Text() != QStringLiteral("from file") && editor.document()->isUndoAvailable()) {
        undo();
    }
    QCOMPARE(w.shared.DocChanged, kFalse);
    QTest::keyClick(&editor, Qt::Key_X);
    w.DialogEnters(QStringLiteral("memo.txt"));
    w.form.Command7_Click();
    QTest::keyClick(&editor, Qt::Key_Y);
    QCOMPARE(w.shared.DocChanged, kTrue);
    undo();
    QCOMPARE(editor.Text(), QStringLiteral("from filex"));
    QCOMPARE(w.shared.DocChanged, kFalse);
    w.form.Command11_Click();
    QVERIFY(!w.form.isVisible());
    QCOMPARE(w.Questions(), QStringList());
    // A text no file holds stays changed, however far it is taken back.
    Window unsaved;
    unsaved.Type(QStringLiteral("unsaved"));
    unsaved.platform.ScriptAnswers({kNo});
    unsaved.DialogCloses();
    unsaved.form.Command6_Click();
    QTest::keyClick(&unsaved.form.Text1(), Qt::Key_Z);
    QTest::keyClick(&unsaved.form.Text1(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(unsaved.form.Text1().Text(), QStringLiteral("unsaved"));
    QCOMPARE(unsaved.shared.DocChanged, kTrue);
}

void DocumentCommandsTest::aFileIsSavedAgainAsTheReadmeSays() {
    // A lone LF is kept; a lone CR ends its line, saved as CR LF; empty
    // lines at the start go; the text ends with a line end.
    const std::pair<std::string, std::string> files[] = {
        {"a\r\nb\nc\rd\r\n", "a\r\nb\nc\r\nd\r\n"},
        {"\r\n\r\nx", "x\r\n"},
    };
    for (const auto& [read, saved] : files) {
        Window w;
        WriteBytes(w.dir.File("in.txt"), read);
        w.DialogEnters(QStringLiteral("in.txt"));
        w.form.Command6_Click();
        w.DialogEnters(QStringLiteral("out.txt"));
        w.form.Command7_Click();
        QCOMPARE(ReadBytes(w.dir.File("out.txt")), saved);
    }
}

QTEST_MAIN(DocumentCommandsTest)
#include "document_commands_test.moc"
