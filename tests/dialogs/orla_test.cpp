// SPDX-License-Identifier: MIT
// The about box.

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "app/application.h"
#include "dialogs/orla.h"
#include "tests/support/window_fidelity.h"

using solvena::dialogs::Orla;

class OrlaTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { solvena::app::RegisterResources(); }
    void versionLineJoinsMinorAndRevision();
    void looksAsItDid_data();
    void looksAsItDid();
    void closesWithOk();
};

void OrlaTest::versionLineJoinsMinorAndRevision() {
    QCOMPARE(Orla::VersionLine(1, 0, 5), QStringLiteral("バージョン  1.05"));
    QCOMPARE(Orla::VersionLine(1, 0, 12), QStringLiteral("バージョン  1.012"));
}

void OrlaTest::looksAsItDid_data() {
    solvena::testing::AddShownRows({
        {"", "objectName", QStringLiteral("Orla")},
        {"", "windowTitle", QStringLiteral("バージョン情報")},
        {"", "size", QSize(312, 110)},
        {"Label1", "text", QStringLiteral("ソルベナⅡ")},
        {"Label2", "text", QStringLiteral("for Windows 95/98")},
        // The project's version, minor and revision side by side.
        {"Label3", "text",
         QStringLiteral("バージョン  %1.%2%3")
             .arg(SOLVENA_TEST_VERSION_MAJOR)
             .arg(SOLVENA_TEST_VERSION_MINOR)
             .arg(SOLVENA_TEST_VERSION_PATCH)},
        {"Label5", "text", QStringLiteral("完成日：１９９９年１月４日")},
        {"Image1", "toolTip",
         QStringLiteral("「このプログラムによって生じるいかなる問題に対しても，"
                        "開発者は責任を負いません」")},
        {"Command1", "text", QStringLiteral("ＯＫ")},
    });
}

void OrlaTest::looksAsItDid() {
    Orla about(nullptr);
    solvena::testing::CheckShown(&about);
}

void OrlaTest::closesWithOk() {
    Orla about(nullptr);
    QVERIFY(!about.findChild<QLabel*>(QStringLiteral("Label4"))->text().isEmpty());
    QPushButton* ok = about.findChild<QPushButton*>(QStringLiteral("Command1"));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(ok, Qt::LeftButton);
    QTRY_VERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

QTEST_MAIN(OrlaTest)
#include "orla_test.moc"
