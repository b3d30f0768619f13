// Win32WebTreeView: the web-folder tree on the main window: the caption
// "폼베일웹폴더", two group frames and the tree control (191) with its
// 16 x 16 image list, in the font.ini font. Nodes carry the presenter's node
// id. The control's keys and notifications (selection, expanding, right
// click, begin drag) go to the presenter; a drag shows the node's image
// until the button is released, and a folder released over the download
// window is downloaded as the node's download command does. GUI thread
// only; lives as long as the top window.
#pragma once

#include <windows.h>

#include <map>

#include "core/storage/web_folder_tree.h"
#include "win32/drag_image.h"
#include "win32/top_window.h"
#include "win32/window.h"

namespace pom {

inline constexpr int kWebTreeId = 191;

class Win32WebTreeView final : public WebTreeView, public NotifyTarget {
 public:
  Win32WebTreeView(TopWindow& top, WebFolderTree& presenter);
  ~Win32WebTreeView() override;

  void insertNode(WebNodeId id, WebNodeId parent, WebNodeKind kind,
                  const std::string& label) override;
  void removeNode(WebNodeId id) override;
  void setLabel(WebNodeId id, const std::string& label) override;
  void selectNode(WebNodeId id) override;
  void expandNode(WebNodeId id) override;
  WebTreeCommand trackMenu(WebMenu menu) override;
  void place(const PaneRect& rect) override;
  void setVisible(bool visible) override;

  bool onControlNotify(NMHDR* header, LRESULT& result) override;

 private:
  // The control's own messages: keys, and the mouse while a drag runs.
  class Control final : public Window {
   public:
    explicit Control(Win32WebTreeView& owner) : owner_(owner) {}

   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

   private:
    Win32WebTreeView& owner_;
  };

  WebNodeId nodeOf(HTREEITEM item) const;
  void beginDrag(const NMTREEVIEWW& info);
  // The button was released at a screen point: the drag ends there.
  void drop(POINT screen);

  TopWindow& top_;
  WebFolderTree& presenter_;
  Control control_;
  HWND tree_ = nullptr;
  HWND caption_ = nullptr;
  HWND frames_[2] = {};
  HIMAGELIST images_ = nullptr;
  DragImage drag_;
  WebNodeId dragged_ = 0;  // the node being dragged
  std::map<WebNodeId, HTREEITEM> items_;
  std::map<WebNodeId, WebNodeId> parents_;
};

}  // namespace pom
