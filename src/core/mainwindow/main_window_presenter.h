// MainWindowPresenter: the rules of the main window.
//
// Holds the 13 command buttons, the background images, the advertisement
// line, the splitters, the right-pane mode, listingPending and the download
// folder; builds the layout once at login, resizes, runs the commands, draws
// the status panel and asks before the program ends. The pane views (trees,
// lists, the web page) and the actions that belong to later subsystems are
// plugged in through setPane and Hooks; whatever is missing is skipped.
//
// Owned by ClientApp; the view, ports and hooks must outlive it. Loop thread
// only. Coordinates are client pixels unless named "outer" or "screen".
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/mainwindow/main_window_view.h"
#include "core/ui/skin_button.h"
#include "core/ui/skin_image.h"
#include "core/ui/skin_link_label.h"
#include "core/mainwindow/splitters.h"

namespace pom {

class ConfigStore;
class Dialogs;
class FileSystem;
class SessionState;
class Shell;

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
  // Actions owned by other subsystems; unset ones do nothing (a "has" query
  // unset answers false).
  struct Hooks {
    std::function<bool()> ownListHasSelection;
    std::function<bool()> localListHasSelection;
    std::function<void()> downloadSelected;  // own, folder and search lists queue theirs
    std::function<void()> uploadSelected;    // opens the upload window, local list queues
    std::function<void()> openSettings;
    std::function<void()> runSearch;
    std::function<void(const std::string&)> pointLocalTreeAt;
    std::function<bool()> uploadsPending;
    std::function<bool()> downloadsPending;
    // A dropped regular file of non-zero size, to be queued for upload into
    // the own list's current folder.
    std::function<void(const std::string&)> uploadDroppedFile;
  };

  struct Deps {
    MainWindowView* view = nullptr;
    ConfigStore* config = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    FileSystem* files = nullptr;
    const SessionState* session = nullptr;
    // The kept password (web token) and the web addresses' bases
    // ("http://host[:port]"); read at the moment of use.
    std::function<std::string()> password;
    std::function<std::string()> webSite;
    std::function<std::string()> homePage;
    std::function<std::string()> clubSite;
    std::function<std::string()> fileBoxSite;
    std::function<std::string()> paymentSite;
    // Open-browser-window of ClientApp, and its upload-notice flag.
    std::function<void(const std::string& url, int left, int top, int width, int height)>
        openBrowserWindow;
    bool* uploadNoticeShown = nullptr;
  };

  explicit MainWindowPresenter(Deps deps);

  // The view arrives once the front end has created the window.
  void attachView(MainWindowView* view) { deps_.view = view; }

  Hooks& hooks() { return hooks_; }
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
  void onEscape();
  // The close command: true when the member agreed to end the program.
  bool confirmClose();

  void paint();

  // The download folder: empty or not an existing directory becomes
  // "c:\PomDownLoad\", created with its parents.
  void ensureDownloadFolder(const std::string& path);
  const std::string& downloadFolder() const { return downloadFolder_; }

  void setAdLine(const std::string& text, const std::string& link);

  // A folder listing request is outstanding.
  bool listingPending = false;
  // Search state kept for the search (page counter and last text).
  int searchPage = 0;
  std::string searchText;

  const SkinButton& button(int index) const { return buttons_[index]; }
  const SkinImage& image(int index) const { return images_[index]; }
  const SkinLinkLabel& adLine() const { return adLine_; }
  const Splitters& splitters() const { return splitters_; }
  int lastWidth() const { return lastWidth_; }
  int lastHeight() const { return lastHeight_; }

  // The web addresses the commands open (also used by the session flow).
  std::string memoListUrl() const;
  std::string paymentUrl() const;
  std::string webToken() const;

 private:
  void runButton(MainButton button);
  void openPage(const std::string& url);
  void chooseDownloadFolder();
  void forEachPane(const std::function<void(MainPane&)>& action);

  Deps deps_;
  Hooks hooks_;
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
