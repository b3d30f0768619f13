#include "core/storage/web_links.h"

#include "core/base/servers.h"
#include "core/base/text_utils.h"

namespace pom {
namespace {

constexpr char kFrame[] =
    "<iframe name=PomLinkDown width=0 height=0 frameborder=0 scrolling=0></iframe>";

}  // namespace

std::string downloadPageUrl(const Servers& servers) {
  return servers.webBase(Server::ClubSite) + "/download/webdown.asp?Code";
}

std::string escapeHtml(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
        break;
    }
  }
  return out;
}

std::string webLinksText(const std::vector<LinkRow>& rows, const std::string& pageUrl) {
  std::string text = kFrame;
  for (std::size_t i = 0; i < rows.size() && i < kWebLinkRows; ++i) {
    const LinkRow& row = rows[i];
    if (row.sizeBytes == 0) continue;
    text += "<a href=\"" + pageUrl + "=" + std::to_string(row.fileId) +
            "\" target=\"PomLinkDown\">(파일명:" + escapeHtml(row.name) +
            "_크기:" + std::to_string(static_cast<std::int32_t>(row.sizeBytes >> 10)) +
            "KByte)</a><br>";
  }
  return cutText(text, kWebLinkTextBytes);
}

CombinedLinkChoice chooseCombinedLinkFiles(const std::vector<LinkRow>& rows) {
  CombinedLinkChoice choice;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == kCombinedLinkRows) {
      choice.tooMany = true;
      break;
    }
    if (rows[i].sizeBytes != 0) choice.fileIds.push_back(rows[i].fileId);
  }
  return choice;
}

std::string combinedLinkText(const std::string& code, const std::string& title,
                             const std::string& pageUrl) {
  const std::string text = std::string(kFrame) + "<a href=\"" + pageUrl + "=" + escapeHtml(code) +
                           "\" target=\"PomLinkDown\">(" + escapeHtml(title) + ")</a><br>";
  return cutText(text, kCombinedLinkTextBytes);
}

}  // namespace pom
