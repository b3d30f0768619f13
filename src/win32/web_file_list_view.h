// Win32WebFileListView: the web file list on the main window: the header
// bitmap (212), the caption with the folder path, two group frames and the
// report list (113) with five columns, label editing, the system's icons by
// file name, and shaded odd rows. Rows carry their item id. Keys and
// notifications (double click, right click, column click, label edit, begin
// drag) go to the presenter. GUI thread only; lives as long as the top window.
#pragma once

#include <windows.h>

#include "core/storage/web_file_list.h"
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

  int rowOf(std::int32_t itemId) const;
  LRESULT customDraw(NMLVCUSTOMDRAW& draw) const;
  void beginDrag(const NMLISTVIEW& info);
  void endDrag();

  TopWindow& top_;
  WebFileList& presenter_;
  Control control_;
  HWND list_ = nullptr;
  HWND header_ = nullptr;
  HWND caption_ = nullptr;
  HWND frames_[2] = {};
  HBITMAP headerBitmap_ = nullptr;
  HIMAGELIST dragImage_ = nullptr;
  int folderIcon_ = 0;
};

}  // namespace pom
