// SPDX-License-Identifier: MIT
// The about box.

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "dialogs/orla.h"

using solvena::dialogs::Orla;

class OrlaTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void versionLineJoinsMinorAndRevision();
    void showsItsTextsAndClosesWithOk();
};

void OrlaTest::versionLineJoinsMinorAndRevision() {
    QCOMPARE(Orla::VersionLine(1, 0, 5), QStringLiteral("バージョン  1.05"));
    QCOMPARE(Orla::VersionLine(1, 0, 12), QStringLiteral("バージョン  1.012"));
}

void OrlaTest::showsItsTextsAndClosesWithOk() {
    Orla about(nullptr);
    QCOMPARE(about.objectName(), QStringLiteral("Orla"));
    QCOMPARE(about.windowTitle(), QStringLiteral("バージョン情報"));
    QCOMPARE(about.size(), QSize(312, 110));
    const auto text = [&](const char* name) {
        return about.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    QCOMPARE(text("Label1"), QStringLiteral("ソルベナⅡ"));
    QCOMPARE(text("Label2"), QStringLiteral("for Windows 95/98"));
    // The project's version, minor and revision side by side.
    QCOMPARE(text("Label3"), QStringLiteral("バージョン  %1.%2%3")
                                 .arg(SOLVENA_TEST_VERSION_MAJOR)
                                 .arg(SOLVENA_TEST_VERSION_MINOR)
                                 .arg(SOLVENA_TEST_VERSION_PATCH));
    QCOMPARE(text("Label5"), QStringLiteral("完成日：１９９９年１月４日"));
    QVERIFY(!text("Label4").isEmpty());
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("Image1"))->toolTip(),
             QStringLiteral("「このプログラムによって生じるいかなる問題に対しても，"
                            "開発者は責任を負いません」"));
    QPushButton* ok = about.findChild<QPushButton*>(QStringLiteral("Command1"));
    QCOMPARE(ok->text(), QStringLiteral("ＯＫ"));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(ok, Qt::LeftButton);
    QTRY_VERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(OrlaTest)
#include "orla_test.moc"
