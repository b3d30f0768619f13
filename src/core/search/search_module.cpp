#include "core/search/search_module.h"

#include "core/base/text_utils.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/hub/session_link.h"
#include "core/hub/storage_link.h"
#include "core/hub/transfer_links.h"
#include "core/hub/version_link.h"
#include "core/net/messages/requests.h"
#include "core/ports/clock.h"
#include "core/ports/random.h"
#include "core/search/search_keyword.h"
#include "core/search/search_views.h"

namespace pom {

SearchModule::SearchModule(ModuleContext& context) : context_(context) {
  context_.provide<SearchLink>(*this);
}

SearchModule::~SearchModule() {
  context_.withdraw<SearchLink>();
}

bool SearchModule::connect() {
  bool ok = context_.require(storage_, name());
  ok &= context_.require(downloads_, name());
  local_ = context_.find<LocalBrowserLink>();  // optional: drops on the local list
  ok &= context_.require(mainWindow_, name());
  ok &= context_.require(session_, name());
  ok &= context_.require(versions_, name());
  return ok;
}

void SearchModule::create(Stage stage) {
  if (stage != Stage::Windows) return;
  SearchListDeps deps;
  deps.host = this;
  deps.downloads = downloads_;
  deps.local = local_;
  deps.session = session_;
  deps.storage = storage_;
  results_ = std::make_unique<SearchResultList>(deps);
  folder_ = std::make_unique<FolderContentList>(deps);

  ReplyDispatcher& replies = context_.replies();
  replies.on<SearchResults>(name(),
                            [this](const SearchResults& m) { onResults(m.entries, false); });
  replies.on<SearchMoreResults>(name(),
                                [this](const SearchMoreResults& m) { onResults(m.entries, true); });
  replies.on<FolderContent>(name(), [this](const FolderContent& m) { onFolderContent(m.entries); });
}

void SearchModule::attachViews() {
  // A front end without windows gives no views; the lists run without them.
  views_ = context_.find<SearchViews>();
  if (views_ != nullptr) {
    resultsView_ = views_->createSearchResultListView(*results_);
    folderView_ = views_->createFolderContentListView(*folder_);
  }
  results_->attachView(resultsView_.get());
  folder_->attachView(folderView_.get());
  mainWindow_->setPane(PaneId::SearchList, results_.get());
  mainWindow_->setPane(PaneId::FolderList, folder_.get());
}

void SearchModule::destroy(Stage stage) {
  if (stage != Stage::Windows || !results_) return;
  results_->attachView(nullptr);
  resultsView_.reset();
  results_.reset();
  folder_->attachView(nullptr);
  folderView_.reset();
  folder_.reset();
  views_ = nullptr;
}

SearchBarView* SearchModule::bar() const {
  return views_ != nullptr ? views_->searchBarView() : nullptr;
}

void SearchModule::focusBar() const {
  if (SearchBarView* edit = bar()) edit->focusEdit();
}

// --- the search ----------------------------------------------------------

void SearchModule::runSearch() {
  SearchBarView* edit = bar();
  if (edit == nullptr) return;
  search(edit->editText(), edit->selectedKind());
}

void SearchModule::search(const std::string& typed, SearchKind kind) {
  if (!results_) return;
  const std::string text = cutText(typed, kKeywordBytes);
  if (answered_ && text == lastKeyword_ && kind == lastKind_) {
    mainWindow_->setRightPaneMode(RightPaneMode::SearchList);
    return;
  }
  // Whatever follows replaces the list: the last answer no longer shows.
  answered_ = false;
  searchPage_ = 0;
  SearchBarView* edit = bar();
  const PreparedKeyword prepared = prepareKeyword(
      text, [this](std::string_view keyword) { return versions_->isBannedWord(keyword); });
  mainWindow_->setRightPaneMode(RightPaneMode::SearchList);
  if (prepared.outcome == PreparedKeyword::Outcome::TooShort) {
    results_->showMessage(kTooShortMessage);
    focusBar();
    return;
  }
  if (edit != nullptr) edit->setEditText(std::string());
  if (prepared.outcome == PreparedKeyword::Outcome::Banned) {
    results_->showMessage(bannedMessage(prepared.keyword));
    focusBar();
    return;
  }
  results_->clear();
  const SearchReply reply = request(prepared.keyword, kind, 1);
  if (reply.message.empty()) {
    results_->storeHits(reply.hits);
  } else {
    results_->showMessage(reply.message);
  }
  results_->setCaption("입력하신 검색어:" + prepared.keyword);
  mainWindow_->redraw();
  if (edit != nullptr) {
    edit->setEditText(prepared.keyword);
    edit->focusEdit();
  }
  // Only an answered search is remembered: one that failed is sent again
  // when the member asks again. The keyword is what the edit now shows, so
  // asking again without a change only switches the pane.
  answered_ = reply.read;
  lastKeyword_ = reply.read ? prepared.keyword : std::string();
  lastKind_ = reply.read ? kind : SearchKind::None;
  searchPage_ = reply.read && !reply.hits.empty() ? 1 : 0;
}

SearchReply SearchModule::request(const std::string& keyword, SearchKind kind, int page) {
  const AppPorts& ports = context_.ports();
  HttpRequest http;
  if (kind == SearchKind::Natural) {
    http = naturalSearchRequest(context_.servers().http(Server::NaturalSearch), keyword, page);
  } else {
    ports.random->seed(ports.clock->tickCount());
    const int octet = ports.random->next() % 3 + 7;
    http = normalSearchRequest(context_.servers().normalSearch(octet), session_->state().memberId,
                               keyword, page);
  }
  return readSearchReply(ports.http->send(http, kSearchMaxBody));
}

bool SearchModule::searchMore() {
  if (!results_ || !answered_ || searchPage_ == 0) return false;
  const SearchReply reply = request(lastKeyword_, lastKind_, searchPage_ + 1);
  if (!reply.message.empty() || reply.hits.empty()) {
    // An empty page ends the paging; so does a page that could not be read,
    // or every scroll to the end would wait for a server that is gone.
    searchPage_ = 0;
    return false;
  }
  results_->storeHits(reply.hits);
  ++searchPage_;
  return true;
}

// --- the answers of the login server -------------------------------------

void SearchModule::onResults(const std::vector<SearchEntry>& entries, bool more) {
  if (!results_) return;
  std::vector<SearchHit> hits;
  hits.reserve(entries.size());
  for (const SearchEntry& entry : entries) hits.push_back(searchHitFromEntry(entry));
  results_->storeHits(hits);
  if (!entries.empty()) {
    ++searchPage_;
  } else if (storage_->listingPending()) {
    if (more) {
      searchPage_ = 0;
    } else {
      results_->showMessage(kNoResultMessage);
    }
  }
  focusBar();
  storage_->setListingPending(false);
}

void SearchModule::onFolderContent(const std::vector<SearchEntry>& entries) {
  if (!folder_) return;
  if (!entries.empty()) {
    std::vector<FolderContentItem> items;
    items.reserve(entries.size());
    for (const SearchEntry& entry : entries) items.push_back(folderItemFromEntry(entry));
    folder_->setItems(items);
  } else if (storage_->listingPending()) {
    folder_->showMessage(kEmptyFolderMessage);
  }
  storage_->setListingPending(false);
}

// --- the lists' requests -------------------------------------------------

void SearchModule::openFolder(const std::string& ownerId, std::int32_t folderKey,
                              const std::string& title) {
  folder_->beginFolder(ownerId);
  FolderContentRequest request;
  request.ownerId = ownerId;
  request.folderId = folderKey;
  session_->send(request.encode());
  folder_->setCaption("폴더내용:[" + title + "]");
  mainWindow_->setRightPaneMode(RightPaneMode::FolderList);
  storage_->setListingPending(true);
}

void SearchModule::openFolderContents(const std::string& ownerId, std::int32_t folderKey) {
  if (!folder_) return;
  // The hit's name is the caption when a hit of that folder is listed.
  std::string title = ownerId;
  for (const SearchHit& hit : results_->hits()) {
    if (hit.ownerId == ownerId && hit.folderKey == folderKey) {
      title = hit.name;
      break;
    }
  }
  openFolder(ownerId, folderKey, title);
}

void SearchModule::putInSearchBar(const std::string& text) {
  if (SearchBarView* edit = bar()) edit->setEditText(cutText(text, kKeywordBytes));
}

void SearchModule::downloadSelection() {
  if (!results_) return;
  // The main window's download button: both lists queue what is selected
  // in them, shown or not.
  folder_->command(SearchCommand::FolderDownload);
  results_->command(SearchCommand::Download);
}

namespace {

// The record of a file among a list's records, or null.
template <typename Record>
const Record* fileIn(const std::vector<Record>& records, std::int32_t fileId) {
  for (const Record& record : records) {
    if (record.fileId == fileId) return &record;
  }
  return nullptr;
}

}  // namespace

bool SearchModule::downloadFile(std::int32_t fileId) {
  if (!results_) return false;
  std::int64_t size = 0;
  std::string name;
  if (const SearchHit* hit = fileIn(results_->hits(), fileId)) {
    name = hit->name;
    size = hit->sizeBytes;
  } else if (const FolderContentItem* item = fileIn(folder_->items(), fileId)) {
    name = item->name;
    size = item->sizeBytes;
  } else {
    return false;
  }
  downloads_->addDownload(fileId, name, size);
  downloads_->autoStart();
  return true;
}

const std::vector<SearchHit>& SearchModule::hits() const {
  return results_ ? results_->hits() : SearchLink::hits();
}

std::string SearchModule::resultMessage() const {
  return results_ ? results_->message() : std::string();
}

const std::vector<FolderContentItem>& SearchModule::folderItems() const {
  return folder_ ? folder_->items() : SearchLink::folderItems();
}

std::string SearchModule::folderMessage() const {
  return folder_ ? folder_->message() : std::string();
}

}  // namespace pom
