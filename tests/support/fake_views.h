// Recording fakes of the view interfaces of the application shell: a painter
// with a table of bitmap sizes, the login and main window views, a pane, and
// the two small dialogs. Each records what the presenter asked of it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/mainwindow/main_window_view.h"
#include "core/mainwindow/web_page_layout.h"
#include "core/session/login_view.h"
#include "core/storage/progress_dialog.h"
#include "core/storage/term_extension_dialog.h"
#include "core/ui/skin_painter.h"

namespace pom {

class FakePainter : public SkinPainter {
 public:
  // Known bitmaps; any other resource is 40 x 20 unless missingIsError.
  std::map<int, SkinSize> sizes;
  bool missingIsError = false;
  bool valid = true;
  SkinSize textExtent{50, 12};
  std::vector<std::string> ops;  // "copy 115 frame@60,0 20x20 at 210,97", "text ...", ...
  int arrowCursors = 0;

  bool bitmapSize(int resourceId, SkinSize& size) override;
  bool windowValid() override { return valid; }
  void copyBitmap(int resourceId, int srcX, int srcY, int width, int height, int x, int y) override;
  void stretchBitmap(int resourceId, int x, int y, int width, int height) override;
  void setArrowCursor() override { ++arrowCursors; }
  SkinSize drawText(const std::string& text, int x, int y, SkinFont font, SkinColor color) override;
};

class FakeLoginView : public LoginView {
 public:
  FakePainter paint;
  std::string id, password, title;
  bool save = false;
  bool controlsVisible = true;
  std::string focus;  // "id" or "password"
  int redraws = 0;
  bool shown = false;
  bool destroyed = false;

  SkinPainter* painter() override { return &paint; }
  std::string idText() override { return id; }
  std::string passwordText() override { return password; }
  bool saveChecked() override { return save; }
  void setIdText(const std::string& text) override { id = text; }
  void setPasswordText(const std::string& text) override { password = text; }
  void setSaveChecked(bool checked) override { save = checked; }
  void setTitle(const std::string& text) override { title = text; }
  void focusIdEdit() override { focus = "id"; }
  void focusPasswordEdit() override { focus = "password"; }
  void setControlsVisible(bool visible) override { controlsVisible = visible; }
  void redraw() override { ++redraws; }
  void showWindow() override { shown = true; }
  void destroyWindow() override { destroyed = true; }
};

class FakeWebPageView : public WebPageView {
 public:
  PaneRect frame, page;
  bool visible = false;
  void place(const PaneRect& f, const PaneRect& p) override {
    frame = f;
    page = p;
  }
  void setVisible(bool v) override { visible = v; }
};

class FakeMainWindowView : public MainWindowView {
 public:
  FakePainter paint;
  FakeWebPageView webPage;
  std::vector<std::string> calls;
  bool visible = true;
  CursorShape cursor = CursorShape::Arrow;
  int closeRequests = 0;
  int repaints = 0;
  ScreenPoint position{100, 50};
  SkinSize frame{8, 34};  // outer minus client
  SkinSize resized;
  std::string pointsText, connectionText;

  SkinPainter* painter() override { return &paint; }
  void setWindowVisible(bool v) override { visible = v; }
  void createSearchBar() override { calls.push_back("searchBar"); }
  void createFrames() override { calls.push_back("frames"); }
  void acceptDroppedFiles() override { calls.push_back("dropFiles"); }
  void prepareControls() override { calls.push_back("controls"); }
  WebPageView* createWebPage(const std::string& url) override {
    calls.push_back("webPage " + url);
    return &webPage;
  }
  SkinSize outerSizeForClient(int w, int h) override { return {w + frame.width, h + frame.height}; }
  void centerOnScreen(int w, int h) override {
    calls.push_back("center " + std::to_string(w) + "x" + std::to_string(h));
  }
  void moveBottomFrame(int x, int y, int w, int h) override {
    calls.push_back("bottomFrame " + std::to_string(x) + "," + std::to_string(y) + " " +
                    std::to_string(w) + "x" + std::to_string(h));
  }
  void resizeWindow(int w, int h) override { resized = {w, h}; }
  void redrawAfterResize(int) override {}
  void setCursor(CursorShape shape) override { cursor = shape; }
  void repaintAll() override { ++repaints; }
  void requestClose() override { ++closeRequests; }
  ScreenPoint screenPosition() override { return position; }
  void paintStatusPanel(int resourceId, int x, int y, const std::string& points,
                        const std::string& connection) override;
};

class FakePane : public MainPane {
 public:
  bool visible = false;
  int grownW = 0, grownH = 0;
  std::vector<std::pair<int, int>> splits;
  int dragsFinished = 0;
  std::vector<std::string>* order = nullptr;  // shared log of finishItemDrag calls
  std::string name;

  void setVisible(bool v) override { visible = v; }
  void grow(int dw, int dh) override {
    grownW += dw;
    grownH += dh;
  }
  void moveToSplit(int x, int y) override { splits.emplace_back(x, y); }
  void finishItemDrag() override {
    ++dragsFinished;
    if (order != nullptr) order->push_back(name);
  }
};

class FakeProgressView : public ProgressDialogView {
 public:
  bool open = false;
  int creates = 0;
  std::string title, label;
  bool exists() override { return open; }
  void create() override {
    open = true;
    ++creates;
    label = "목록을 불러오는 중 입니다.";
  }
  void setTitle(const std::string& t) override { title = t; }
  void setLabel(const std::string& t) override { label = t; }
  void showAndFocus() override {}
  void destroy() override { open = false; }
};

class FakeTermView : public TermExtensionDialogView {
 public:
  TermExtensionDialog* dialog = nullptr;  // gets onInitDialog during create
  bool open = false;
  std::string title;
  std::map<int, std::string> labels;
  bool exists() override { return open; }
  void create() override {
    open = true;
    if (dialog != nullptr) dialog->onInitDialog();
  }
  void setTitle(const std::string& t) override { title = t; }
  void setLabel(int id, const std::string& t) override { labels[id] = t; }
  void showAndFocus() override {}
  void destroy() override { open = false; }
};

}  // namespace pom
