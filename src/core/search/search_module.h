// SearchModule: the search subsystem as one module of the composition root.
//
// It keeps the search state (the page counter and the last text), registers
// the branches of SearchResults, SearchMoreResults and FolderContent, and
// offers SearchLink. It needs the web storage's listingPending, which its
// answers clear. The search requests, the result and folder-content lists
// and their rows build on it; until they exist a search finds nothing to run
// and no list has a selection. Loop thread only.
#pragma once

#include <string>

#include "core/hub/module.h"
#include "core/hub/search_link.h"
#include "core/net/messages/replies.h"

namespace pom {

class ModuleContext;
class StorageLink;

class SearchModule final : public Module, public SearchLink {
 public:
  explicit SearchModule(ModuleContext& context);
  ~SearchModule() override;

  const char* name() const override { return "search"; }
  bool connect() override;
  void create(Stage stage) override;

  // SearchLink
  void runSearch() override {}
  void downloadSelection() override {}

  int searchPage() const { return searchPage_; }
  const std::string& searchText() const { return searchText_; }

  // The answers: results (first page or more), and another member's folder.
  void onResults(std::size_t count, bool more);
  void onFolderContent(std::size_t count);

 private:
  ModuleContext& context_;
  StorageLink* storage_ = nullptr;
  int searchPage_ = 0;
  std::string searchText_;
};

}  // namespace pom
