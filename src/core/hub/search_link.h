// SearchLink: what the search module (search bar, result and folder-content
// lists) offers the other modules and the headless front end.
//
// The headless calls run the same rules as the search bar and the lists:
// search() is a search with the text typed into the edit and the radio
// chosen, openFolderContents() what Ctrl+F does on a hit. Their answers are
// read back through hits(), resultMessage() and folderItems(). Loop thread
// only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pom {

// Which radio of the search bar is selected; the numbers are `lastKind`'s.
enum class SearchKind { None = 0, Natural = 1, Normal = 2 };

// One file found by a search (texts CP949).
struct SearchHit {
  std::int32_t fileId = 0;
  std::int32_t folderKey = 0;  // the folder that holds the file
  std::string ownerId;         // the sharer, at most 20 bytes
  std::string uniqueCode;      // empty for a search over HTTP
  std::string name;            // at most 259 bytes
  std::string keepText;        // at most 37 bytes, shown as is
  std::int64_t sizeBytes = 0;
};

// One file of another member's folder.
struct FolderContentItem {
  std::int32_t fileId = 0;
  std::int32_t folderKey = 0;
  std::string ownerId;
  std::string name;
  std::int64_t sizeBytes = 0;
  std::int32_t keepDays = 0;  // shown as 0 when negative
};

class SearchLink {
 public:
  static constexpr char kLinkName[] = "SearchLink";
  virtual ~SearchLink() = default;
  // Runs the search with the text of the search bar.
  virtual void runSearch() = 0;
  // Queues the selected files of the search-result and folder-content lists.
  virtual void downloadSelection() = 0;

  // A search as if text had been typed and the kind's radio selected.
  virtual void search(const std::string& text, SearchKind kind) {}
  // The next page of the last search that was answered, appended to the
  // hits; false when there is none to ask (paging ended) or none came.
  virtual bool searchMore() { return false; }
  // Asks the login server for another member's folder (pane 3); the items
  // arrive with its answer.
  virtual void openFolderContents(const std::string& ownerId, std::int32_t folderKey) {}
  // Queues the file of a hit or of a folder-content item by its number;
  // false when neither list holds it.
  virtual bool downloadFile(std::int32_t fileId) { return false; }

  // The hits of the result list, and its message row (empty when it shows
  // hits); the items of the folder-content list and its message row.
  virtual const std::vector<SearchHit>& hits() const { return noHits(); }
  virtual std::string resultMessage() const { return std::string(); }
  virtual const std::vector<FolderContentItem>& folderItems() const { return noItems(); }
  virtual std::string folderMessage() const { return std::string(); }

 private:
  static const std::vector<SearchHit>& noHits() {
    static const std::vector<SearchHit> none;
    return none;
  }
  static const std::vector<FolderContentItem>& noItems() {
    static const std::vector<FolderContentItem> none;
    return none;
  }
};

}  // namespace pom
