// The search module on fakes: the real module and its two lists, fake links
// (the web storage recording the friend and link requests), a fake
// HTTP client, recording views of the search bar and the lists.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/hub/module_context.h"
#include "core/hub/version_link.h"
#include "core/search/search_module.h"
#include "core/search/search_views.h"
#include "core/update/banned_word_list.h"
#include "support/fake_app.h"
#include "support/fake_links.h"

namespace pom::test {

class FakeSearchBar : public SearchBarView {
 public:
  std::string text;
  SearchKind kind = SearchKind::Normal;
  int focuses = 0;
  std::string editText() override { return text; }
  SearchKind selectedKind() override { return kind; }
  void setEditText(const std::string& t) override { text = t; }
  void focusEdit() override { ++focuses; }
};

template <typename Base>
class FakeSearchListView : public Base {
 public:
  std::vector<SearchColumn> shownColumns;
  std::vector<SearchRow> rows;
  std::string caption;
  std::vector<int> selected;
  SearchCommand menuChoice = SearchCommand::None;
  std::vector<SearchMenuItem> lastMenu;
  int selectAlls = 0;

  void setColumns(const std::vector<SearchColumn>& c) override { shownColumns = c; }
  void setRows(const std::vector<SearchRow>& r) override { rows = r; }
  void appendRows(const std::vector<SearchRow>& r) override {
    rows.insert(rows.end(), r.begin(), r.end());
  }
  void setCaption(const std::string& text) override { caption = text; }
  std::vector<int> selectedRows() override { return selected; }
  void selectAllAndFocus() override { ++selectAlls; }
  SearchCommand trackMenu(const std::vector<SearchMenuItem>& items) override {
    lastMenu = items;
    return menuChoice;
  }
  void place(const PaneRect&) override {}
  void setVisible(bool) override {}
  // The first column's texts, in row order.
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const SearchRow& row : rows) out.push_back(row.texts.at(0));
    return out;
  }
};

class FakeSearchViews : public SearchViews {
 public:
  FakeSearchBar searchBar;
  FakeSearchListView<SearchResultListView>* results = nullptr;
  FakeSearchListView<FolderContentListView>* folder = nullptr;
  SearchBarView* searchBarView() override { return &searchBar; }
  std::unique_ptr<SearchResultListView> createSearchResultListView(SearchListInput&) override {
    auto view = std::make_unique<FakeSearchListView<SearchResultListView>>();
    results = view.get();
    return view;
  }
  std::unique_ptr<FolderContentListView> createFolderContentListView(SearchListInput&) override {
    auto view = std::make_unique<FakeSearchListView<FolderContentListView>>();
    folder = view.get();
    return view;
  }
};

class FakeVersionLink : public VersionLink {
 public:
  BannedWordList words;
  std::string clientVersion() const override { return "1.0"; }
  const BannedWordList& bannedWords() const override { return words; }
  bool isBannedWord(std::string_view keyword) const override { return words.contains(keyword); }
};

// The storage link recording what the lists ask of the web storage.
class RecordingStorageLink : public FakeStorageLink {
 public:
  std::vector<std::string> friendsAsked;
  std::vector<std::vector<LinkedFile>> webLinks, combinedLinks;
  bool openFriendAdd(const std::string& presetId) override {
    friendsAsked.push_back(presetId);
    return true;
  }
  void copyWebLinks(const std::vector<LinkedFile>& files) override { webLinks.push_back(files); }
  void requestCombinedLink(const std::vector<LinkedFile>& files) override {
    combinedLinks.push_back(files);
  }
};

// The search host of the fake ports: normal search on 127.0.0.7..9 (the
// fake random's 0 draws 7), natural search on 127.0.0.10.
inline constexpr char kNormalHost[] = "127.0.0.7";
inline constexpr char kNaturalHost[] = "127.0.0.10";

// One reply record of 16 fields.
inline std::string record(const std::string& owner, std::int32_t folder, const std::string& name,
                          std::int64_t size, std::int32_t fileId) {
  return owner + "|p|f|0|/webhard/folder/" + std::to_string(folder) + "/|code|" + name + "|ext|" +
         std::to_string(size) + "|1KB|2026-01-01|30|30일 남음|1|" + std::to_string(fileId) +
         "|end|";
}

class SearchHarness {
 public:
  SearchHarness() {
    session.member.memberId = "me";
    context.provide<StorageLink>(storage);
    context.provide<DownloadLink>(downloads);
    context.provide<LocalBrowserLink>(local);
    context.provide<MainWindowLink>(main);
    context.provide<SessionLink>(session);
    context.provide<VersionLink>(versions);
    context.provide<SearchViews>(views);
    module = std::make_unique<SearchModule>(context);
    module->connect();
    for (Stage stage : kCreationStages) module->create(stage);
    module->attachViews();
  }
  ~SearchHarness() {
    for (Stage stage : kTeardownStages) module->destroy(stage);
  }

  // The path the normal search asks for a keyword (already encoded).
  static std::string normalPath(const std::string& encoded, int page = 1) {
    std::string path = "/app/search_new4.asp?share=t&userid=me&chksum=&keyword=" + encoded;
    if (page > 1) path += "&page=" + std::to_string(page);
    return path;
  }
  void type(const std::string& text, SearchKind kind = SearchKind::Normal) {
    views.searchBar.text = text;
    views.searchBar.kind = kind;
    module->runSearch();
  }
  void reply(const Bytes& body) { context.replies().dispatch(body.data(), body.size()); }

  SearchResultList& results() { return *module->resultList(); }
  FolderContentList& folder() { return *module->folderList(); }
  FakeSearchListView<SearchResultListView>& resultsView() { return *views.results; }
  FakeSearchListView<FolderContentListView>& folderView() { return *views.folder; }

  FakePorts fakes;
  ModuleContext context{fakes.ports()};
  FakeSessionLink session;
  RecordingStorageLink storage;
  FakeDownloadLink downloads;
  FakeLocalBrowserLink local;
  FakeMainWindowLink main;
  FakeVersionLink versions;
  FakeSearchViews views;
  std::unique_ptr<SearchModule> module;
};

}  // namespace pom::test
