// WebPageWindow: the notice page in the main window's right pane (mode 0): a
// group-box frame and a child window of class "PomvaleWebPage" that hosts
// the system web-browser control in place, navigated once to the notice page
// with the member id.
//
// When the browser cannot be embedded (no browser engine, as under Wine
// without one) the page window is not created: the pane then shows only its
// frame, and everything else works on. Owned by the main window view; GUI
// thread only.
#pragma once

#include <windows.h>

#include <string>

#include "core/mainwindow/main_window_view.h"
#include "win32/web_page_layout.h"

namespace pom {

class WebPageWindow final : public MainPane {
 public:
  WebPageWindow() = default;
  ~WebPageWindow() override;
  WebPageWindow(const WebPageWindow&) = delete;
  WebPageWindow& operator=(const WebPageWindow&) = delete;

  // Builds frame and page inside parent and navigates to url (CP949); false
  // when OLE is not available. Both start hidden.
  bool create(HINSTANCE instance, HWND parent, const std::string& url);
  bool hasPage() const { return page_ != nullptr; }

  void setVisible(bool visible) override;
  void grow(int dw, int dh) override;
  void moveToSplit(int x, int y) override;

  const WebPageLayout& layout() const { return layout_; }

 private:
  void place();
  static LRESULT CALLBACK pageProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  WebPageLayout layout_;
  HWND frame_ = nullptr;
  HWND page_ = nullptr;
};

}  // namespace pom
