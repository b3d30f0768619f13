// Win32MainWindowView: the main layout on the top window. Creates the
// search bar, the group frames and (once their subsystems exist) the pane
// views; sizes, centres and redraws the window; sets the splitter cursors;
// composes the status panel off screen.
//
// Also the main window's command handler of the fan-out: the window's own
// mouse messages and dropped files go to the presenter, with the position
// taken from the cursor. The search edit is subclassed so Enter runs the
// search. GUI thread only; lives as long as the top window.
#pragma once

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "core/app/client_app.h"
#include "core/mainwindow/main_window_view.h"
#include "win32/web_page_window.h"

namespace pom {

class TopWindow;

inline constexpr int kSearchRadioId = 3506;
inline constexpr int kSearchEditId = 3505;

class Win32MainWindowView final : public MainWindowView, public WindowMessageSink {
 public:
  explicit Win32MainWindowView(TopWindow& top);

  SkinPainter* painter() override;
  void setWindowVisible(bool visible) override;
  void createSearchBar() override;
  void createFrames() override;
  void acceptDroppedFiles() override;
  void createPaneViews() override;
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

  void onWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

  HWND searchEdit() const { return searchEdit_; }

 private:
  static LRESULT CALLBACK searchEditFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data);
  HWND createChild(const wchar_t* className, const std::string& text, DWORD style, int x, int y,
                   int width, int height, int id);
  void filesDropped(HDROP drop);

  TopWindow& top_;
  WebPageWindow webPage_;
  HWND naturalRadio_ = nullptr;
  HWND normalRadio_ = nullptr;
  HWND searchEdit_ = nullptr;
  HWND bottomFrame_ = nullptr;
};

}  // namespace pom
