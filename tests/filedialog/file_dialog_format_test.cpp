// SPDX-License-Identifier: MIT
// The file dialog's 文字コード row: how a file is read, in which form it is
// saved again, and the question about characters Shift_JIS would change.

#include <QComboBox>
#include <QLabel>
#include <QTest>

#include "app/application.h"
#include "tests/support/file_dialog_fixture.h"

using solvena::document::Encoding;
using solvena::document::LineEnd;
using solvena::document::TextFormat;
using solvena::state::kFalse;
using solvena::state::kFileModeOpen;
using solvena::state::kFileModeSave;
using solvena::state::kTrue;
using solvena::testing::Dialog;
using solvena::testing::ReadBytes;
using solvena::testing::WriteBytes;

namespace {

QComboBox* Formats(Dialog& d) {
    return d.form->findChild<QComboBox*>(QStringLiteral("Combo1"));
}

QStringList Entries(QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries.append(list->itemText(i));
    }
    return entries;
}

// Opens `bytes` as a file with the open dialog, the list at `entry`.
void Open(Dialog& d, const std::string& bytes, int entry = 0) {
    WriteBytes(d.dir.File("in.txt"), bytes);
    Formats(d)->setCurrentIndex(entry);
    d.Type(QStringLiteral("in.txt"));
    d.PressEnter();
    QTRY_VERIFY(!d.form->isVisible());
}

// Saves the document as a text file named `name` with the list at `entry`
// (or at what it was preset to).
void SaveAsText(Dialog& d, const QString& name, int entry = -1) {
    if (entry >= 0) {
        Formats(d)->setCurrentIndex(entry);
    }
    d.Type(name);
    d.PressEnter();
}

}  // namespace

class FileDialogFormatTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void theRowInBothModes();
    void openReadsInTheChosenEncoding();
    void openedFilesAreSavedBackByteForByte_data();
    void openedFilesAreSavedBackByteForByte();
    void lookAlikeQuestionAndItsThreeAnswers();
    void unstorableTextMaySaveAsUtf8();
    void theListChosenByKeysThenEnterSaves();
};

void FileDialogFormatTest::theRowInBothModes() {
    {
        Dialog d(kFileModeOpen);
        QCOMPARE(d.form->findChild<QLabel*>(QStringLiteral("Label3"))->text(),
                 QStringLiteral("文字コード"));
        QCOMPARE(Entries(Formats(d)),
                 (QStringList{QStringLiteral("自動判別"), QStringLiteral("Shift_JIS"),
                              QStringLiteral("UTF-8")}));
        QCOMPARE(Formats(d)->currentIndex(), 0);
        QVERIFY(Formats(d)->isEnabled());
        QVERIFY(!Formats(d)->toolTip().isEmpty());
        // Below every other control, after the name box in the tab order.
        QVERIFY(Formats(d)->geometry().top() > d.Name()->geometry().bottom());
        QVERIFY(d.form->rect().contains(Formats(d)->geometry()));
        QCOMPARE(d.Name()->nextInFocusChain(), Formats(d));
    }
    Dialog utf8(kFileModeSave, QStringLiteral("text"), TextFormat(Encoding::Utf8, LineEnd::Lf));
    QCOMPARE(Formats(utf8)->currentIndex(), 1);
    Dialog d(kFileModeSave, QStringLiteral("text"));
    QCOMPARE(Entries(Formats(d)),
             (QStringList{QStringLiteral("Shift_JIS (CR LF)"), QStringLiteral("UTF-8 (LF)"),
                          QStringLiteral("UTF-8 (CR LF)")}));
    QCOMPARE(Formats(d)->currentIndex(), 0);
    // "Newname" with the format button at zkt: an enciphered file, one form.
    QVERIFY(!Formats(d)->isEnabled());
    d.form->Command2_Click();
    QVERIFY(Formats(d)->isEnabled());
    d.Type(QStringLiteral("x.zkt"));
    QVERIFY(!Formats(d)->isEnabled());
    d.Type(QStringLiteral("x.TXT"));
    QVERIFY(Formats(d)->isEnabled());
}

void FileDialogFormatTest::openReadsInTheChosenEncoding() {
    // "あい" in UTF-8 is also valid CP932 (縺ゅ＞).
    const std::string bytes = "\xE3\x81\x82\xE3\x81\x84\n";
    {
        Dialog d(kFileModeOpen);
        Open(d, bytes);
        QCOMPARE(d.shared.DocText, QStringLiteral("あい"));
        QCOMPARE(d.shared.DocFormat, TextFormat(Encoding::Utf8, LineEnd::Lf));
        QCOMPARE(d.shared.DocChanged, kFalse);
    }
    Dialog d(kFileModeOpen);
    Open(d, bytes, 1);
    QCOMPARE(d.shared.DocText, QStringLiteral("縺ゅ＞"));
    QCOMPARE(d.shared.DocFormat, TextFormat(Encoding::Cp932, LineEnd::Lf));
}

void FileDialogFormatTest::openedFilesAreSavedBackByteForByte_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("UTF-8, LF") << QByteArray("こんにちは\n東京のメモ\n");
    QTest::newRow("ASCII, LF") << QByteArray("plain\nascii\n");
    QTest::newRow("Shift_JIS, CR LF") << QByteArray("\x82\xA0\x82\xA2\r\nabc\r\n");
    QTest::newRow("UTF-8, CR LF, mark") << QByteArray("\xEF\xBB\xBF\xE3\x81\x82\r\nb\r\n");
    QTest::newRow("Shift_JIS, LF") << QByteArray("\x93\x8C\x8B\x9E\nabc\n");
    // Of no usual entry: its own, chosen.
    QTest::newRow("UTF-16LE, LF, mark") << QByteArray("\xFF\xFE\x42\x30\n\0", 6);
}

