// Win32WebFileListView: the web file list on the main window: the header
// bitmap (212) with the caption (the folder path) on it, two group frames
// and the report list (113) with five columns, label editing, the system's
// icons by file name, and shaded odd rows. Keys and notifications (double
// click, right click, column click, label edit, begin drag) go to the
// presenter. A drag of the selected rows released over the download window
// hands them to the presenter for download; anywhere else it does nothing.
// GUI thread only; lives as long as the top window.
//
// The list is an owner-data list (LVS_OWNERDATA): the view keeps the rows it
// was given, in order, with their item ids, and the control asks for the
// texts and icons of the rows it shows. A control that stores its items
// costs about 10 ms per inserted row under Wine (100 s for a folder of
// 10,000), against about 3 us here (bench/win32). The row count reaches the
// control once per turn of the message loop (or before its next paint), not
// once per appended row, for the same reason; anything that addresses a row
// in the control first brings the count up to date. Icons are looked up
// when a row is first shown, once per file extension.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <vector>

#include "core/storage/web_file_list.h"
#include "win32/drag_image.h"
#include "win32/shell_icons.h"
#include "win32/top_window.h"
#include "win32/window.h"

namespace pom {

inline constexpr int kWebListId = 113;

class Win32WebFileListView final : public WebFileListView, public NotifyTarget {
 public:
  Win32WebFileListView(TopWindow& top, WebFileList& presenter);
  ~Win32WebFileListView() override;

  void clearRows() override;
  void appendRow(const WebRow& row) override;
  void setCellText(std::int32_t itemId, int column, const std::string& text) override;
  void removeRow(std::int32_t itemId) override;
  std::vector<std::int32_t> selectedItems() override;
  void deselectAll() override;
  void selectAll() override;
  void editLabel(std::int32_t itemId) override;
  void setCaption(const std::string& text) override;
  WebListCommand trackMenu(WebMenu menu) override;
  void place(const PaneRect& rect) override;
  void setVisible(bool visible) override;

  bool onControlNotify(NMHDR* header, LRESULT& result) override;

 private:
  class Control final : public Window {
   public:
    explicit Control(Win32WebFileListView& owner) : owner_(owner) {}

   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

   private:
    Win32WebFileListView& owner_;
  };

  // The header bitmap static, parent of the caption: the caption's text is
  // drawn transparently over the bitmap, after it.
  class Header final : public Window {
   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  };

  // One row as the control shows it.
  struct ShownRow {
    std::int32_t itemId = 0;
    std::array<std::wstring, kWebColumns> texts;
    bool folder = false;
    int icon = -1;  // looked up when first shown
  };

  int rowOf(std::int32_t itemId) const;
  // Gives the control the number of rows kept, if it changed since.
  void syncRowCount();
  int iconOf(ShownRow& row);
  void fillDisplayInfo(LVITEMW& item);
  int findByName(const NMLVFINDITEMW& find) const;
  LRESULT customDraw(NMLVCUSTOMDRAW& draw) const;
  void beginDrag(const NMLISTVIEW& info);
  // The button was released at a screen point: the drag ends there.
  void drop(POINT screen);

  TopWindow& top_;
  WebFileList& presenter_;
  Control control_;
  Header headerControl_;
  HWND list_ = nullptr;
  HWND header_ = nullptr;
  HWND caption_ = nullptr;
  HWND frames_[2] = {};
  HBITMAP headerBitmap_ = nullptr;
  DragImage drag_;  // the selected rows on their way to another window
  std::vector<ShownRow> rows_;
  bool countPending_ = false;  // rows appended since the control's count was set
  ShellIcons icons_;
};

}  // namespace pom
