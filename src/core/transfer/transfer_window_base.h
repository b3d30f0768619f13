// TransferWindowBase: what the download and the upload window presenters do
// alike, over their queue type: the window's existence and its choices
// (concurrency, close and power off when done), the display refresh, the
// list actions (moves, select all, delete, remove completed, cancel), the
// menu commands, the column sort, the drag reorder, the close question, the
// stop confirmation and the completion actions.
//
// A window passes in what differs (its dialog owner, its close question,
// its two configuration keys) and answers the hooks: its own create step
// (timers), destroyWindow, start, the actions only it has, and its speed
// measure (the two smooth differently). The queue is constructed here from
// the window's arguments, so a window hands over itself as the queue's host.
//
// Owned with the window; every dependency outlives it. Loop thread only;
// message boxes may pump messages.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/base/config_keys.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/ports/shell.h"
#include "core/transfer/transfer_window_common.h"
#include "core/transfer/transfer_window_view.h"

namespace pom {

class Servers;

template <typename Queue>
class TransferWindowBase : public TransferWindowInput {
 public:
  using Job = typename Queue::Job;

  // What the window shares with the base and what sets it apart.
  struct Setup {
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    ConfigStore* config = nullptr;
    const Servers* servers = nullptr;
    DialogOwner owner = DialogOwner::None;
    const char* closeText = "";  // the close question while jobs are active
    ConfigKey countKey{};        // the concurrency choice
    ConfigKey closeKey{};        // the close-when-done choice
    int slots = 3;

    // The shared dependencies taken from a window's own Deps.
    template <typename Deps>
    static Setup of(const Deps& deps, DialogOwner owner, const char* closeText, ConfigKey countKey,
                    ConfigKey closeKey, int slots) {
      return Setup{deps.clock, deps.dialogs, deps.shell, deps.config, deps.servers,
                   owner,      closeText,    countKey,   closeKey,    slots};
    }
  };

  void attachView(TransferWindowView* view) { view_ = view; }

  // Creates the window when it does not exist, then shows it.
  void open();
  bool exists() const { return created_; }
  // Ends every transfer, empties the queue and closes the view.
  virtual void destroyWindow() = 0;
  // The start button.
  virtual void start() = 0;

  bool running() const { return queue_.running; }
  bool pending() const { return created_ && queue_.anyActive(); }
  int maxConcurrent() const { return queue_.maxConcurrent; }
  // The concurrency choice (1..3), as the combo box makes it.
  void setMaxConcurrent(int limit);

  const TransferTotalsText& totals() const { return display_.totals(); }
  int bar() const { return display_.bar(); }
  bool closeWhenDone() const { return closeWhenDone_; }
  bool powerOffWhenDone() const { return powerOffWhenDone_; }

  // The display refresh: the speeds of the moving jobs, the totals and the
  // rows (public for tests that drive it without the loop).
  void refreshDisplay();

  // TransferWindowInput
  int rowCount() const override { return queue_.size(); }
  void onAction(TransferAction action) override;
  void onMenuCommand(TransferMenuCommand command) override;
  void onColumnClick(int column) override {
    if (queue_.sortBy(column)) redrawAll();
  }
  void onRowsDragged(int target) override;
  void onConcurrencyChosen(int entry) override { setMaxConcurrent(entry + 1); }
  void onCheckBox(TransferCheckBox box, bool checked) override;
  void onCloseRequested() override;

 protected:
  template <typename... QueueArgs>
  explicit TransferWindowBase(const Setup& setup, QueueArgs&&... queueArgs)
      : queue_(std::forward<QueueArgs>(queueArgs)...), setup_(setup) {}

  // One engine per slot, each on its slot's session, all reporting to host.
  template <typename Engine, std::size_t kSlots, typename Sessions, typename Host>
  static void makeEngines(std::array<std::unique_ptr<Engine>, kSlots>& engines, Sessions& sessions,
                          Host& host) {
    for (std::size_t slot = 0; slot < kSlots; ++slot) {
      engines[slot] =
          std::make_unique<Engine>(static_cast<int>(slot), sessions[static_cast<int>(slot)], host);
    }
  }

  // Creates the window: the base part (createChoices), then the timers.
  virtual void create() = 0;
  // The actions the base leaves to the window.
  virtual void onOwnAction(TransferAction action) = 0;
  // The speed measure of a moving job, elapsedMs after the last one.
  virtual void speedUpdate(Job& job, std::uint32_t elapsedMs) = 0;

