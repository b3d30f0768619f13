// A recording fake of the transfer window's view, for unit tests of the
// transfer presenters: it keeps what it was told (rows, selection, running,
// concurrency, check boxes, totals) and hands out a selection the test sets.
#pragma once

#include <map>
#include <vector>

#include "core/transfer/transfer_window_view.h"

namespace pom {

class FakeTransferWindowView : public TransferWindowView {
 public:
  bool opened = false;
  bool visible = true;
  int opens = 0, closes = 0;
  int rows = 0;
  std::vector<int> selection;
  std::vector<int> scrolledTo;
  bool running = false;
  int concurrency = 0;
  std::map<TransferCheckBox, bool> boxes;
  TransferTotalsText totals;
  int bar = -1;

  void open() override {
    opened = true;
    ++opens;
  }
  void close() override {
    opened = false;
    ++closes;
  }
  bool isOpen() const override { return opened; }
  bool isVisible() const override { return opened && visible; }
  void setRowCount(int count) override { rows = count; }
  void redrawRows(int, int) override {}
  std::vector<int> selectedRows() const override { return selection; }
  void selectRows(const std::vector<int>& r) override { selection = r; }
  void ensureVisible(int index) override { scrolledTo.push_back(index); }
  void setRunning(bool r) override { running = r; }
  void setConcurrency(int limit) override { concurrency = limit; }
  void setCheckBox(TransferCheckBox box, bool checked) override { boxes[box] = checked; }
  void setTotals(const TransferTotalsText& texts, int barPixels) override {
    totals = texts;
    bar = barPixels;
  }
  TransferMenuCommand trackMenu() override { return TransferMenuCommand::None; }
};

}  // namespace pom
