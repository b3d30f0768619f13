// Win32MainWindowView: the main layout on the top window, split by concern:
// main_window.cpp creates the search bar, the group frames and the notice
// page, sizes, centres and redraws the window, sets the splitter cursors and
// composes the status panel off screen; main_window_input.cpp takes the
// input: the window's own mouse messages and dropped files (it is the main
// window's command handler in the fan-out), Enter in the search edit, and the
// splitter tracker and Escape that the message loop hands it for every
// message of the program.
//
// It also answers the top window's questions about the layout (minimum size,
// resize, the close question). GUI thread only; lives as long as the top
// window.
#pragma once

#include <windows.h>

#include "core/hub/fan_out.h"
#include "core/mainwindow/main_window_presenter.h"
#include "core/mainwindow/main_window_view.h"
#include "win32/search_list_views.h"
#include "win32/top_window.h"
#include "win32/web_page_window.h"
#include "win32/window.h"

namespace pom {

// The two radios need ids of their own: one id for both would let a lookup
// by id find only the first, and which kind is chosen could not be read.
inline constexpr int kNaturalRadioId = 3506;
inline constexpr int kNormalRadioId = 3507;
inline constexpr int kSearchEditId = 3505;

class Win32MainWindowView final : public MainWindowView,
                                  public WindowMessageSink,
                                  public TopWindowLayout {
 public:
  Win32MainWindowView(TopWindow& top, MainWindowPresenter& presenter, WindowMessageFanOut& fanOut);
  ~Win32MainWindowView() override;

  SkinPainter* painter() override;
  void setWindowVisible(bool visible) override;
  void createSearchBar() override;
  void createFrames() override;
  void acceptDroppedFiles() override;
  void prepareControls() override;
  WebPageView* createWebPage(const std::string& url) override;
  SkinSize outerSizeForClient(int clientWidth, int clientHeight) override;
  void centerOnScreen(int outerWidth, int outerHeight) override;
  void moveBottomFrame(int x, int y, int width, int height) override;
  void resizeWindow(int outerWidth, int outerHeight) override;
  void redrawAfterResize(int clientHeight) override;
  void setCursor(CursorShape shape) override;
  void repaintAll() override;
  void requestClose() override;
  ScreenPoint screenPosition() override;
  void paintStatusPanel(int resourceId, int x, int y, const std::string& pointsText,
                        const std::string& connectionText) override;

  // The command handler of the fan-out.
  void onWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  // Every message of the program before it is dispatched (the splitter
  // tracker, Escape in the window or any of its controls).
  void preTranslate(const MSG& message);

  // TopWindowLayout
  bool layoutBuilt() const override { return presenter_.layoutBuilt(); }
  void clientResized(int width, int height) override { presenter_.onResize(width, height); }
  bool confirmClose() override { return presenter_.confirmClose(); }

  HWND searchEdit() const { return searchEdit_; }
  // What the search reads and sets in the search bar.
  SearchBarView& searchBar() { return searchBar_; }

 private:
  // Enter in the search edit runs the search.
  class SearchEditKeys final : public Window {
   public:
    explicit SearchEditKeys(MainWindowPresenter& presenter) : presenter_(presenter) {}

   protected:
    bool onKeyDown(UINT key, LPARAM flags) override;
    bool onChar(wchar_t character, LPARAM flags) override;

   private:
    MainWindowPresenter& presenter_;
  };

  HWND createChild(const wchar_t* className, const std::string& text, DWORD style, int x, int y,
                   int width, int height, int id);
  void filesDropped(HDROP drop);

  TopWindow& top_;
  MainWindowPresenter& presenter_;
  WindowMessageFanOut& fanOut_;
  SearchEditKeys searchKeys_;
  Win32SearchBarView searchBar_;
  WebPageWindow webPage_;
  HWND naturalRadio_ = nullptr;
  HWND normalRadio_ = nullptr;
  HWND searchEdit_ = nullptr;
  HWND bottomFrame_ = nullptr;
};

}  // namespace pom