void FileDialogFormatTest::openedFilesAreSavedBackByteForByte() {
    QFETCH(QByteArray, bytes);
    Dialog open(kFileModeOpen);
    Open(open, bytes.toStdString());
    Dialog save(kFileModeSave, open.shared.DocText, open.shared.DocFormat);
    save.form->Command2_Click();  // txt
    SaveAsText(save, QStringLiteral("back.txt"));
    QTRY_VERIFY(!save.form->isVisible());
    QCOMPARE(QByteArray::fromStdString(ReadBytes(save.dir.File("back.txt"))), bytes);
    QCOMPARE(save.shared.DocFormat, open.shared.DocFormat);
}

void FileDialogFormatTest::lookAlikeQuestionAndItsThreeAnswers() {
    const QString text = QStringLiteral("波\r\nは〜と−");
    {
        Dialog d(kFileModeSave, text);
        d.platform.ScriptAnswers({solvena::desktop::kYes});
        SaveAsText(d, QStringLiteral("sjis.txt"), 0);
        QTRY_VERIFY(!d.form->isVisible());
        const QString asked = d.platform.Asked().front().text;
        QVERIFY2(asked.contains(QStringLiteral("2 個")), qPrintable(asked));
        QVERIFY2(asked.contains(QStringLiteral("2 行 2 列の「〜」(U+301C) が「～」(U+FF5E)")),
                 qPrintable(asked));
        QCOMPARE(d.platform.Asked().front().title, QStringLiteral("確認メッセージ"));
        QCOMPARE(ReadBytes(d.dir.File("sjis.txt")), std::string("\x94\x67\r\n\x82\xCD\x81\x60\x82"
                                                                "\xC6\x81\x7C\r\n"));
        QCOMPARE(d.shared.DocFormat, TextFormat());
    }
    {
        Dialog d(kFileModeSave, text);
        d.platform.ScriptAnswers({solvena::desktop::kNo});
        SaveAsText(d, QStringLiteral("utf8.txt"), 0);
        QTRY_VERIFY(!d.form->isVisible());
        QCOMPARE(QString::fromStdString(ReadBytes(d.dir.File("utf8.txt"))), text + "\r\n");
        QCOMPARE(d.shared.DocFormat, TextFormat(Encoding::Utf8, LineEnd::CrLf));
        QCOMPARE(d.shared.DocChanged, kFalse);
    }
    Dialog d(kFileModeSave, text);
    d.platform.ScriptAnswers({solvena::desktop::kCancel});
    SaveAsText(d, QStringLiteral("none.txt"), 0);
    QVERIFY(d.form->isVisible());
    QVERIFY(!QFile::exists(d.dir.Path(QStringLiteral("none.txt"))));
    QCOMPARE(d.shared.DocChanged, kTrue);
    // Saved as UTF-8 the characters stay: nothing to ask.
    d.platform.ClearAsked();
    SaveAsText(d, QStringLiteral("none.txt"), 1);
    QTRY_VERIFY(!d.form->isVisible());
    QVERIFY(d.platform.Asked().empty());
}

void FileDialogFormatTest::unstorableTextMaySaveAsUtf8() {
    const QString text = QStringLiteral("café \U0001F600");
    {
        Dialog d(kFileModeSave, text);
        d.platform.ScriptAnswers({solvena::desktop::kNo});
        SaveAsText(d, QStringLiteral("a.txt"), 0);
        QVERIFY(d.form->isVisible());
        QVERIFY(d.platform.Asked().back().text.contains(QStringLiteral("UTF-8")));
        QVERIFY(!QFile::exists(d.dir.Path(QStringLiteral("a.txt"))));
    }
    Dialog d(kFileModeSave, text);
    d.platform.ScriptAnswers({solvena::desktop::kYes});
    SaveAsText(d, QStringLiteral("a.txt"), 0);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(QString::fromStdString(ReadBytes(d.dir.File("a.txt"))), text + "\r\n");
}

void FileDialogFormatTest::theListChosenByKeysThenEnterSaves() {
    Dialog d(kFileModeSave, QStringLiteral("a\r\nb"));
    QVERIFY(QTest::qWaitForWindowActive(d.form.get()));
    d.Type(QStringLiteral("keys.txt"));
    // The list opened, an entry chosen with Enter; the next Enter is OK.
    QComboBox* list = Formats(d);
    list->setFocus();
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    QTest::keyClick(list->view(), Qt::Key_Down);
    QTest::keyClick(list->view(), Qt::Key_Return);
    QTRY_VERIFY(!list->view()->isVisible());
    QCOMPARE(list->currentText(), QStringLiteral("UTF-8 (LF)"));
    QTest::keyClick(list, Qt::Key_Return);
    QTRY_VERIFY(!d.form->isVisible());
    QCOMPARE(ReadBytes(d.dir.File("keys.txt")), std::string("a\nb\n"));
    // Other keys are still the list's own.
    Dialog typed(kFileModeSave, QStringLiteral("x"));
    typed.Type(QStringLiteral("typed.txt"));
    QTest::keyClick(Formats(typed), Qt::Key_Down);
    QCOMPARE(Formats(typed)->currentIndex(), 1);
    QCOMPARE(typed.Name()->text(), QStringLiteral("typed.txt"));
}

QTEST_MAIN(FileDialogFormatTest)
#include "file_dialog_format_test.moc"
