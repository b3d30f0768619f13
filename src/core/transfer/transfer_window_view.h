// TransferWindowView and TransferWindowInput: a transfer window (download or
// upload) as its presenter sees it, and what the window reports back.
//
// The list is virtual: the presenter holds the jobs and tells the view how
// many rows there are and which rows changed; the view asks for a row's
// texts when it draws it (TransferWindowInput::row). Rows are addressed by
// their position in the queue, which is the list's order. Texts are CP949.
//
// Timers belong to the presenter (the event-loop port), not to the window.
// Loop thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pom {

// Which of the two windows a view shows (layout, captions, bitmaps).
enum class TransferKind { Download, Upload };

// One row as drawn: the base name (its icon comes from the name), the four
// texts of the other columns, the state number that picks the row colour,
// and the amounts of the per-row progress bitmap (drawn only when done > 0).
struct TransferRow {
  std::string name;
  std::string sizeText;
  std::string progressText;
  std::string speedText;
  std::string stateText;
  int state = 0;
  std::int64_t done = 0;
  std::int64_t total = 0;
};

// The skinned buttons and the menu entries of the list, by what they do.
enum class TransferAction {
  PlayerPage,  // the external player's download page (download window)
  MoveUp,
  MoveDown,
  MoveTop,
  MoveEnd,
  SelectAll,
  DeleteSelected,
  RemoveCompleted,
  OpenSelected,  // open or play the selected file (download window)
  OpenFolder,    // the download folder in the file manager
  ChooseFolder,  // the folder browser for the download folder
  AddFiles,      // file picker (upload window)
  AddFolder,     // folder picker (upload window)
  Start,
  Stop,
  ToggleCancel,  // cancel / restart the selected job
  StopSelected,  // stop the selected job (Ctrl+S on the download list)
};

// The list's context menu entries with their command numbers.
enum class TransferMenuCommand : int {
  None = 0,
  Play = 40018,  // download list only
  Top = 40008,
  End = 40009,
  SelectAll = 40013,
  DeleteSelected = 40001,
  RemoveCompleted = 40010,
  ToggleCancel = 40030,
};

// The two check boxes under the list.
enum class TransferCheckBox { CloseWhenDone = 3013, PowerOffWhenDone = 3014 };

// The three texts at the top of the window.
struct TransferTotalsText {
  std::string elapsed;    // "%02d:%02d:%02d"
  std::string remaining;  // "%02d:%02d:%02d" or empty
  std::string amounts;    // "%I64dMB/%I64dMB"
};

// What the window reports; the presenter implements it.
class TransferWindowInput {
 public:
  virtual ~TransferWindowInput() = default;
  virtual int rowCount() const = 0;
  // The texts of the row at index (0 <= index < rowCount()).
  virtual TransferRow row(int index) const = 0;
  // A skinned button, a key or a menu entry.
  virtual void onAction(TransferAction action) = 0;
  virtual void onMenuCommand(TransferMenuCommand command) = 0;
  // A click on a column header.
  virtual void onColumnClick(int column) = 0;
  // A double click on a row (the download window opens or plays it).
  virtual void onRowDoubleClick(int index) = 0;
  // Selected rows dropped before the row at target.
  virtual void onRowsDragged(int target) = 0;
  // The concurrency combo box: entry 0, 1 or 2.
  virtual void onConcurrencyChosen(int entry) = 0;
  virtual void onCheckBox(TransferCheckBox box, bool checked) = 0;
  // Esc or the close box; the presenter asks and destroys the window itself.
  virtual void onCloseRequested() = 0;
  // Files dropped on the window (full local paths; upload window).
  virtual void onFilesDropped(const std::vector<std::string>& paths) = 0;
};

class TransferWindowView {
 public:
  virtual ~TransferWindowView() = default;
  // Creates the window when it does not exist yet, shows it, refreshes it and
  // gives it the focus.
  virtual void open() = 0;
  // Destroys the window (it may be opened again).
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
  virtual bool isVisible() const = 0;

  // The list has count rows; all of them are drawn again.
  virtual void setRowCount(int count) = 0;
  // Rows first..last (inclusive) changed and are drawn again.
  virtual void redrawRows(int first, int last) = 0;
  // The selected rows, in row order.
  virtual std::vector<int> selectedRows() const = 0;
  virtual void selectRows(const std::vector<int>& rows) = 0;
  virtual void ensureVisible(int index) = 0;

  // Shows the stop button while running, otherwise the start button.
  virtual void setRunning(bool running) = 0;
  // The combo box shows limit (1..3).
  virtual void setConcurrency(int limit) = 0;
  virtual void setCheckBox(TransferCheckBox box, bool checked) = 0;
  // The three texts and the overall bar (0..600 pixels).
  virtual void setTotals(const TransferTotalsText& texts, int barPixels) = 0;
  // Tracks the list's context menu at the cursor; the entry chosen.
  virtual TransferMenuCommand trackMenu() = 0;
};

}  // namespace pom
