// SPDX-License-Identifier: MIT
// Find and replace in the main window: Ctrl+F and Ctrl+H show the window
// 検索と置換 (also from the editor's context menu), F3 and Shift+F3 find
// the next or the previous place of the last text looked for.

#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>
#include <memory>

#include "app/editor_box.h"
#include "app/find_form.h"
#include "app/main_form.h"
#include "desktop/platform.h"

namespace solvena::app {

void MainForm::BindFindKeys() {
    const std::pair<QKeySequence, std::function<void()>> keys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_F), [this] { ShowFindForm(false); }},
        {QKeySequence(Qt::CTRL | Qt::Key_H), [this] { ShowFindForm(true); }},
        {QKeySequence(Qt::Key_F3), [this] { FindAgain(true); }},
        {QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { FindAgain(false); }},
    };
    for (const auto& [key, act] : keys) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, act);
    }
    // The editor's menu offers the window too.
    editor_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(editor_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const std::unique_ptr<QMenu> menu(editor_->createStandardContextMenu());
        // Its 元に戻す and やり直す are the keys' own.
        for (const bool undo : {true, false}) {
            QAction* step = menu->findChild<QAction*>(undo ? QStringLiteral("edit-undo")
                                                           : QStringLiteral("edit-redo"));
            if (step != nullptr) {
                QObject::disconnect(step, &QAction::triggered, nullptr, nullptr);
                connect(step, &QAction::triggered, editor_,
                        [this, undo] { editor_->UndoStep(undo); });
            }
        }
        menu->addSeparator();
        QAction* find = menu->addAction(QStringLiteral("検索と置換(&F)..."));
        find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
        connect(find, &QAction::triggered, this, [this] { ShowFindForm(false); });
        menu->exec(editor_->viewport()->mapToGlobal(at));
    });
}

void MainForm::ShowFindForm(bool replacement) {
    if (findForm_.isNull()) {
        findForm_ = new FindForm(shared_, platform_, *editor_, this);
        // Where it was last, moved aside or by the person, for the session.
        FindForm* form = findForm_;
        if (findFormPlace_) {
            form->move(*findFormPlace_);
        }
        connect(form, &QDialog::finished, this, [this, form] { findFormPlace_ = form->pos(); });
    }
    findForm_->ShowAt(replacement);
}

void MainForm::FindAgain(bool forward) {
    if (!findForm_.isNull()) {
        forward ? findForm_->Command1_Click() : findForm_->Command2_Click();
        return;
    }
    if (shared_.FindText.isEmpty()) {
        ShowFindForm(false);
        return;
    }
    if (FindInEditor(*editor_, shared_, forward) == FindOutcome::NotFound) {
        platform_.Beep();
    }
}

}  // namespace solvena::app
