// JobList: the ordered jobs of a transfer queue and what both queues do to
// them alike: the member's moves (top, end, up, down, before a row), the
// column sort, the byte totals, the rows a removal takes, and the texts a
// full redraw writes.
//
// Traits name what differs between the job records:
//   Job                  the record type
//   State                its state enum
//   kMoving, kCompleted  the state that moves bytes (never removed) and the
//                        completed one
//   kName, kDone         the member sorted on by column 0 and the member
//                        holding the bytes done
//   kSwapsRedraw         whether moving up or down redraws the state texts
//   plainText(state)     the state column's text of a full redraw
//   reset(job, state)    the record's reset into a state
//
// The queues derive from it and add their scheduling, their slots and their
// host. Rows are the jobs' positions. Loop thread only.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace pom {

template <typename Traits>
class JobList {
 public:
  using Job = typename Traits::Job;
  using State = typename Traits::State;
  static constexpr State kMovingState = Traits::kMoving;

  const std::vector<Job>& jobs() const { return jobs_; }
  Job& job(int index) { return jobs_[static_cast<std::size_t>(index)]; }
  const Job& job(int index) const { return jobs_[static_cast<std::size_t>(index)]; }
  int size() const { return static_cast<int>(jobs_.size()); }

  bool anyActive() const {
    return std::any_of(jobs_.begin(), jobs_.end(), [](const Job& j) { return j.active(); });
  }

  // The member's commands. Each takes the selected rows (in row order) and
  // returns the rows selected afterwards.
  std::vector<int> moveTop(const std::vector<int>& rows) { return reorder(rows, 0); }
  std::vector<int> moveEnd(const std::vector<int>& rows) { return reorder(rows, size()); }
  std::vector<int> moveBefore(const std::vector<int>& rows, int target) {
    return reorder(rows, std::clamp(target, 0, size()));
  }
  std::vector<int> moveUp(const std::vector<int>& rows);
  std::vector<int> moveDown(const std::vector<int>& rows);
  // Some job still has work: it waits, is stopped, or holds a slot.
  bool anyWork() const {
    return std::any_of(jobs_.begin(), jobs_.end(), [](const Job& j) {
      return j.state == State::Stopped || j.state == State::Waiting || j.bound();
    });
  }
  // Sorts by a column (0 name, 1 size, 2 state), each click reversing the
  // order; false for other columns.
  bool sortBy(int column);

  // Totals: queued bytes are the sizes of the queued jobs; done bytes the
  // bytes done of them, recomputed on every refresh.
  std::int64_t queuedBytes() const { return sumOf(&Job::totalSize); }
  std::int64_t doneBytes() const { return doneBytes_; }
  std::int64_t doneAtRefresh() const { return doneAtRefresh_; }
  void recomputeDone() { doneBytes_ = sumOf(Traits::kDone); }
  void setDoneAtRefresh(std::int64_t value) { doneAtRefresh_ = value; }

  // Empties the list (the window is destroyed); no connection is touched.
  void clear() {
    for (Job& j : jobs_) Traits::reset(j, State::Idle);
    jobs_.clear();
    doneBytes_ = 0;
    doneAtRefresh_ = 0;
    running = false;
  }

  int maxConcurrent = 1;
  bool running = false;

 protected:
  // The rows of jobs in the completed state.
  std::vector<int> completedRows() const {
    std::vector<int> rows;
    for (int i = 0; i < size(); ++i) {
      if (job(i).state == Traits::kCompleted) rows.push_back(i);
    }
    return rows;
  }
  // The valid rows a removal takes, each once and ascending: every job but
  // one moving bytes; stop(row) runs first for each, so a job that holds a
  // slot lets go of it.
  template <typename Stop>
  std::vector<int> removableRows(const std::vector<int>& rows, Stop stop) {
    std::vector<int> doomed;
    for (int row : rows) {
      if (row < 0 || row >= size() || job(row).state == Traits::kMoving) continue;
      stop(row);
      doomed.push_back(row);
    }
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    return doomed;
  }
  // Done bytes recomputed and taken as the value at the last measurement
  // (after a removal or a fresh binding changed the sum).
  void remeasureDone() {
    recomputeDone();
    doneAtRefresh_ = doneBytes_;
  }
  // A list drawn again from the records shows each state's plain text.
  void redrawnTexts() {
    for (Job& j : jobs_) j.shownState = Traits::plainText(j.state);
  }

