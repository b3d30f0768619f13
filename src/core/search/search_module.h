// SearchModule: the search subsystem as one module of the composition root.
//
// It owns the search-result list (pane 2) and the folder-content list
// (pane 3), runs the two HTTP searches with the text of the search bar (or
// the headless caller's), keeps `lastKeyword`/`lastKind` and the search page
// counter, registers the branches of SearchResults, SearchMoreResults and
// FolderContent, and offers SearchLink. It clears the web storage's
// listingPending when its answers arrive.
//
// A search blocks the loop thread for at most kSearchTimeoutMs (the
// HttpClient port is synchronous). Loop thread only.
#pragma once

#include <memory>
#include <string>

#include "core/hub/module.h"
#include "core/hub/search_link.h"
#include "core/net/messages/replies.h"
#include "core/search/folder_content_list.h"
#include "core/search/search_http.h"
#include "core/search/search_result_list.h"

namespace pom {

class DownloadLink;
class LocalBrowserLink;
class MainWindowLink;
class ModuleContext;
class SearchBarView;
class SearchViews;
class SessionLink;
class StorageLink;
class VersionLink;

class SearchModule final : public Module, public SearchLink, private SearchListHost {
 public:
  explicit SearchModule(ModuleContext& context);
  ~SearchModule() override;

  const char* name() const override { return "search"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void destroy(Stage stage) override;

  // SearchLink
  void runSearch() override;
  void downloadSelection() override;
  void search(const std::string& text, SearchKind kind) override;
  bool searchMore() override;
  void openFolderContents(const std::string& ownerId, std::int32_t folderKey) override;
  bool downloadFile(std::int32_t fileId) override;
  const std::vector<SearchHit>& hits() const override;
  std::string resultMessage() const override;
  const std::vector<FolderContentItem>& folderItems() const override;
  std::string folderMessage() const override;

  int searchPage() const { return searchPage_; }
  const std::string& lastKeyword() const { return lastKeyword_; }
  SearchKind lastKind() const { return lastKind_; }
  SearchResultList* resultList() { return results_.get(); }
  FolderContentList* folderList() { return folder_.get(); }

  // The answers of the login server: results (first page or more), and
  // another member's folder.
  void onResults(const std::vector<SearchEntry>& entries, bool more);
  void onFolderContent(const std::vector<SearchEntry>& entries);

 private:
  // SearchListHost
  void openFolder(const std::string& ownerId, std::int32_t folderKey,
                  const std::string& title) override;
  void putInSearchBar(const std::string& text) override;

  SearchBarView* bar() const;
  void focusBar() const;
  // One request of the last search's kind; page 1 is the first.
  SearchReply request(const std::string& keyword, SearchKind kind, int page);

  ModuleContext& context_;
  StorageLink* storage_ = nullptr;
  DownloadLink* downloads_ = nullptr;
  LocalBrowserLink* local_ = nullptr;
  MainWindowLink* mainWindow_ = nullptr;
  SessionLink* session_ = nullptr;
  VersionLink* versions_ = nullptr;
  SearchViews* views_ = nullptr;
  std::unique_ptr<SearchResultList> results_;
  std::unique_ptr<FolderContentList> folder_;
  std::unique_ptr<SearchResultListView> resultsView_;
  std::unique_ptr<FolderContentListView> folderView_;
  // The last search that a server answered; a failed one is not kept, so
  // the same text asked again is sent again.
  bool answered_ = false;
  std::string lastKeyword_;
  SearchKind lastKind_ = SearchKind::None;
  int searchPage_ = 0;
};

}  // namespace pom
