// The transfer window's input: the skinned buttons (the window's own mouse
// messages and those the list forwards), keys on the list and the window,
// the list's context menu, the drag of selected rows, the combo box, the
// check boxes, the close box and dropped files. Everything goes to the
// presenter; nothing here changes the queue.
#include "win32/transfer_window.h"

#include <windowsx.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

bool ctrlHeld() {
  return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

// The Ctrl keys of the list and the window.
std::optional<TransferAction> ctrlKeyAction(TransferKind kind, UINT key, bool running) {
  switch (key) {
    case 'A':
      return TransferAction::SelectAll;
    case 'C':
      return TransferAction::ToggleCancel;
    case 'V':
      return TransferAction::RemoveCompleted;
    case 'S':
      // The download list stops the selected job; the upload list starts,
      // or asks to stop everything while running.
      if (kind == TransferKind::Download) return TransferAction::StopSelected;
      return running ? TransferAction::Stop : TransferAction::Start;
    default:
      return std::nullopt;
  }
}

std::optional<TransferAction> listKeyAction(UINT key) {
  switch (key) {
    case VK_HOME:
      return TransferAction::MoveTop;
    case VK_END:
      return TransferAction::MoveEnd;
    case VK_LEFT:
      return TransferAction::MoveUp;
    case VK_RIGHT:
      return TransferAction::MoveDown;
    case VK_DELETE:
      return TransferAction::DeleteSelected;
    default:
      return std::nullopt;
  }
}

bool validMenuCommand(TransferKind kind, int chosen) {
  switch (static_cast<TransferMenuCommand>(chosen)) {
    case TransferMenuCommand::Play:
      return kind == TransferKind::Download;
    case TransferMenuCommand::Top:
    case TransferMenuCommand::End:
    case TransferMenuCommand::SelectAll:
    case TransferMenuCommand::DeleteSelected:
    case TransferMenuCommand::RemoveCompleted:
    case TransferMenuCommand::ToggleCancel:
      return true;
    default:
      return false;
  }
}

}  // namespace

void Win32TransferWindowView::fireAction(TransferAction action) {
  input_.onAction(action);
}

// --- skinned buttons -------------------------------------------------------

void Win32TransferWindowView::trackPointerLeave() {
  if (pointerTracked_ || !isOpen()) return;
  TRACKMOUSEEVENT track{};
  track.cbSize = sizeof track;
  track.dwFlags = TME_LEAVE;
  track.hwndTrack = handle();
  pointerTracked_ = TrackMouseEvent(&track) != FALSE;
}

void Win32TransferWindowView::pointerMoved(int x, int y) {
  for (SkinButton& button : buttons_) button.hoverTest(x, y);
}

void Win32TransferWindowView::pointerReleased(int x, int y) {
  std::optional<TransferAction> clicked;
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].clickTest(x, y) && !clicked) clicked = layout_.buttons[i].action;
  // Last: the presenter may open a dialog, or close this window.
  if (clicked) fireAction(*clicked);
}

bool Win32TransferWindowView::onMouseMove(const MousePoint& at) {
  trackPointerLeave();
  pointerMoved(at.x, at.y);
  return true;
}

bool Win32TransferWindowView::onLeftDown(const MousePoint& at) {
  for (SkinButton& button : buttons_) button.pressTest(at.x, at.y);
  return true;
}

bool Win32TransferWindowView::onLeftUp(const MousePoint& at) {
  pointerReleased(at.x, at.y);
  return true;
}

// --- keys ------------------------------------------------------------------

bool Win32TransferWindowView::listKey(UINT key) {
  if (key == VK_ESCAPE) {
    if (drag_.active()) {
      endDrag();
    } else {
      input_.onCloseRequested();
    }
    return true;
  }
  std::optional<TransferAction> action =
      ctrlHeld() ? ctrlKeyAction(kind_, key, running_) : listKeyAction(key);
  if (!action) action = listKeyAction(key);  // Ctrl+Home is Home
  if (!action) return false;
  fireAction(*action);
  return true;
}

bool Win32TransferWindowView::windowKey(UINT key) {
  if (key == VK_ESCAPE) {
    input_.onCloseRequested();
    return true;
  }
  if (!ctrlHeld()) return false;
  const std::optional<TransferAction> action = ctrlKeyAction(kind_, key, running_);
  if (!action) return false;
  fireAction(*action);
  return true;
}

bool Win32TransferWindowView::onKeyDown(UINT key, LPARAM) {
  return windowKey(key);
}

// --- menu ------------------------------------------------------------------

