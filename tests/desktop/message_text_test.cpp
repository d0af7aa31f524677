// SPDX-License-Identifier: MIT
// A message about a file of a very long path fits on the screen, and the
// whole path can still be selected; a copy kept by a save still running is
// not told as one a stopped save left.

#include "desktop/message_text.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/file_messages.h"

class MessageTextTest : public QObject {
    Q_OBJECT

  private slots:
    void longPathsAreCutInTheMiddle();
    void aRunningSavesCopyIsToldAsSuch();
};

void MessageTextTest::longPathsAreCutInTheMiddle() {
    const QString path = QStringLiteral("/home/user/") + QString(4200, QLatin1Char('d')) +
                         QStringLiteral("/memo.txt");
    const QString text = path + QStringLiteral(" に保存できません。\n理由");
    const QString shown = solvena::desktop::ShownMessage(text);
    QVERIFY(shown.size() < 120);
    QVERIFY(shown.startsWith(QStringLiteral("/home/user/")));
    QVERIFY(shown.contains(QStringLiteral("dd…dd")));
    QVERIFY(shown.endsWith(QStringLiteral("d/memo.txt に保存できません。\n理由")));
    QCOMPARE(solvena::desktop::ShownMessage(QStringLiteral("memo.txt を読み込めません。")),
             QStringLiteral("memo.txt を読み込めません。"));
    QMessageBox box;
    solvena::desktop::SetMessageText(box, text);
    QCOMPARE(box.text(), shown);
    QCOMPARE(box.detailedText(), text);
    QVERIFY(box.textInteractionFlags() & Qt::TextSelectableByMouse);
}

void MessageTextTest::aRunningSavesCopyIsToldAsSuch() {
    QTemporaryDir dir;
    const QString stopped = dir.filePath(QStringLiteral(".memo.txt.solvena-aaaaaa"));
    const QString running = dir.filePath(QStringLiteral(".memo.txt.solvena-bbbbbb"));
    for (const QString& copy : {stopped, running}) {
        QFile file(copy);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // A save holds its copy locked while it runs.
    const int held = ::open(QFile::encodeName(running).constData(), O_RDONLY | O_CLOEXEC);
    QCOMPARE(::flock(held, LOCK_EX), 0);
    const QString told =
        solvena::desktop::DescribeKeptCopies(QStringLiteral("memo.txt"), {stopped, running});
    ::close(held);
    const qsizetype at = told.indexOf(QStringLiteral("ほかのプログラムが保存している最中"));
    QVERIFY2(at > 0, qPrintable(told));
    QVERIFY(told.indexOf(QStringLiteral("止まった")) < at);
    QVERIFY(told.indexOf(stopped) < at && told.indexOf(running) > at);
}

QTEST_MAIN(MessageTextTest)
#include "message_text_test.moc"