  // The window exists: the concurrency and close-when-done choices are read,
  // power off is unticked, the display starts.
  void createChoices();
  // Nothing is left to start: power off, or note the close choice, stop and
  // close the window when asked to.
  void completionActions();
  void confirmStop();
  void stopAllJobs();
  void openPlayerPage();
  void redrawAll() {
    if (view_ != nullptr) view_->setRowCount(queue_.size());
  }
  void redrawRow(int index) {
    if (view_ != nullptr && index >= 0 && index < queue_.size()) view_->redrawRows(index, index);
  }
  // The row two below comes into view, so the member sees what runs next.
  void showNextAfter(int index) {
    if (view_ != nullptr) view_->ensureVisible(std::min(index + 2, queue_.size() - 1));
  }
  void showRunning() {
    if (view_ != nullptr) view_->setRunning(queue_.running);
  }
  // The selected rows, ascending; the first of them (-1 when none).
  std::vector<int> selected() const;
  int firstSelected() const {
    const std::vector<int> rows = selected();
    return rows.empty() ? -1 : rows.front();
  }
  void select(const std::vector<int>& rows) {
    if (view_ != nullptr) view_->selectRows(rows);
  }

  Queue queue_;
  TransferWindowView* view_ = nullptr;
  bool created_ = false;
  bool closeWhenDone_ = false;
  bool powerOffWhenDone_ = false;
  // The measurement behind the totals texts and the bar.
  TransferDisplay display_;

