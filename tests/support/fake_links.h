// Recording fakes of the links between modules, for unit tests of a module
// or presenter without the others.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/base/web_token.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/search_link.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"

namespace pom {

class FakeSessionLink : public SessionLink {
 public:
  SessionState member;
  bool logged = true;
  std::string kept = "ab";
  std::vector<Bytes> sent;
  int loginPaints = 0;

  SessionState& state() override { return member; }
  bool loggedIn() const override { return logged; }
  const std::string& password() const override { return kept; }
  std::string webToken() const override { return makeWebToken(kept); }
  bool send(const Bytes& body) override {
    sent.push_back(body);
    return true;
  }
  void paintLoginWindow() override { ++loginPaints; }
  void whenLoggedIn(std::function<void(bool)> listener) override {
    loginListeners.push_back(std::move(listener));
  }
  void tellLoggedIn(bool again) {
    for (const auto& listener : loginListeners) listener(again);
  }
  std::vector<std::function<void(bool)>> loginListeners;
  // The types of the requests sent, in order.
  std::vector<int> sentTypes() const {
    std::vector<int> types;
    for (const Bytes& body : sent) types.push_back(body.size() >= 4 ? body[0] : -1);
    return types;
  }
  // The last request sent, decoded as M (the service side's decoder).
  template <typename M>
  std::optional<M> last() const {
    for (auto it = sent.rbegin(); it != sent.rend(); ++it) {
      if (auto decoded = M::decode(it->data(), it->size())) return decoded;
    }
    return std::nullopt;
  }
};

class FakeMainWindowLink : public MainWindowLink {
 public:
  bool built = false;
  bool visible = false;
  int paints = 0, redraws = 0;
  ScreenPoint position{100, 50};
  RightPaneMode mode = RightPaneMode::NoticePage;
  std::string folder = "c:\\down";

  bool layoutBuilt() const override { return built; }
  void buildLayout() override { built = true; }
  void setVisible(bool v) override { visible = v; }
  void paint() override { ++paints; }
  void redraw() override { ++redraws; }
  ScreenPoint screenPosition() override { return position; }
  SkinPainter* painter() override { return nullptr; }
  RightPaneMode rightPaneMode() const override { return mode; }
  void setRightPaneMode(RightPaneMode m) override { mode = m; }
  void setPane(PaneId, MainPane*) override {}
  void showAndFocus() override { visible = true; }
  std::string ensureDownloadFolder() override { return folder; }
};

class FakeStorageLink : public StorageLink {
 public:
  bool selection = false;
  bool pending = false;
  int downloads = 0;
  bool ownListHasSelection() const override { return selection; }
  void downloadSelection() override { ++downloads; }
  bool listingPending() const override { return pending; }
  void setListingPending(bool p) override { pending = p; }
};

class FakeSearchLink : public SearchLink {
 public:
  int searches = 0, downloads = 0;
  void runSearch() override { ++searches; }
  void downloadSelection() override { ++downloads; }
};

class FakeDownloadLink : public DownloadLink {
 public:
  struct Queued {
    std::int32_t fileId;
    std::string name;
    std::int64_t size;
    std::string subFolder;
    std::string folder;  // empty: the download folder
  };
  bool pending = false;
  std::vector<Queued> queued;
  int autoStarts = 0;
  bool downloadsPending() const override { return pending; }
  void addDownload(std::int32_t id, const std::string& name, std::int64_t size) override {
    queued.push_back({id, name, size, "", ""});
  }
  void addDownloadInto(std::int32_t id, const std::string& name, std::int64_t size,
                       const std::string& sub) override {
    queued.push_back({id, name, size, sub, ""});
  }
  void addDownloadTo(std::int32_t id, const std::string& name, std::int64_t size,
                     const std::string& folder, const std::string& sub) override {
    queued.push_back({id, name, size, sub, folder});
  }
  void autoStart() override { ++autoStarts; }
};

class FakeUploadLink : public UploadLink {
 public:
  bool pending = false;
  int windowOpens = 0, notices = 0;
  std::vector<std::string> queued;
  bool running = false;
  bool uploadsPending() const override { return pending; }
  bool transferring() const override { return running; }
  void openWindow() override { ++windowOpens; }
  bool queueFile(const std::string& path) override {
    queued.push_back(path);
    return true;
  }
  void noteUploadStarted(int pageHeight) override {
    ++notices;
    noticeHeight = pageHeight;
  }
  int noticeHeight = 0;
};

class FakeLocalBrowserLink : public LocalBrowserLink {
 public:
  bool selection = false;
  int uploads = 0, settingsOpens = 0;
  std::vector<std::string> pointedAt;
  bool localListHasSelection() const override { return selection; }
  void uploadSelection() override { ++uploads; }
  void pointTreeAt(const std::string& path) override { pointedAt.push_back(path); }
  void openSettings() override { ++settingsOpens; }
  std::string shown;  // the folder the local list shows
  std::string shownFolder() const override { return shown; }
};

}  // namespace pom
