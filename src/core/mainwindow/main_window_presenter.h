// MainWindowPresenter: the rules of the main window.
//
// Holds the 13 command buttons, the background images, the advertisement
// line, the splitters, the right-pane mode, the notice page's pane and the
// download folder; builds the layout once at login, resizes, runs the
// commands, draws the status panel and asks before the program ends. What
// the commands do in other subsystems goes through their links (a command
// cannot be left unwired); the pane views of other modules are handed over
// with setPane.
//
// Owned by the main-window module; the view, ports and links must outlive
// it. Loop thread only. Coordinates are client pixels unless named "outer"
// or "screen".
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/hub/main_window_link.h"
#include "core/mainwindow/main_window_view.h"
#include "core/mainwindow/splitters.h"
#include "core/mainwindow/web_page_layout.h"
#include "core/ui/skin_button.h"
#include "core/ui/skin_image.h"
#include "core/ui/skin_link_label.h"

namespace pom {

class ConfigStore;
class Dialogs;
class DownloadLink;
class FileSystem;
class LocalBrowserLink;
class SearchLink;
class Servers;
class SessionLink;
class Shell;
class StorageLink;
class UploadLink;

inline constexpr int kMainButtonCount = 13;
inline constexpr int kMainImageCount = 13;
inline constexpr int kMainClientWidth = 880;
inline constexpr int kMainClientHeight = 706;
inline constexpr int kMainMinOuterWidth = 888;
inline constexpr int kMainMinOuterHeight = 740;
inline constexpr int kStatusPanelImage = 1;

enum class MainButton {
  Download = 0,
  Upload,
  Settings,
  HomePage,
  ClubSite,
  FileBoxSite,
  HelpDesk,
  Payment,
  Search,
  MemoList,
  OpenDownloadFolder,
  ChooseDownloadFolder,
  End,
};

class MainWindowPresenter {
 public:
  struct Deps {
    MainWindowView* view = nullptr;
    ConfigStore* config = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    FileSystem* files = nullptr;
    const Servers* servers = nullptr;
    // The other subsystems; all must be set.
    SessionLink* session = nullptr;
    StorageLink* storage = nullptr;
    SearchLink* search = nullptr;
    UploadLink* uploads = nullptr;
    DownloadLink* downloads = nullptr;
    LocalBrowserLink* local = nullptr;
  };

  explicit MainWindowPresenter(Deps deps);

  // The view arrives once the front end has created the window.
  void attachView(MainWindowView* view) { deps_.view = view; }

  void setPane(PaneId id, MainPane* pane) { panes_[static_cast<int>(id)] = pane; }

  // Start-up, before any login: splitter geometry, controls unloaded.
  void prepare();
  // Once, when the login is accepted.
  void buildLayout();
  bool layoutBuilt() const { return built_; }

  void setRightPaneMode(RightPaneMode mode);
  RightPaneMode rightPaneMode() const { return mode_; }

  // Client area w x h after a size change (once the layout is built).
  void onResize(int clientWidth, int clientHeight);

  // Splitter tracker: every mouse move, left-button down and up of any window
  // of the program, in this window's client coordinates.
  void trackMouseMove(int x, int y);
  void trackLeftDown(int x, int y);
  void trackLeftUp(int x, int y);

  // Command handler: the window's own mouse messages.
  void onMouseMove(int x, int y);
  void onLeftDown(int x, int y);
  void onLeftUp(int x, int y);
  void onFilesDropped(const std::vector<std::string>& paths);
  // Enter in the search edit.
  void onSearchEnter();
  void onEscape();
  // The close command: true when the member agreed to end the program.
  bool confirmClose();

  void paint();

  // The download folder: empty or not an existing directory becomes
  // "c:\PomDownLoad\", created with its parents.
  void ensureDownloadFolder(const std::string& path);
  const std::string& downloadFolder() const { return downloadFolder_; }

  void setAdLine(const std::string& text, const std::string& link);

  const SkinButton& button(int index) const { return buttons_[index]; }
  const SkinImage& image(int index) const { return images_[index]; }
  const SkinLinkLabel& adLine() const { return adLine_; }
  const Splitters& splitters() const { return splitters_; }
  int lastWidth() const { return lastWidth_; }
  int lastHeight() const { return lastHeight_; }
  const WebPagePane& webPage() const { return webPage_; }

 private:
  void runButton(MainButton button);
  void openPage(const std::string& url);
  void chooseDownloadFolder();
  void forEachPane(const std::function<void(MainPane&)>& action);

  Deps deps_;
  WebPagePane webPage_;
  std::array<MainPane*, static_cast<int>(PaneId::Count)> panes_{};
  std::array<SkinButton, kMainButtonCount> buttons_;
  std::array<SkinImage, kMainImageCount> images_;
  SkinLinkLabel adLine_;
  Splitters splitters_;
  RightPaneMode mode_ = RightPaneMode::NoticePage;
  std::string downloadFolder_;
  int lastWidth_ = kMainClientWidth;
  int lastHeight_ = kMainClientHeight;
  bool built_ = false;
};

}  // namespace pom
