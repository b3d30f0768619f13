// LocalPaneFrame: what surrounds a local pane's control on the main window:
// the caption above it (on the header bitmap for the list, plain for the
// tree) and the two group frames, as the web panes have them. GUI thread
// only; the controls are children of the top window and go with it.
#pragma once

#include <windows.h>

#include <string>

#include "core/ui/view_types.h"
#include "win32/top_window.h"
#include "win32/window.h"

namespace pom {

// A subclassed control whose messages go to a member of its view first.
template <typename Owner>
class ForwardingControl final : public Window {
 public:
  using Handler = LRESULT (Owner::*)(UINT, WPARAM, LPARAM, bool&);
  ForwardingControl(Owner& owner, Handler handler) : owner_(owner), handler_(handler) {}

 protected:
  LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    return (owner_.*handler_)(message, wParam, lParam, handled);
  }

 private:
  Owner& owner_;
  Handler handler_;
};

HWND localChild(HWND parent, HINSTANCE instance, const wchar_t* className, const wchar_t* text,
                DWORD style, int id);

class LocalPaneFrame {
 public:
  // headerBitmap 0: a plain caption.
  LocalPaneFrame(TopWindow& top, const std::string& caption, int headerBitmap);
  ~LocalPaneFrame();
  LocalPaneFrame(const LocalPaneFrame&) = delete;
  LocalPaneFrame& operator=(const LocalPaneFrame&) = delete;

  void setCaption(const std::string& text);
  // The control's rectangle; the frame and caption go around and above it.
  void place(HWND control, const PaneRect& r);
  void setVisible(HWND control, bool visible);

 private:
  // The header bitmap, parent of the caption: the text is drawn straight
  // onto the bitmap.
  class Header final : public Window {
   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  };

  HWND header_ = nullptr;
  HWND caption_ = nullptr;
  HWND frames_[2] = {};
  HBITMAP headerBitmap_ = nullptr;
  Header headerControl_;
};

}  // namespace pom
