// Web links and combined links: the HTML a member pastes into a page or a
// board so that others download files from the club site's download page.
//
// Names and titles are HTML-escaped (& < > "), so a name cannot close the
// anchor or inject markup. Texts are CP949 and cut at a character boundary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pom {

class Servers;

inline constexpr std::size_t kWebLinkTextBytes = 20479;
inline constexpr std::size_t kCombinedLinkTextBytes = 10239;
inline constexpr std::size_t kWebLinkRows = 40;
inline constexpr std::size_t kCombinedLinkRows = 10;

// A selected row as the link builders see it (a file has a non-zero size).
struct LinkRow {
  std::int32_t fileId = 0;
  std::string name;
  std::int64_t sizeBytes = 0;
};

// "http://<club site>/download/webdown.asp?Code".
std::string downloadPageUrl(const Servers& servers);

// The frame, then one anchor per file among the first 40 rows.
std::string webLinksText(const std::vector<LinkRow>& rows, const std::string& pageUrl);

// The files of a combined link: the first 10 rows count (folders too).
struct CombinedLinkChoice {
  std::vector<std::int32_t> fileIds;
  bool tooMany = false;  // more than 10 rows were selected
};
CombinedLinkChoice chooseCombinedLinkFiles(const std::vector<LinkRow>& rows);

// The frame and one anchor on the server's code, titled.
std::string combinedLinkText(const std::string& code, const std::string& title,
                             const std::string& pageUrl);

// & < > " as entities.
std::string escapeHtml(const std::string& text);

}  // namespace pom