  std::vector<Job> jobs_;
  std::int64_t doneBytes_ = 0;
  std::int64_t doneAtRefresh_ = 0;

 private:
  std::vector<int> reorder(const std::vector<int>& rows, int target);
  std::int64_t sumOf(std::int64_t Job::*field) const {
    std::int64_t sum = 0;
    for (const Job& j : jobs_) sum += j.*field;
    return sum;
  }

  bool sortReversed_ = false;
};

template <typename Traits>
std::vector<int> JobList<Traits>::reorder(const std::vector<int>& rows, int target) {
  std::vector<bool> chosen(jobs_.size(), false);
  for (int row : rows) {
    if (row >= 0 && row < size()) chosen[static_cast<std::size_t>(row)] = true;
  }
  std::vector<Job> moved, rest;
  int insertAt = 0;
  for (int i = 0; i < size(); ++i) {
    if (chosen[static_cast<std::size_t>(i)]) {
      moved.push_back(job(i));
    } else {
      if (i < target) ++insertAt;
      rest.push_back(job(i));
    }
  }
  if (moved.empty()) return {};
  rest.insert(rest.begin() + insertAt, moved.begin(), moved.end());
  jobs_ = std::move(rest);
  redrawnTexts();
  std::vector<int> selected;
  for (std::size_t k = 0; k < moved.size(); ++k) selected.push_back(insertAt + static_cast<int>(k));
  return selected;
}

template <typename Traits>
std::vector<int> JobList<Traits>::moveUp(const std::vector<int>& rows) {
  std::vector<int> selected;
  for (int row : rows) {  // ascending: a block moves up as one
    if (row < 0 || row >= size()) continue;
    const bool blocked =
        row == 0 || std::find(selected.begin(), selected.end(), row - 1) != selected.end();
    if (blocked) {
      selected.push_back(row);
      continue;
    }
    std::swap(job(row), job(row - 1));
    selected.push_back(row - 1);
  }
  if (Traits::kSwapsRedraw) redrawnTexts();
  return selected;
}

template <typename Traits>
std::vector<int> JobList<Traits>::moveDown(const std::vector<int>& rows) {
  std::vector<int> selected;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    const int row = *it;
    if (row < 0 || row >= size()) continue;
    const bool blocked =
        row == size() - 1 || std::find(selected.begin(), selected.end(), row + 1) != selected.end();
    if (blocked) {
      selected.push_back(row);
      continue;
    }
    std::swap(job(row), job(row + 1));
    selected.push_back(row + 1);
  }
  std::sort(selected.begin(), selected.end());
  if (Traits::kSwapsRedraw) redrawnTexts();
  return selected;
}

template <typename Traits>
bool JobList<Traits>::sortBy(int column) {
  const bool reversed = sortReversed_;
  constexpr std::string Job::*kName = Traits::kName;
  switch (column) {
    case 0:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const Job& a, const Job& b) {
        return reversed ? b.*kName < a.*kName : a.*kName < b.*kName;
      });
      break;
    case 1:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const Job& a, const Job& b) {
        return reversed ? a.totalSize < b.totalSize : b.totalSize < a.totalSize;
      });
      break;
    case 2:
      std::stable_sort(jobs_.begin(), jobs_.end(), [reversed](const Job& a, const Job& b) {
        return reversed ? a.state < b.state : b.state < a.state;
      });
      break;
    default:
      return false;
  }
  sortReversed_ = !sortReversed_;
  redrawnTexts();
  return true;
}

}  // namespace pom
