#include "win32/web_tree_view.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/wide_text.h"
#include "win32/local_list_view.h"
#include "win32/web_keys.h"

namespace pom {
namespace {

// The image list order: ICON_NOFOLD (loaded, used by no node) first.
constexpr const wchar_t* kImages[] = {L"ICON_NOFOLD",     L"ICON_NETPC",       L"ICON_NETPCON",
                                      L"ICON_FRIEND",     L"ICON_FRIENDON",    L"ICON_WEB",
                                      L"ICON_WEBON",      L"ICON_FOLD",        L"ICON_FOLDON",
                                      L"ICON_FRIENDUSER", L"ICON_FRIENDUSERON"};

// Normal and selected image of each node kind (indices into kImages).
struct KindImages {
  int normal;
  int selected;
};
KindImages imagesOf(WebNodeKind kind) {
  switch (kind) {
    case WebNodeKind::Root:
      return {2, 1};
    case WebNodeKind::Friends:
      return {4, 3};
    case WebNodeKind::OwnRoot:
      return {5, 6};
    case WebNodeKind::Friend:
      return {10, 9};
    case WebNodeKind::OwnFolder:
    case WebNodeKind::FriendFolder:
      return {7, 8};
  }
  return {0, 0};
}

HWND child(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
           DWORD style, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

Win32WebTreeView::Win32WebTreeView(TopWindow& top, WebFolderTree& presenter)
    : top_(top), presenter_(presenter), control_(*this) {
  HWND parent = top_.handle();
  HINSTANCE instance = top_.instance();
  caption_ = child(parent, instance, L"STATIC", widen("폼베일웹폴더").c_str(), 0, -1);
  for (HWND& frame : frames_) frame = child(parent, instance, L"BUTTON", L"", BS_GROUPBOX, -1);
  tree_ = child(parent, instance, WC_TREEVIEWW, L"",
                WS_BORDER | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                kWebTreeId);
  HFONT font = top_.painter().font(SkinFont::Normal);
  for (HWND control : {caption_, tree_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(top_.painter().font(SkinFont::Bold)),
               FALSE);
  images_ = ImageList_Create(16, 16, ILC_COLOR16, 5, 0);
  for (const wchar_t* name : kImages) {
    HBITMAP bitmap = LoadBitmapW(instance, name);
    ImageList_Add(images_, bitmap, nullptr);
    if (bitmap != nullptr) DeleteObject(bitmap);
  }
  TreeView_SetImageList(tree_, images_, TVSIL_NORMAL);
  control_.attachTo(tree_);
  top_.addNotifyTarget(tree_, this);
}

Win32WebTreeView::~Win32WebTreeView() {
  top_.removeNotifyTarget(tree_);
  drag_.end();
  if (images_ != nullptr) ImageList_Destroy(images_);
}

WebNodeId Win32WebTreeView::nodeOf(HTREEITEM item) const {
  if (item == nullptr) return 0;
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  if (!TreeView_GetItem(tree_, &data)) return 0;
  return static_cast<WebNodeId>(data.lParam);
}

void Win32WebTreeView::insertNode(WebNodeId id, WebNodeId parent, WebNodeKind kind,
                                  const std::string& label) {
  const std::wstring text = widen(label);
  const KindImages images = imagesOf(kind);
  TVINSERTSTRUCTW insert{};
  const auto up = items_.find(parent);
  insert.hParent = up != items_.end() ? up->second : TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = const_cast<wchar_t*>(text.c_str());
  insert.item.lParam = id;
  insert.item.iImage = images.normal;
  insert.item.iSelectedImage = images.selected;
  HTREEITEM item = TreeView_InsertItem(tree_, &insert);
  if (item != nullptr) {
    items_[id] = item;
    parents_[id] = parent;
  }
}

void Win32WebTreeView::removeNode(WebNodeId id) {
  const auto found = items_.find(id);
  if (found == items_.end()) return;
  TreeView_DeleteItem(tree_, found->second);
  // Forget the node and everything below it.
  std::vector<WebNodeId> doomed{id};
  for (std::size_t i = 0; i < doomed.size(); ++i) {
    for (const auto& [node, parent] : parents_) {
      if (parent == doomed[i]) doomed.push_back(node);
    }
  }
  for (WebNodeId node : doomed) {
    items_.erase(node);
    parents_.erase(node);
  }
}

void Win32WebTreeView::setLabel(WebNodeId id, const std::string& label) {
  const auto found = items_.find(id);
  if (found == items_.end()) return;
  const std::wstring text = widen(label);
  TVITEMW item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = found->second;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  TreeView_SetItem(tree_, &item);
}

void Win32WebTreeView::selectNode(WebNodeId id) {
  const auto found = items_.find(id);
  if (found != items_.end()) TreeView_SelectItem(tree_, found->second);
}

void Win32WebTreeView::expandNode(WebNodeId id) {
  const auto found = items_.find(id);
  if (found != items_.end()) TreeView_Expand(tree_, found->second, TVE_EXPAND);
}

WebTreeCommand Win32WebTreeView::trackMenu(WebMenu menu) {
  HMENU loaded = LoadMenuW(top_.instance(), MAKEINTRESOURCEW(static_cast<int>(menu)));
  if (loaded == nullptr) return WebTreeCommand::None;
  POINT at{};
  GetCursorPos(&at);
  const int chosen = TrackPopupMenu(GetSubMenu(loaded, 0), TPM_LEFTBUTTON | TPM_RETURNCMD, at.x,
                                    at.y, 0, top_.handle(), nullptr);
  DestroyMenu(loaded);
  return static_cast<WebTreeCommand>(chosen);
}

void Win32WebTreeView::place(const PaneRect& r) {
  MoveWindow(caption_, r.x + 2, r.y - 18, r.width - 10, 20, TRUE);
  MoveWindow(frames_[0], r.x - 2, r.y - 33, r.width + 4, 34, TRUE);
  MoveWindow(frames_[1], r.x - 2, r.y - 33, r.width + 4, r.height + 35, TRUE);
  MoveWindow(tree_, r.x, r.y, r.width, r.height, TRUE);
}

void Win32WebTreeView::setVisible(bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND control : {caption_, frames_[0], frames_[1], tree_}) ShowWindow(control, show);
}

bool Win32WebTreeView::onControlNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case TVN_SELCHANGEDW: {
      const auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
      presenter_.onSelectionChanged(static_cast<WebNodeId>(info->itemNew.lParam));
      return true;
    }
    case TVN_ITEMEXPANDINGW: {
      const auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
      presenter_.onExpanding(static_cast<WebNodeId>(info->itemNew.lParam));
      return true;
    }
    case NM_RCLICK: {
      TVHITTESTINFO hit{};
      GetCursorPos(&hit.pt);
      ScreenToClient(tree_, &hit.pt);
      HTREEITEM item = TreeView_HitTest(tree_, &hit);
      if (item != nullptr && (hit.flags & TVHT_ONITEMLABEL) != 0) {
        presenter_.onRightClick(nodeOf(item));
      }
      result = 1;
      return true;
    }
    case TVN_BEGINDRAGW:
      beginDrag(*reinterpret_cast<NMTREEVIEWW*>(header));
      return true;
    default:
      return false;
  }
}

// The node's image follows the pointer over the main window (not the
// desktop: see the file list's drag).
void Win32WebTreeView::beginDrag(const NMTREEVIEWW& info) {
  if (presenter_.dragBlocked()) return;
  // Selecting the node makes it the one the tree's commands act on.
  TreeView_SelectItem(tree_, info.itemNew.hItem);
  dragged_ = nodeOf(info.itemNew.hItem);
  HIMAGELIST image = TreeView_CreateDragImage(tree_, info.itemNew.hItem);
  // The image starts with the node's icon, left of its label.
  POINT hotspot{0, 0};
  RECT label{};
  int iconWidth = 0, iconHeight = 0;
  if (image != nullptr && TreeView_GetItemRect(tree_, info.itemNew.hItem, &label, TRUE) &&
      ImageList_GetIconSize(images_, &iconWidth, &iconHeight)) {
    hotspot = {std::max(0L, info.ptDrag.x - label.left + iconWidth),
               std::max(0L, info.ptDrag.y - label.top)};
  }
  POINT screen = info.ptDrag;
  ClientToScreen(tree_, &screen);
  drag_.begin(tree_, GetAncestor(tree_, GA_ROOT), image, hotspot, screen);
}

// A folder dropped on the local file list downloads into a sub-folder of
// its name; dropped anywhere else, the download window included, nothing
// happens.
void Win32WebTreeView::drop(POINT screen) {
  drag_.end();
  const WebNodeId dragged = dragged_;
  dragged_ = 0;
  // Last: the presenter may open the download window.
  if (dragged != 0 && isInsideLocalList(screen)) presenter_.dropOnLocalList(dragged);
}

LRESULT Win32WebTreeView::Control::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                             bool& handled) {
  handled = false;
  if (const std::optional<WebKey> key = webKeyOf(message, wParam)) {
    owner_.presenter_.key(*key);
    handled = message == WM_SYSKEYDOWN;  // no menu bar to open
    return 0;
  }
  owner_.drag_.follow(message, lParam, [this](POINT at) { owner_.drop(at); });
  return 0;
}

}  // namespace pom
