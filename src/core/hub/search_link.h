// SearchLink: what the search module (search bar, result and folder-content
// lists) offers the other modules.
#pragma once

namespace pom {

class SearchLink {
 public:
  static constexpr char kLinkName[] = "SearchLink";
  virtual ~SearchLink() = default;
  // Runs the search with the text of the search bar.
  virtual void runSearch() = 0;
  // Queues the selected files of the search-result and folder-content lists.
  virtual void downloadSelection() = 0;
};

}  // namespace pom