TransferMenuCommand Win32TransferWindowView::trackMenu() {
  if (!isOpen()) return TransferMenuCommand::None;
  HMENU loaded = LoadMenuW(instance_, MAKEINTRESOURCEW(layout_.menuId));
  if (loaded == nullptr) return TransferMenuCommand::None;
  POINT at{};
  GetCursorPos(&at);
  // The menu closes on a click elsewhere only when its owner is in front.
  SetForegroundWindow(handle());
  const int chosen = TrackPopupMenu(GetSubMenu(loaded, 0),
                                    TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
                                    at.x, at.y, 0, handle(), nullptr);
  DestroyMenu(loaded);
  PostMessageW(handle(), WM_NULL, 0, 0);
  return validMenuCommand(kind_, chosen) ? static_cast<TransferMenuCommand>(chosen)
                                         : TransferMenuCommand::None;
}

void Win32TransferWindowView::showMenuAtCursor() {
  const TransferMenuCommand chosen = trackMenu();
  if (chosen != TransferMenuCommand::None) input_.onMenuCommand(chosen);
}

// --- controls, close, drops ------------------------------------------------

bool Win32TransferWindowView::onCommand(int id, int code, HWND control) {
  if (control != nullptr && control == combo_ && code == CBN_SELCHANGE) {
    const LRESULT entry = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
    if (entry != CB_ERR) input_.onConcurrencyChosen(static_cast<int>(entry));
    return true;
  }
  for (int i = 0; i < 2; ++i) {
    if (control == nullptr || control != checks_[i] || code != BN_CLICKED) continue;
    const bool checked = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    checked_[i] = checked;
    input_.onCheckBox(static_cast<TransferCheckBox>(id), checked);
    return true;
  }
  return false;
}

bool Win32TransferWindowView::onClose() {
  // The presenter asks and destroys the window itself (close()).
  input_.onCloseRequested();
  return true;
}

bool Win32TransferWindowView::onDropFiles(HDROP drop) {
  const std::vector<std::string> paths = droppedPaths(drop);
  if (!paths.empty()) input_.onFilesDropped(paths);
  return true;
}

// --- drag of rows ----------------------------------------------------------

RECT Win32TransferWindowView::dragBoundsRect() const {
  HWND bounds = dragBounds_ ? dragBounds_() : nullptr;
  // A minimised or hidden main window has no rectangle to stay in: the
  // drag would end at once. This window's own is used instead.
  if (bounds == nullptr || !IsWindow(bounds) || !IsWindowVisible(bounds) || IsIconic(bounds))
    bounds = handle();
  RECT r{};
  GetWindowRect(bounds, &r);
  return r;
}

// The drag image: the images of the selected rows in view, merged, drawn
// over the list (the rows move only inside it).
void Win32TransferWindowView::beginDrag(const NMLISTVIEW& info) {
  POINT origin{};
  HIMAGELIST image = selectedRowsImage(list_, origin);
  POINT screen = info.ptAction;
  ClientToScreen(list_, &screen);
  const POINT hotspot{info.ptAction.x - origin.x, info.ptAction.y - origin.y};
  drag_.begin(list_, list_, image, hotspot, screen);
}

void Win32TransferWindowView::dragMoved(POINT screen) {
  const RECT bounds = dragBoundsRect();
  if (!PtInRect(&bounds, screen)) {
    endDrag();  // left the rectangle: no move
    return;
  }
  drag_.move(screen);
}

void Win32TransferWindowView::dropRows(POINT screen) {
  LVHITTESTINFO hit{};
  hit.pt = screen;
  ScreenToClient(list_, &hit.pt);
  const int target = ListView_HitTest(list_, &hit);
  endDrag();
  if (target >= 0) input_.onRowsDragged(target);
}

void Win32TransferWindowView::endDrag() {
  drag_.end();
}

// --- the list control --------------------------------------------------------

LRESULT Win32TransferWindowView::ListControl::onMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                                        bool& handled) {
  handled = false;
  Win32TransferWindowView& view = owner_;
  switch (message) {
    case WM_KEYDOWN:
      handled = view.listKey(static_cast<UINT>(wParam));
      return 0;
    case WM_CHAR:
      // Ctrl+A and its kin arrive as control characters; the list would
      // search for them and beep.
      handled = static_cast<wchar_t>(wParam) < L' ';
      return 0;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
      POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (view.drag_.active()) {
        ClientToScreen(handle(), &at);
        if (message == WM_MOUSEMOVE) {
          view.dragMoved(at);
        } else {
          view.dropRows(at);
        }
        handled = true;
        return 0;
      }
      // The skinned buttons follow the pointer over the list too.
      MapWindowPoints(handle(), view.handle(), &at, 1);
      if (message == WM_MOUSEMOVE) {
        view.pointerMoved(at.x, at.y);
      } else {
        view.pointerReleased(at.x, at.y);
      }
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (view.drag_.active() && reinterpret_cast<HWND>(lParam) != handle()) view.endDrag();
      return 0;
    default:
      return 0;
  }
}

}  // namespace pom
