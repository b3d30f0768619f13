// WebPageWindow: the notice page in the main window's right pane (mode 0): a
// group-box frame and a child window of class "PomvaleWebPage" that hosts
// the system web-browser control in place, navigated once to the notice page
// with the member id. The pane (core WebPagePane) decides where both go.
//
// When the browser cannot be embedded (no browser engine, as under Wine
// without one) the page window is not created: the pane then shows only its
// frame, and everything else works on. Owned by the main window view; GUI
// thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/mainwindow/web_page_layout.h"
#include "win32/browser_host.h"
#include "win32/window.h"

namespace pom {

class WebPageWindow final : public WebPageView {
 public:
  WebPageWindow() = default;
  ~WebPageWindow() override;
  WebPageWindow(const WebPageWindow&) = delete;
  WebPageWindow& operator=(const WebPageWindow&) = delete;

  // Builds frame and page (hidden) inside parent and navigates to url (CP949).
  void create(HINSTANCE instance, HWND parent, const std::string& url);
  bool hasPage() const { return page_.handle() != nullptr; }

  void place(const PaneRect& frame, const PaneRect& page) override;
  void setVisible(bool visible) override;

 private:
  // The page window: embeds the browser control when created, resizes it
  // with itself, releases it when destroyed.
  class Page final : public Window {
   public:
    ~Page() override;
    void navigate(const std::string& url);

   protected:
    bool onCreate() override;
    void onSize(int width, int height) override;
    void onDestroy() override;

   private:
    std::unique_ptr<BrowserHost> host_;
  };

  HWND frame_ = nullptr;
  Page page_;
};

}  // namespace pom
