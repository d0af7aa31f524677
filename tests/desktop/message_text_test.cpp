// SPDX-License-Identifier: MIT
// A message about a file of a very long path fits on the screen, and the
// whole path can still be selected.

#include "desktop/message_text.h"

#include <QMessageBox>
#include <QTest>

class MessageTextTest : public QObject {
    Q_OBJECT

  private slots:
    void longPathsAreCutInTheMiddle();
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

QTEST_MAIN(MessageTextTest)
#include "message_text_test.moc"
