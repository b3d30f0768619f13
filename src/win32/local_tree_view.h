// Win32LocalTreeView: the local folder tree (control 4000) on the main
// window, with the caption "내 컴퓨터" and the group frames. Nodes carry the
// presenter's node id; icons come from the system image list on demand.
// Expanding, selection and right click go to the presenter; the right click
// opens the shell's context menu for the node. The control carries the
// window property "FTData" (this view). GUI thread only; lives as long as
// the top window.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <map>

#include "core/localfs/local_folder_tree.h"
#include "win32/local_pane_frame.h"
#include "win32/local_shell_win32.h"
#include "win32/top_window.h"
#include "win32/window.h"

namespace pom {

class Win32LocalTreeView final : public LocalTreeView, public NotifyTarget {
 public:
  Win32LocalTreeView(TopWindow& top, LocalFolderTree& presenter);
  ~Win32LocalTreeView() override;

  void insertNode(LocalNodeId id, LocalNodeId parent, const std::string& name,
                  bool hasChildren) override;
  void removeChildren(LocalNodeId id) override;
  void selectNode(LocalNodeId id) override;
  void expandNode(LocalNodeId id) override;
  LocalMenuChoice trackMenu(LocalNodeId id) override;
  void runMenuCommand(const LocalMenuChoice& choice) override;
  void place(const PaneRect& rect) override;
  void setVisible(bool visible) override;

  bool onControlNotify(NMHDR* header, LRESULT& result) override;

 private:
  // The messages of the control (subclassed), before its own handling.
  LRESULT controlMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

  void fillDisplayInfo(TVITEMW& item);

  TopWindow& top_;
  LocalFolderTree& presenter_;
  LocalPaneFrame frame_;
  ForwardingControl<Win32LocalTreeView> control_{*this, &Win32LocalTreeView::controlMessage};
  HWND tree_ = nullptr;
  std::map<LocalNodeId, HTREEITEM> items_;
  ShellMenu menu_;
  int quiet_ = 0;  // selections made here are not reported back
};

}  // namespace pom
