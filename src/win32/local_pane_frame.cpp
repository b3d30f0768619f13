#include "win32/local_pane_frame.h"

#include "platform/win32/wide_text.h"

namespace pom {

HWND localChild(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
                DWORD style, int id) {
  return CreateWindowExW(0, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

LocalPaneFrame::LocalPaneFrame(TopWindow& top, const std::string& caption, int headerBitmap) {
  HWND parent = top.handle();
  HINSTANCE instance = top.instance();
  const std::wstring text = widen(caption);
  if (headerBitmap != 0) {
    header_ = localChild(parent, instance, L"STATIC", L"", SS_BITMAP, -1);
    headerBitmap_ = LoadBitmapW(instance, MAKEINTRESOURCEW(headerBitmap));
    SendMessageW(header_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(headerBitmap_));
    caption_ = localChild(header_, instance, L"STATIC", text.c_str(), WS_VISIBLE | SS_NOPREFIX, -1);
    headerControl_.attachTo(header_);
  } else {
    caption_ = localChild(parent, instance, L"STATIC", text.c_str(), SS_NOPREFIX, -1);
  }
  SendMessageW(caption_, WM_SETFONT, reinterpret_cast<WPARAM>(top.painter().font(SkinFont::Bold)),
               FALSE);
  for (HWND& frame : frames_) frame = localChild(parent, instance, L"BUTTON", L"", BS_GROUPBOX, -1);
}

LocalPaneFrame::~LocalPaneFrame() {
  if (headerBitmap_ != nullptr) DeleteObject(headerBitmap_);
}

void LocalPaneFrame::setCaption(const std::string& text) {
  SetWindowTextW(caption_, widen(text).c_str());
  // Drawn without background: the bitmap under it is repainted first.
  RedrawWindow(header_ != nullptr ? header_ : caption_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void LocalPaneFrame::place(HWND control, const PaneRect& r) {
  if (header_ != nullptr) {
    MoveWindow(header_, r.x, r.y - 23, r.width, 22, TRUE);
    MoveWindow(caption_, 5, 5, r.width - 10, 16, TRUE);
  } else {
    MoveWindow(caption_, r.x + 2, r.y - 18, r.width - 10, 16, TRUE);
  }
  MoveWindow(frames_[0], r.x - 2, r.y - 33, r.width + 4, 34, TRUE);
  MoveWindow(frames_[1], r.x - 2, r.y - 33, r.width + 4, r.height + 35, TRUE);
  MoveWindow(control, r.x, r.y, r.width, r.height, TRUE);
}

void LocalPaneFrame::setVisible(HWND control, bool visible) {
  const int show = visible ? SW_SHOW : SW_HIDE;
  for (HWND window : {header_ != nullptr ? header_ : caption_, frames_[0], frames_[1], control})
    ShowWindow(window, show);
}

LRESULT LocalPaneFrame::Header::onMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  handled = message == WM_CTLCOLORSTATIC;
  if (!handled) return 0;
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

}  // namespace pom