 private:
  Setup setup_;
};

template <typename Queue>
void TransferWindowBase<Queue>::createChoices() {
  created_ = true;
  const int count = setup_.config->readInt(setup_.countKey);
  queue_.maxConcurrent = count >= 1 && count <= setup_.slots ? count : 1;
  closeWhenDone_ = setup_.config->readBool(setup_.closeKey);
  powerOffWhenDone_ = false;
  display_.reset(setup_.clock->tickCount());
}

template <typename Queue>
void TransferWindowBase<Queue>::open() {
  if (!created_) create();
  if (view_ == nullptr) return;
  view_->open();
  view_->setConcurrency(queue_.maxConcurrent);
  view_->setCheckBox(TransferCheckBox::CloseWhenDone, closeWhenDone_);
  view_->setCheckBox(TransferCheckBox::PowerOffWhenDone, powerOffWhenDone_);
  view_->setRunning(queue_.running);
  view_->setRowCount(queue_.size());
}

template <typename Queue>
void TransferWindowBase<Queue>::setMaxConcurrent(int limit) {
  queue_.setMaxConcurrent(limit);
  setup_.config->writeInt(setup_.countKey, queue_.maxConcurrent);
  if (view_ != nullptr) view_->setConcurrency(queue_.maxConcurrent);
  redrawAll();
}

template <typename Queue>
void TransferWindowBase<Queue>::refreshDisplay() {
  if (view_ != nullptr && !view_->isVisible()) return;
  const std::uint32_t tick = setup_.clock->tickCount();
  const std::int64_t progressKB = (queue_.doneBytes() - queue_.doneAtRefresh()) / 1024;
  queue_.recomputeDone();
  for (int i = 0; i < queue_.size(); ++i) {
    Job& job = queue_.job(i);
    if (job.state != Queue::kMovingState) continue;
    const std::uint32_t since = tick - job.speedTick;
    if (since < 1000) continue;
    speedUpdate(job, since);
    job.speedTick = tick;
  }
  if (display_.refresh(tick, progressKB, queue_.queuedBytes(), queue_.doneBytes())) {
    queue_.setDoneAtRefresh(queue_.doneBytes());
  }
  if (view_ == nullptr) return;
  view_->setTotals(display_.totals(), display_.bar());
  if (queue_.size() > 0) view_->redrawRows(0, queue_.size() - 1);
}

template <typename Queue>
void TransferWindowBase<Queue>::completionActions() {
  if (powerOffWhenDone_) {
    // Nothing else: a refused attempt is repeated at the next tick.
    setup_.shell->powerOff();
    return;
  }
  setup_.config->writeBool(setup_.closeKey, closeWhenDone_);
  queue_.running = false;
  // Without a window there is nothing to close (the headless front end
  // reads the finished queue).
  if (closeWhenDone_ && view_ != nullptr) {
    destroyWindow();
    return;
  }
  showRunning();
}

template <typename Queue>
std::vector<int> TransferWindowBase<Queue>::selected() const {
  if (view_ == nullptr) return {};
  std::vector<int> rows = view_->selectedRows();
  std::sort(rows.begin(), rows.end());
  return rows;
}

template <typename Queue>
void TransferWindowBase<Queue>::onAction(TransferAction action) {
  switch (action) {
    case TransferAction::PlayerPage:
      openPlayerPage();
      break;
    case TransferAction::MoveUp:
    case TransferAction::MoveDown:
    case TransferAction::MoveTop:
    case TransferAction::MoveEnd: {
      const std::vector<int> rows = selected();
      std::vector<int> now;
      if (action == TransferAction::MoveUp) now = queue_.moveUp(rows);
      if (action == TransferAction::MoveDown) now = queue_.moveDown(rows);
      if (action == TransferAction::MoveTop) now = queue_.moveTop(rows);
      if (action == TransferAction::MoveEnd) now = queue_.moveEnd(rows);
      redrawAll();
      select(now);
      break;
    }
    case TransferAction::SelectAll: {
      std::vector<int> all(static_cast<std::size_t>(queue_.size()));
      for (int i = 0; i < queue_.size(); ++i) all[static_cast<std::size_t>(i)] = i;
      select(all);
      break;
    }
    case TransferAction::DeleteSelected:
      queue_.removeRows(selected());
      redrawAll();
      select({});
      break;
    case TransferAction::RemoveCompleted:
      queue_.removeCompleted();
      redrawAll();
      break;
    case TransferAction::Start:
      start();
      break;
    case TransferAction::Stop:
      confirmStop();
      break;
    case TransferAction::ToggleCancel: {
      const int index = firstSelected();
      queue_.toggleCancel(index);
      redrawRow(index);
      showRunning();
      break;
    }
    case TransferAction::OpenSelected:
    case TransferAction::OpenFolder:
    case TransferAction::ChooseFolder:
    case TransferAction::StopSelected:
    case TransferAction::AddFiles:
    case TransferAction::AddFolder:
      onOwnAction(action);
      break;
  }
}

template <typename Queue>
void TransferWindowBase<Queue>::onMenuCommand(TransferMenuCommand command) {
  switch (command) {
    case TransferMenuCommand::Play:
      onAction(TransferAction::OpenSelected);
      break;
    case TransferMenuCommand::Top:
      onAction(TransferAction::MoveTop);
      break;
    case TransferMenuCommand::End:
      onAction(TransferAction::MoveEnd);
      break;
    case TransferMenuCommand::SelectAll:
      onAction(TransferAction::SelectAll);
      break;
    case TransferMenuCommand::DeleteSelected:
      onAction(TransferAction::DeleteSelected);
      break;
    case TransferMenuCommand::RemoveCompleted:
      onAction(TransferAction::RemoveCompleted);
      break;
    case TransferMenuCommand::ToggleCancel:
      onAction(TransferAction::ToggleCancel);
      break;
    case TransferMenuCommand::None:
      break;
  }
}

template <typename Queue>
void TransferWindowBase<Queue>::onRowsDragged(int target) {
  const std::vector<int> now = queue_.moveBefore(selected(), target);
  redrawAll();
  select(now);
}

template <typename Queue>
void TransferWindowBase<Queue>::onCheckBox(TransferCheckBox box, bool checked) {
  if (box == TransferCheckBox::CloseWhenDone) closeWhenDone_ = checked;
  if (box == TransferCheckBox::PowerOffWhenDone) powerOffWhenDone_ = checked;
}

template <typename Queue>
void TransferWindowBase<Queue>::onCloseRequested() {
  if (queue_.anyActive() &&
      setup_.dialogs->show(setup_.closeText, "Pomvale", MessageIcon::Warning, setup_.owner,
                           MessageButtons::OkCancel) != MessageAnswer::Ok) {
    return;
  }
  destroyWindow();
}

template <typename Queue>
void TransferWindowBase<Queue>::confirmStop() {
  if (!queue_.running) return;
  if (setup_.dialogs->show(kTransferStopText, "Pomvale", MessageIcon::Warning, setup_.owner,
                           MessageButtons::OkCancel) != MessageAnswer::Ok) {
    return;
  }
  stopAllJobs();
}

template <typename Queue>
void TransferWindowBase<Queue>::stopAllJobs() {
  queue_.stopAll();
  redrawAll();
  showRunning();
}

template <typename Queue>
void TransferWindowBase<Queue>::openPlayerPage() {
  setup_.shell->execute("open", "IEXPLORE.EXE", playerPageUrl(*setup_.servers),
                        ShowMode::Maximized);
}

}  // namespace pom
