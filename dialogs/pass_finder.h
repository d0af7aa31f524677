// SPDX-License-Identifier: MIT
#pragma once

// The form PassFinder, "パスナンバーを探す": every pass number is tried on
// the enciphered document, on a thread of its own while the bar shows how
// far it has gone, and the likeliest are listed with the opening of the
// text each gives. Choosing one (Enter, a double click or 解読) leaves it in
// Module2's PassNumber; closing the window without one leaves -1 there.
// キャンセル stops the search.

#include <QString>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "desktop/unloading_dialog.h"
#include "ranking/pass_ranking.h"
#include "state/module2.h"

class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace solvena::dialogs {

// How many candidates the list shows.
inline constexpr std::size_t kListedPasses = 10;

class PassFinder : public desktop::UnloadingDialog {
  public:
    PassFinder(state::Module2& shared, const QString& enciphered, QWidget* owner);
    ~PassFinder() override;

    void Form_Load();
    void List1_DblClick(QTreeWidgetItem* item);
    void Command1_Click();
    void Command2_Click();
    // The search's progress, looked at now and then.
    void Timer1_Timer();

    // True once the search has ended and the list is filled.
    bool Searched() const { return searched_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Without a pass number chosen PassNumber becomes -1.
    void Unload() override;

  private:
    void BuildControls();
    void ShowRanking();
    void StopSearch();

    state::Module2& shared_;
    QString enciphered_;                   // shares the document's text
    QLabel* statusLabel_ = nullptr;        // Label1
    QWidget* progressArea_ = nullptr;      // Picture1
    QWidget* bar_ = nullptr;               // Shape1
    QTreeWidget* list_ = nullptr;          // List1
    QPushButton* chooseButton_ = nullptr;  // Command1
    QPushButton* cancelButton_ = nullptr;  // Command2
    QTimer* timer_ = nullptr;              // Timer1

    // Shared with the searching thread.
    std::atomic<double> done_{0};
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    ranking::PassRanking ranking_;
    std::thread search_;

    std::vector<std::int16_t> passes_;  // of the rows listed
    bool searched_ = false;
    bool chosen_ = false;
};

}  // namespace solvena::dialogs
