// SPDX-License-Identifier: MIT
#include "dialogs/pass_finder.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "desktop/look.h"
#include "desktop/text_convert.h"

namespace solvena::dialogs {
namespace {

const QColor kAreaColour{192, 255, 255};
const QColor kBarColour{0, 255, 0};
constexpr int kPreviewCharacters = 40;

// The opening of a text as one line of the list: line breaks as ⏎, what
// shows nothing or moves the text as U+FFFD.
QString Preview(const std::u16string& text) {
    QString preview;
    for (qsizetype i = 0;
         i < static_cast<qsizetype>(text.size()) && preview.size() < kPreviewCharacters; ++i) {
        const QChar unit(text[static_cast<std::size_t>(i)]);
        if (unit == QLatin1Char('\r') || unit == QLatin1Char('\n')) {
            preview += QChar(0x23CE);
            i += unit == QLatin1Char('\r') && i + 1 < static_cast<qsizetype>(text.size()) &&
                 text[static_cast<std::size_t>(i) + 1] == u'\n';
        } else if (unit.category() == QChar::Other_Control || unit.isSurrogate() ||
                   unit.category() == QChar::Other_PrivateUse ||
                   unit.category() == QChar::Other_NotAssigned) {
            preview += QChar(QChar::ReplacementCharacter);
        } else {
            preview += unit;
        }
    }
    return preview;
}

}  // namespace

PassFinder::PassFinder(state::Module2& shared, const QString& enciphered, QWidget* owner)
    : UnloadingDialog(owner, desktop::DialogFrame()), shared_(shared), enciphered_(enciphered) {
    setObjectName(QStringLiteral("PassFinder"));
    setWindowTitle(QStringLiteral("パスナンバーを探す"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/solvena.svg")));
    setModal(true);
    desktop::SetBackground(this, desktop::kDialogBackground);
    BuildControls();
    Form_Load();
}

PassFinder::~PassFinder() {
    StopSearch();
}

void PassFinder::BuildControls() {
    statusLabel_ = new QLabel(this);
    statusLabel_->setObjectName(QStringLiteral("Label1"));
    statusLabel_->setFont(desktop::JapaneseFont(desktop::Face::ProportionalGothic, 10, true));
    progressArea_ = new QWidget(this);
    progressArea_->setObjectName(QStringLiteral("Picture1"));
    progressArea_->setFixedHeight(desktop::Pixels(252));
    desktop::SetBackground(progressArea_, kAreaColour);
    progressArea_->setAccessibleName(QStringLiteral("進行状況"));
    progressArea_->setAccessibleDescription(QStringLiteral("パスナンバーを探す進み具合"));
    bar_ = new QWidget(progressArea_);
    bar_->setObjectName(QStringLiteral("Shape1"));
    desktop::SetBackground(bar_, kBarColour);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("List1"));
    list_->setHeaderLabels({QStringLiteral("パスナンバー"), QStringLiteral("評価"),
                            QStringLiteral("解読した文の初め")});
    list_->setRootIsDecorated(false);
    list_->setAllColumnsShowFocus(true);
    list_->header()->setStretchLastSection(true);
    list_->setFont(desktop::JapaneseFont(desktop::Face::Gothic, 10, false));
    list_->setAccessibleName(QStringLiteral("パスナンバーの候補"));
    list_->setAccessibleDescription(
        QStringLiteral("見込みの高い順。選んで Enter を押すと、そのパスナンバーで解読します"));
    connect(list_, &QTreeWidget::itemActivated, this, &PassFinder::List1_DblClick);

    chooseButton_ = new QPushButton(QStringLiteral("解読"), this);
    chooseButton_->setObjectName(QStringLiteral("Command1"));
    desktop::SetButtonColour(chooseButton_, desktop::kPaleGreen);
    chooseButton_->setAccessibleName(QStringLiteral("解読"));
    chooseButton_->setAccessibleDescription(QStringLiteral("選んだパスナンバーで解読します"));
    cancelButton_ = new QPushButton(QStringLiteral("キャンセル"), this);
    cancelButton_->setObjectName(QStringLiteral("Command2"));
    desktop::SetButtonColour(cancelButton_, desktop::kPaleOrange);
    cancelButton_->setAccessibleName(QStringLiteral("キャンセル"));
    cancelButton_->setAccessibleDescription(QStringLiteral("探すのをやめて閉じます"));
    for (QPushButton* button : {chooseButton_, cancelButton_}) {
        button->setCursor(desktop::HandCursor());
        button->setAutoDefault(false);
        // As large as the progress window's キャンセル, not the text's size.
        button->setFixedSize(desktop::Pixels(1212), desktop::Pixels(372));
    }
    connect(chooseButton_, &QPushButton::clicked, this, &PassFinder::Command1_Click);
    connect(cancelButton_, &QPushButton::clicked, this, &PassFinder::Command2_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(chooseButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statusLabel_);
    layout->addWidget(progressArea_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    resize(desktop::Pixels(8400), desktop::Pixels(4800));

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(50);
    connect(timer_, &QTimer::timeout, this, &PassFinder::Timer1_Timer);
}

void PassFinder::Form_Load() {
    statusLabel_->setText(QStringLiteral("パスナンバーを探しています・・・"));
    chooseButton_->setEnabled(false);
    bar_->setGeometry(0, 0, 0, progressArea_->height());
    // Every pass number on the document as it is now, on a thread of its own.
    search_ = std::thread([this] {
        textmodel::TextModel model;
        ranking_ = ranking::RankPassNumbers(desktop::ToU16View(enciphered_), kListedPasses, model,
                                            [this](double done) {
                                                done_ = done;
                                                return !stop_;
                                            });
        finished_ = true;
    });
    timer_->start();
}

void PassFinder::Timer1_Timer() {
    bar_->setGeometry(0, 0, static_cast<int>(done_ * progressArea_->width()),
                      progressArea_->height());
    if (finished_ && !searched_) {
        timer_->stop();
        search_.join();
        ShowRanking();
    }
}

void PassFinder::ShowRanking() {
    searched_ = true;
    bar_->setGeometry(0, 0, progressArea_->width(), progressArea_->height());
    for (const ranking::RankedPass& candidate : ranking_.best) {
        auto* row = new QTreeWidgetItem(
            list_, {QString::fromStdU16String(candidate.entry),
                    QString::number(candidate.score, 'f', 3), Preview(candidate.opening)});
        row->setData(
            0, Qt::AccessibleTextRole,
            QStringLiteral("パスナンバー %1").arg(QString::fromStdU16String(candidate.entry)));
        passes_.push_back(candidate.pass);
    }
    const bool clear = ranking_.ClearlyAhead();
    statusLabel_->setText(clear ? QStringLiteral("一番上のパスナンバーが有力です。")
                          : passes_.empty()
                              ? QStringLiteral("解読できる暗号文がありません。")
                              : QStringLiteral("はっきりしたパスナンバーは見つかりませんでした。"));
    if (!passes_.empty()) {
        list_->setCurrentItem(list_->topLevelItem(0));
        chooseButton_->setEnabled(true);
    }
    list_->setFocus();
}

void PassFinder::List1_DblClick(QTreeWidgetItem* item) {
    if (item != nullptr) {
        list_->setCurrentItem(item);
        Command1_Click();
    }
}

void PassFinder::Command1_Click() {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (!searched_ || row < 0 || static_cast<std::size_t>(row) >= passes_.size()) {
        return;
    }
    shared_.PassNumber = passes_[static_cast<std::size_t>(row)];
    chosen_ = true;
    accept();
}

void PassFinder::Command2_Click() {
    close();
}

void PassFinder::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Command1_Click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void PassFinder::StopSearch() {
    stop_ = true;
    if (search_.joinable()) {
        search_.join();
    }
}

void PassFinder::Unload() {
    StopSearch();
    if (!chosen_) {
        shared_.PassNumber = -1;
    }
}

}  // namespace solvena::dialogs
