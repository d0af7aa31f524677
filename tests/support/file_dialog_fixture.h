// SPDX-License-Identifier: MIT
#pragma once

// A file dialog in a temporary current folder of known files, its closing
// text recorded, for the tests of the dialog.

#include <sys/stat.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "desktop/platform.h"
#include "filedialog/file_form.h"
#include "state/module2.h"
#include "tests/support/gui_support.h"
#include "tests/support/scripted_platform.h"

namespace solvena::testing {

struct Dialog {
    explicit Dialog(std::int16_t mode, QString docText = QString(),
                    document::TextFormat docFormat = {})
        : platform({QStringLiteral("solvena")}) {
        platform.SetInteractive(false);
        shared.FileMode = mode;
        shared.DocText = std::move(docText);
        shared.DocFormat = docFormat;
        shared.DocChanged = state::kTrue;
        WriteBytes(dir.File("memo.txt"), "memo\r\n");
        WriteBytes(dir.File("READ.TXT"), "read\r\n");
        WriteBytes(dir.File("doc.zkt"), "1m!ZELKORA\r\n");
        WriteBytes(dir.File("abczkt"), "");
        WriteBytes(dir.File("x.png"), "");
        WriteBytes(dir.File(".hidden.txt"), "");
        ::mkdir(dir.File("sub").c_str(), 0755);
        ::mkdir(dir.File(".git").c_str(), 0755);
        WriteBytes(dir.File("sub/inner.txt"), "inner\r\n");
        form = std::make_unique<filedialog::FileForm>(
            shared, platform, [this](const QString& text) { editor.append(text); }, nullptr);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    QLineEdit* Name() { return form->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    QPushButton* Button(const char* name) {
        return form->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QListWidget* List(const char* name) {
        return form->findChild<QListWidget*>(QString::fromLatin1(name));
    }
    QStringList Items(const char* name) {
        QStringList items;
        for (int i = 0; i < List(name)->count(); ++i) {
            items.append(List(name)->item(i)->text());
        }
        return items;
    }
    void Type(const QString& name) { Name()->setText(name); }
    void PressEnter() { QTest::keyClick(Name(), Qt::Key_Return); }
    // A double click as the list reports it (QTest's own double click is
    // taken for something else after earlier clicks).
    void DoubleClick(const char* list, int row) {
        QListWidget* widget = List(list);
        QListWidgetItem* item = widget->item(row);
        widget->setCurrentItem(item);
        emit widget->itemDoubleClicked(item);
    }
    QString LastNotice() const {
        return platform.Asked().empty() ? QString() : platform.Asked().back().text;
    }

    CurrentTempDir dir;
    state::Module2 shared;
    ScriptedPlatform platform;
    QStringList editor;  // every text the closing put into the editor
    std::unique_ptr<filedialog::FileForm> form;
};

}  // namespace solvena::testing
