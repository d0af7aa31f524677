// SPDX-License-Identifier: MIT
#pragma once

// A window as the original program drew it, as one table: a row per control
// and property, the control found by its objectName ("" for the window
// itself), the property read through Qt's property system. A test adds the
// rows in its _data function and checks each with CheckShown.

#include <QTest>
#include <QVariant>
#include <QWidget>
#include <initializer_list>

namespace solvena::testing {

struct Shown {
    const char* control;
    const char* property;
    QVariant value;
};

inline void AddShownRows(std::initializer_list<Shown> rows) {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");
    for (const Shown& row : rows) {
        const QString control = QString::fromLatin1(row.control);
        QTest::addRow("%s %s", *row.control != '\0' ? row.control : "window", row.property)
            << control << QByteArray(row.property) << row.value;
    }
}

// Compares the current row's property of `window` or of its control.
inline void CheckShown(QWidget* window) {
    QFETCH(QString, control);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);
    QObject* shown = control.isEmpty() ? window : window->findChild<QObject*>(control);
    QVERIFY2(shown != nullptr, qPrintable(control));
    QCOMPARE(shown->property(property.constData()), value);
}

}  // namespace solvena::testing
