// Win32TransferWindowView: the download or the upload window, a skinned
// top-level window of its own (the kind picks class, title, bitmaps, ids and
// buttons; transfer_window_layout.h). Split by concern:
//   transfer_window.cpp        creation, the view's operations, painting
//   transfer_window_list.cpp   the owner-data list: texts, icons, row colours
//                              and the per-row progress bitmaps
//   transfer_window_input.cpp  skinned buttons, keys, the menu, drag of rows,
//                              the combo box, check boxes, close and drops
//
// The presenter owns everything else: rows are fetched from the input when
// the list draws them, every member action goes to the input, and a close
// request only asks (the window is destroyed when the presenter calls
// close()). The view keeps what it was last told (running, concurrency,
// check boxes, totals) so a window opened again shows it at once.
//
// The object must outlive its window. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/transfer/transfer_window_view.h"
#include "core/ui/skin_button.h"
#include "win32/drag_image.h"
#include "win32/gdi_painter.h"
#include "win32/shell_icons.h"
#include "win32/transfer_window_layout.h"
#include "win32/window.h"

namespace pom {

// Asked of the window by the GUI tests' probe (another process): wParam the
// skinned button's index, lParam the field (TransferButtonField); the answer
// is that field, or -1 when there is no such button. A button whose bitmap
// did not load is never shown.
inline constexpr UINT kTransferButtonQuery = WM_APP + 0x2B0;
enum class TransferButtonField : int { Bitmap = 0, Shown = 1, X = 2, Y = 3, Width = 4, Height = 5 };

class Win32TransferWindowView final : public TransferWindowView, private Window {
 public:
  // dragBounds gives the window whose rectangle a drag of rows must stay in
  // (the main window); null, minimised or hidden: this window's own.
  Win32TransferWindowView(HINSTANCE instance, TransferKind kind, TransferWindowInput& input,
                          const std::string& fontFace, std::function<HWND()> dragBounds);
  ~Win32TransferWindowView() override;

  void open() override;
  void close() override;
  bool isOpen() const override;
  bool isVisible() const override;
  void setRowCount(int count) override;
  void redrawRows(int first, int last) override;
  std::vector<int> selectedRows() const override;
  void selectRows(const std::vector<int>& rows) override;
  void ensureVisible(int index) override;
  void setRunning(bool running) override;
  void setConcurrency(int limit) override;
  void setCheckBox(TransferCheckBox box, bool checked) override;
  void setTotals(const TransferTotalsText& texts, int barPixels) override;
  TransferMenuCommand trackMenu() override;

  HWND windowHandle() const { return handle(); }
  HWND listHandle() const { return list_; }

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  bool onCreate() override;
  bool onPaint() override;
  bool onCommand(int id, int code, HWND control) override;
  bool onNotify(int id, NMHDR* header, LRESULT& result) override;
  bool onMouseMove(const MousePoint& at) override;
  bool onLeftDown(const MousePoint& at) override;
  bool onLeftUp(const MousePoint& at) override;
  bool onKeyDown(UINT key, LPARAM flags) override;
  bool onDropFiles(HDROP drop) override;
  bool onClose() override;
  void onDestroy() override;

 private:
  // The list control: keys, the mouse messages the skinned buttons need,
  // and the drag of rows while one runs.
  class ListControl final : public Window {
   public:
    explicit ListControl(Win32TransferWindowView& owner) : owner_(owner) {}

   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

   private:
    Win32TransferWindowView& owner_;
  };
  // The combo box and the check boxes: Esc and the window's Ctrl keys.
  class KeyFilter final : public Window {
   public:
    explicit KeyFilter(Win32TransferWindowView& owner) : owner_(owner) {}

   protected:
    bool onKeyDown(UINT key, LPARAM flags) override { return owner_.windowKey(key); }

   private:
    Win32TransferWindowView& owner_;
  };

  HWND createChild(const wchar_t* className, const std::string& text, DWORD style,
                   const TransferRect& rect, int id);
  void createList();
  void loadButtons();
  void showRunning();
  int rowCount() const;
  int buttonQuery(WPARAM index, LPARAM field) const;

  // transfer_window_list.cpp
  void fillDisplayInfo(LVITEMW& item);
  LRESULT customDraw(NMLVCUSTOMDRAW& draw);
  void drawProgressCell(const NMLVCUSTOMDRAW& draw, COLORREF background);
  void fillCell(const NMLVCUSTOMDRAW& draw, COLORREF colour) const;
  COLORREF listBackground() const;
  bool listNotify(NMHDR* header, LRESULT& result);

  // transfer_window_input.cpp
  bool listKey(UINT key);
  bool windowKey(UINT key);
  void fireAction(TransferAction action);
  void pointerMoved(int x, int y);
  void pointerReleased(int x, int y);
  void trackPointerLeave();
  void showMenuAtCursor();
  void beginDrag(const NMLISTVIEW& info);
  void dragMoved(POINT screen);
  void dropRows(POINT screen);
  void endDrag();
  RECT dragBoundsRect() const;

  HINSTANCE instance_;
  TransferKind kind_;
  const TransferLayout& layout_;
  TransferWindowInput& input_;
  std::function<HWND()> dragBounds_;
  GdiPainter painter_;
  HBRUSH faceBrush_ = nullptr;
  ListControl listControl_;
  KeyFilter comboKeys_;
  KeyFilter checkKeys_[2];
  ShellIcons icons_;
  std::vector<SkinButton> buttons_;

  HWND list_ = nullptr;
  HWND combo_ = nullptr;
  HWND checks_[2] = {};

  // What the presenter last said.
  bool running_ = false;
  int concurrency_ = 1;
  bool checked_[2] = {};
  TransferTotalsText totals_;
  int barPixels_ = 0;

  // The row being drawn (fetched once per row at its item pre-paint).
  int drawnIndex_ = -1;
  TransferRow drawnRow_;
  bool pointerTracked_ = false;
  DragImage drag_;  // a drag of rows to another place in the list
};

// This program's download or upload window, when it exists (shown or not).
inline HWND findTransferWindow(TransferKind kind) {
  return findOwnWindow(transferLayoutOf(kind).className);
}

// True when the window under a screen point is the download or the upload
// window (or one of its controls).
inline bool isTransferWindowAt(TransferKind kind, POINT screen) {
  return isOwnWindowAt(screen, transferLayoutOf(kind).className);
}

}  // namespace pom
