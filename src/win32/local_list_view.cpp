#include "win32/local_list_view.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"
#include "win32/shell_icons.h"
#include "win32/transfer_window.h"

namespace pom {
namespace {

constexpr int kHeaderBitmap = 212;
constexpr int kWebListControl = 113;

struct Column {
  const char* title;
  int width;
  int format;
};
constexpr Column kColumns[kLocalColumns] = {
    {"폴더/파일이름", 344, LVCFMT_LEFT},
    {"크기", 80, LVCFMT_RIGHT},
    {"속성", 90, LVCFMT_LEFT},
    {"날짜", 110, LVCFMT_LEFT},
};

std::optional<LocalKey> localKeyOf(UINT message, WPARAM wParam) {
  if (message != WM_KEYDOWN) return std::nullopt;
  const bool control = GetKeyState(VK_CONTROL) < 0;
  switch (wParam) {
    case VK_F5:
      return LocalKey::Refresh;
    case VK_F2:
      return LocalKey::Rename;
    case VK_DELETE:
      return GetKeyState(VK_SHIFT) < 0 ? LocalKey::DeleteForGood : LocalKey::Delete;
    case 'A':
      if (control) return LocalKey::SelectAll;
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

bool isStrictlyInsideControl(POINT screen, int controlId) {
  HWND hit = WindowFromPoint(screen);
  HWND top = hit != nullptr ? GetAncestor(hit, GA_ROOT) : nullptr;
  HWND control = top != nullptr ? GetDlgItem(top, controlId) : nullptr;
  RECT r{};
  if (control == nullptr || !IsWindowVisible(control) || !GetWindowRect(control, &r)) return false;
  return screen.x > r.left && screen.x < r.right - 1 && screen.y > r.top && screen.y < r.bottom - 1;
}

Win32LocalListView::Win32LocalListView(TopWindow& top, LocalFileList& presenter)
    : top_(top), presenter_(presenter), frame_(top, "", kHeaderBitmap) {
  list_ = localChild(top_.handle(), top_.instance(), WC_LISTVIEWW, L"",
                     WS_BORDER | LVS_REPORT | LVS_EDITLABELS | LVS_SHOWSELALWAYS | LVS_OWNERDATA |
                         LVS_SHAREIMAGELISTS,
                     kLocalListId);
  prepareFileList(list_, top_.painter().font(SkinFont::Normal));
  for (int i = 0; i < kLocalColumns; ++i)
    addListColumn(list_, i, kColumns[i].title, kColumns[i].width, kColumns[i].format);
  control_.attachTo(list_);
  top_.addNotifyTarget(list_, this);
}

Win32LocalListView::~Win32LocalListView() {
  top_.removeNotifyTarget(list_);
  drag_.end();
}

void Win32LocalListView::setRowCount(std::size_t rows) {
  ListView_SetItemState(list_, -1, 0, LVIS_SELECTED);
  ListView_SetItemCountEx(list_, static_cast<int>(rows), 0);
  InvalidateRect(list_, nullptr, FALSE);
}

void Win32LocalListView::redrawRow(std::size_t row) {
  ListView_RedrawItems(list_, static_cast<int>(row), static_cast<int>(row));
}

std::vector<std::size_t> Win32LocalListView::selectedRows() {
  std::vector<std::size_t> rows;
  for (int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list_, row, LVNI_SELECTED))
    rows.push_back(static_cast<std::size_t>(row));
  return rows;
}

void Win32LocalListView::selectAll() {
  ListView_SetItemState(list_, -1, LVIS_SELECTED, LVIS_SELECTED);
  SetFocus(list_);
}

void Win32LocalListView::editLabel(std::size_t row) {
  SetFocus(list_);
  ListView_EnsureVisible(list_, static_cast<int>(row), FALSE);
  ListView_EditLabel(list_, static_cast<int>(row));
}

void Win32LocalListView::setCaption(const std::string& text) {
  frame_.setCaption(text);
}

void Win32LocalListView::setBusy(bool busy) {
  if (busy) {
    SetCapture(list_);
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return;
  }
  if (GetCapture() == list_) ReleaseCapture();
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

LocalMenuChoice Win32LocalListView::trackMenu(const std::vector<std::size_t>& rows) {
  IShellFolder* folder = nullptr;
  std::vector<LPCITEMIDLIST> children;
  for (std::size_t row : rows) {
    const LocalEntry* entry = presenter_.entry(row);
    if (entry == nullptr) continue;
    const Win32LocalItem& item = win32Item(*entry->item);
    if (item.relative() == nullptr) continue;
    folder = item.parent();
    children.push_back(item.relative());
  }
  POINT at{};
  GetCursorPos(&at);
  return menu_.track(list_, folder, children, at);
}

void Win32LocalListView::runMenuCommand(const LocalMenuChoice& choice) {
  menu_.run(list_, choice);
}

void Win32LocalListView::place(const PaneRect& rect) {
  frame_.place(list_, rect);
}

void Win32LocalListView::setVisible(bool visible) {
  frame_.setVisible(list_, visible);
}

void Win32LocalListView::fillDisplayInfo(LVITEMW& item) {
  const LocalEntry* entry = presenter_.entry(static_cast<std::size_t>(item.iItem));
  if (entry == nullptr) return;
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0)
    lstrcpynW(item.pszText, widen(presenter_.cellText(item.iItem, item.iSubItem)).c_str(),
              item.cchTextMax);
  if ((item.mask & LVIF_IMAGE) != 0 && item.iSubItem == 0) {
    item.iImage = Win32LocalShell::iconOf(*entry->item, false);
    item.mask |= LVIF_STATE;
    item.stateMask = LVIS_OVERLAYMASK | LVIS_CUT;
    item.state = 0;
    if ((entry->attributes & local_attr::kShare) != 0) {
      item.state |= INDEXTOOVERLAYMASK(1);
    } else if ((entry->attributes & local_attr::kLink) != 0) {
      item.state |= INDEXTOOVERLAYMASK(2);
    }
    if ((entry->attributes & local_attr::kGhosted) != 0) item.state |= LVIS_CUT;
  }
}

bool Win32LocalListView::onControlNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      fillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
      return true;
    case NM_DBLCLK: {
      const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (row >= 0) presenter_.doubleClick(static_cast<std::size_t>(row));
      return true;
    }
    case NM_RCLICK:
      presenter_.rightClick();
      result = 1;
      return true;
    case LVN_COLUMNCLICK:
      presenter_.columnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_ENDLABELEDITW: {
      const auto* edit = reinterpret_cast<NMLVDISPINFOW*>(header);
      std::optional<std::string> text;
      if (edit->item.pszText != nullptr) text = narrow(edit->item.pszText);
      if (edit->item.iItem >= 0)
        presenter_.endLabelEdit(static_cast<std::size_t>(edit->item.iItem), text);
      result = FALSE;  // the row shows what the presenter keeps
      return true;
    }
    case LVN_BEGINDRAG:
      beginDrag(*reinterpret_cast<NMLISTVIEW*>(header));
      return true;
    default:
      return false;
  }
}

void Win32LocalListView::beginDrag(const NMLISTVIEW& info) {
  POINT origin{};
  HIMAGELIST image = selectedRowsImage(list_, origin);
  POINT screen = info.ptAction;
  ClientToScreen(list_, &screen);
  drag_.begin(list_, GetAncestor(list_, GA_ROOT), image,
              {info.ptAction.x - origin.x, info.ptAction.y - origin.y}, screen);
}

void Win32LocalListView::drop(POINT screen) {
  drag_.end();
  presenter_.dropForUpload(isTransferWindowAt(TransferKind::Upload, screen),
                           isStrictlyInsideControl(screen, kWebListControl));
}

LRESULT Win32LocalListView::controlMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                           bool& handled) {
  LRESULT result = 0;
  handled = menu_.handleMessage(message, wParam, lParam, result);
  if (handled) return result;
  if (message == WM_SETCURSOR && GetCapture() == list_ && !drag_.active()) {
    // While the list fills, the wait cursor stays.
    handled = true;
    return TRUE;
  }
  if (const std::optional<LocalKey> key = localKeyOf(message, wParam)) {
    presenter_.key(*key);
    handled = true;
    return 0;
  }
  drag_.follow(message, lParam, [this](POINT at) { drop(at); });
  return 0;
}

}  // namespace pom
