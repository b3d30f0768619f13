// Win32LocalListView: the local file list (control 4001) on the main
// window: header bitmap 212 with the folder's path as caption, group frames
// and a report list with four columns, label editing, info tips and the
// system image lists. The list is owner-data: the presenter keeps the rows
// and the control asks for the texts and icons it paints (with the shared
// and shortcut overlays and the cut look of ghosted items). Keys, double
// click, column click, right click (the shell context menu) and label edits
// go to the presenter. A drag of the selected rows released over the upload
// window, or strictly inside the web file list, hands them to the presenter
// for upload. GUI thread only; lives as long as the top window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "core/localfs/local_file_list.h"
#include "win32/drag_image.h"
#include "win32/local_pane_frame.h"
#include "win32/local_shell_win32.h"
#include "win32/top_window.h"
#include "win32/window.h"

namespace pom {

// True when the screen point lies strictly inside the shown control with
// this id on the top-level window under the point (the local list 4001, the
// web file list 113).
bool isStrictlyInsideControl(POINT screen, int controlId);
inline bool isInsideLocalList(POINT screen) {
  return isStrictlyInsideControl(screen, kLocalListId);
}

class Win32LocalListView final : public LocalFileListView, public NotifyTarget {
 public:
  Win32LocalListView(TopWindow& top, LocalFileList& presenter);
  ~Win32LocalListView() override;

  void setRowCount(std::size_t rows) override;
  void redrawRow(std::size_t row) override;
  std::vector<std::size_t> selectedRows() override;
  void selectAll() override;
  void editLabel(std::size_t row) override;
  void setCaption(const std::string& text) override;
  void setBusy(bool busy) override;
  LocalMenuChoice trackMenu(const std::vector<std::size_t>& rows) override;
  void runMenuCommand(const LocalMenuChoice& choice) override;
  void place(const PaneRect& rect) override;
  void setVisible(bool visible) override;

  bool onControlNotify(NMHDR* header, LRESULT& result) override;

 private:
  // The messages of the control (subclassed), before its own handling.
  LRESULT controlMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  void fillDisplayInfo(LVITEMW& item);
  void beginDrag(const NMLISTVIEW& info);
  void drop(POINT screen);

  TopWindow& top_;
  LocalFileList& presenter_;
  LocalPaneFrame frame_;
  ForwardingControl<Win32LocalListView> control_{*this, &Win32LocalListView::controlMessage};
  HWND list_ = nullptr;
  DragImage drag_;
  ShellMenu menu_;
};

}  // namespace pom
