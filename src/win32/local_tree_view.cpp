#include "win32/local_tree_view.h"

#include <vector>

#include "platform/win32/wide_text.h"
#include "win32/shell_icons.h"

namespace pom {

Win32LocalTreeView::Win32LocalTreeView(TopWindow& top, LocalFolderTree& presenter)
    : top_(top), presenter_(presenter), frame_(top, "내 컴퓨터", 0) {
  tree_ =
      localChild(top_.handle(), top_.instance(), WC_TREEVIEWW, L"",
                 WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                 kLocalTreeId);
  SendMessageW(tree_, WM_SETFONT, reinterpret_cast<WPARAM>(top_.painter().font(SkinFont::Normal)),
               FALSE);
  TreeView_SetImageList(tree_, ShellIcons::smallList(), TVSIL_NORMAL);
  SetPropW(tree_, L"FTData", this);
  control_.attachTo(tree_);
  top_.addNotifyTarget(tree_, this);
}

Win32LocalTreeView::~Win32LocalTreeView() {
  top_.removeNotifyTarget(tree_);
  if (IsWindow(tree_)) RemovePropW(tree_, L"FTData");
}

void Win32LocalTreeView::insertNode(LocalNodeId id, LocalNodeId parent, const std::string& name,
                                    bool hasChildren) {
  const std::wstring text = widen(name);
  TVINSERTSTRUCTW insert{};
  const auto up = items_.find(parent);
  insert.hParent = up != items_.end() ? up->second : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.lParam = static_cast<LPARAM>(id);
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  insert.item.cChildren = hasChildren ? 1 : 0;
  HTREEITEM item = TreeView_InsertItem(tree_, &insert);
  if (item != nullptr) items_[id] = item;
}

void Win32LocalTreeView::removeChildren(LocalNodeId id) {
  const auto found = items_.find(id);
  if (found == items_.end()) return;
  std::vector<HTREEITEM> doomed;
  for (HTREEITEM child = TreeView_GetChild(tree_, found->second); child != nullptr;
       child = TreeView_GetNextSibling(tree_, child))
    doomed.push_back(child);
  ++quiet_;
  for (HTREEITEM child : doomed) TreeView_DeleteItem(tree_, child);
  --quiet_;
  // The presenter never reuses ids: forget every item no longer in the tree.
  for (auto it = items_.begin(); it != items_.end();) {
    TVITEMW probe{};
    probe.mask = TVIF_HANDLE;
    probe.hItem = it->second;
    it = it->first != id && !TreeView_GetItem(tree_, &probe) ? items_.erase(it) : std::next(it);
  }
}

void Win32LocalTreeView::selectNode(LocalNodeId id) {
  const auto found = items_.find(id);
  if (found == items_.end()) return;
  ++quiet_;
  TreeView_SelectItem(tree_, found->second);
  TreeView_EnsureVisible(tree_, found->second);
  --quiet_;
}

void Win32LocalTreeView::expandNode(LocalNodeId id) {
  const auto found = items_.find(id);
  if (found == items_.end()) return;
  ++quiet_;  // the presenter enumerated the children already
  TreeView_Expand(tree_, found->second, TVE_EXPAND);
  --quiet_;
}

LocalMenuChoice Win32LocalTreeView::trackMenu(LocalNodeId id) {
  const LocalFolderTree::Node* node = presenter_.node(id);
  if (node == nullptr) return {};
  const Win32LocalItem& item = win32Item(*node->item);
  if (item.parent() == nullptr) return {};  // the desktop has no menu here
  POINT at{};
  GetCursorPos(&at);
  return menu_.track(tree_, item.parent(), {item.relative()}, at);
}

void Win32LocalTreeView::runMenuCommand(const LocalMenuChoice& choice) {
  menu_.run(tree_, choice);
}

void Win32LocalTreeView::place(const PaneRect& rect) {
  frame_.place(tree_, rect);
}

void Win32LocalTreeView::setVisible(bool visible) {
  frame_.setVisible(tree_, visible);
}

void Win32LocalTreeView::fillDisplayInfo(TVITEMW& item) {
  const LocalFolderTree::Node* node = presenter_.node(static_cast<LocalNodeId>(item.lParam));
  if (node == nullptr) return;
  if ((item.mask & TVIF_IMAGE) != 0) item.iImage = Win32LocalShell::iconOf(*node->item, false);
  if ((item.mask & TVIF_SELECTEDIMAGE) != 0)
    item.iSelectedImage = Win32LocalShell::iconOf(*node->item, true);
}

bool Win32LocalTreeView::onControlNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case TVN_GETDISPINFOW:
      fillDisplayInfo(reinterpret_cast<NMTVDISPINFOW*>(header)->item);
      return true;
    case TVN_SELCHANGEDW:
      if (quiet_ == 0)
        presenter_.selected(
            static_cast<LocalNodeId>(reinterpret_cast<NMTREEVIEWW*>(header)->itemNew.lParam));
      return true;
    case TVN_ITEMEXPANDINGW: {
      const auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
      if (quiet_ == 0 && (info->action & TVE_EXPAND) != 0)
        presenter_.expanding(static_cast<LocalNodeId>(info->itemNew.lParam));
      return true;
    }
    case NM_RCLICK: {
      TVHITTESTINFO hit{};
      GetCursorPos(&hit.pt);
      ScreenToClient(tree_, &hit.pt);
      HTREEITEM item = TreeView_HitTest(tree_, &hit);
      if (item != nullptr && (hit.flags & TVHT_ONITEM) != 0) {
        TVITEMW data{};
        data.mask = TVIF_PARAM | TVIF_HANDLE;
        data.hItem = item;
        if (TreeView_GetItem(tree_, &data))
          presenter_.rightClick(static_cast<LocalNodeId>(data.lParam));
      }
      result = 1;
      return true;
    }
    default:
      return false;
  }
}

LRESULT Win32LocalTreeView::controlMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           bool& handled) {
  LRESULT result = 0;
  handled = menu_.handleMessage(message, wParam, lParam, result);
  return result;
}

}  // namespace pom
