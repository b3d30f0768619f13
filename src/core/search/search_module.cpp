#include "core/search/search_module.h"

#include "core/hub/module_context.h"
#include "core/hub/storage_link.h"

namespace pom {

SearchModule::SearchModule(ModuleContext& context) : context_(context) {
  context_.provide<SearchLink>(*this);
}

SearchModule::~SearchModule() {
  context_.withdraw<SearchLink>();
}

bool SearchModule::connect() {
  return context_.require(storage_, name());
}

void SearchModule::create(Stage stage) {
  if (stage != Stage::Windows) return;
  ReplyDispatcher& replies = context_.replies();
  replies.on<SearchResults>(name(),
                            [this](const SearchResults& m) { onResults(m.entries.size(), false); });
  replies.on<SearchMoreResults>(
      name(), [this](const SearchMoreResults& m) { onResults(m.entries.size(), true); });
  replies.on<FolderContent>(name(),
                            [this](const FolderContent& m) { onFolderContent(m.entries.size()); });
}

void SearchModule::onResults(std::size_t count, bool more) {
  // Each entry becomes a row of the result list.
  if (count > 0) {
    ++searchPage_;
  } else if (storage_->listingPending() && more) {
    searchPage_ = 0;
  }
  storage_->setListingPending(false);
}

void SearchModule::onFolderContent(std::size_t) {
  // The entries fill the folder-content list.
  storage_->setListingPending(false);
}

}  // namespace pom
