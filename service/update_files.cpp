#include "service/update_files.h"

#include <httplib.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "service/faults.h"

namespace pom {
namespace service {

namespace {

// Served in place of the updater when no real program is configured. The
// client only starts it when the client version on the server differs from
// its own, which the default versions never cause.
constexpr char kUpdaterStandIn[] =
    "Pomvale local service: no updater program is configured on this server.\r\n";

void serveText(httplib::Response& res, std::string body, const char* type) {
  res.set_content(std::move(body), type);
}

bool readFile(const std::string& path, std::string& body) {
  if (path.empty()) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  body.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// The switch's text when it is set, else the configured one.
std::string switchOr(const Faults& faults, const char* key, const std::string& configured) {
  return faults.peek(key).value_or(configured);
}

}  // namespace

std::vector<std::string> defaultBannedWords() {
  return {"warez", "keygen", "crack", "불법복제", "음란물"};
}

std::string bannedWordFileBody(const std::vector<std::string>& words) {
  std::string body;
  for (const std::string& word : words) {
    body += word;
    body += '\n';
  }
  return body;
}

std::string advertisementBody(const UpdateFiles& files) {
  // The client takes the third non-empty piece as the link and joins the rest
  // as the text, so an empty text piece is replaced rather than sent.
  const std::string head = files.adText.empty() ? std::string("Pomvale") : files.adText;
  const std::string tail = files.adTextTail.empty() ? std::string(" ") : files.adTextTail;
  return head + "|" + tail + "|" + files.adLink;
}

std::string updaterProgramBody(const UpdateFiles& files, const Faults& faults) {
  std::string body;
  if (readFile(switchOr(faults, "update_updater_path", files.updaterProgramPath), body))
    return body;
  return kUpdaterStandIn;
}

bool clientProgramBody(const UpdateFiles& files, const Faults& faults, std::string& body) {
  return readFile(switchOr(faults, "update_client_path", files.clientProgramPath), body);
}

std::string lowerAscii(std::string text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x81) {
      ++i;  // skip the trail byte of a double-byte character
    } else if (byte >= 'A' && byte <= 'Z') {
      text[i] = static_cast<char>(byte + ('a' - 'A'));
    }
  }
  return text;
}

bool containsText(const std::string& text, const std::string& needle) {
  if (needle.empty()) return true;
  const std::string haystack = lowerAscii(text);
  const std::string wanted = lowerAscii(needle);
  // Only character starts count, so the trail byte of one character and the
  // lead byte of the next never make a match.
  for (std::size_t i = 0; i + wanted.size() <= haystack.size();) {
    if (haystack.compare(i, wanted.size(), wanted) == 0) return true;
    i += static_cast<unsigned char>(haystack[i]) >= 0x81 ? 2 : 1;
  }
  return false;
}

bool keywordIsBlocked(const std::vector<std::string>& bannedWords, const std::string& keyword) {
  for (const std::string& word : bannedWords) {
    if (!word.empty() && containsText(keyword, word)) return true;
  }
  return false;
}

void addUpdateRoutes(httplib::Server& server, const UpdateFiles& files, const Faults& faults) {
  // Fixed bodies are built once; the handlers run on the server's worker
  // threads and only copy them or read the switches.
  const std::string banned = bannedWordFileBody(files.bannedWords);
  const std::string ad = advertisementBody(files);
  const auto kept = std::make_shared<const UpdateFiles>(files);

  server.Get("/UpdateFiles/UverChk.dat",
             [kept, &faults](const httplib::Request&, httplib::Response& res) {
               serveText(res, switchOr(faults, "update_uver", kept->updaterVersion), "text/plain");
             });
  server.Get("/UpdateFiles/CverChk.dat",
             [kept, &faults](const httplib::Request&, httplib::Response& res) {
               serveText(res, switchOr(faults, "update_cver", kept->clientVersion), "text/plain");
             });
  server.Get("/UpdateFiles/dblist.dat", [banned](const httplib::Request&, httplib::Response& res) {
    serveText(res, banned, "text/plain; charset=euc-kr");
  });
  server.Get("/UpdateFiles/PomUpdater.exe",
             [kept, &faults](const httplib::Request&, httplib::Response& res) {
               serveText(res, updaterProgramBody(*kept, faults), "application/octet-stream");
             });
  server.Get("/UpdateFiles/Pomvale.exe",
             [kept, &faults](const httplib::Request&, httplib::Response& res) {
               std::string body;
               if (!clientProgramBody(*kept, faults, body)) {
                 res.status = 404;
                 return;
               }
               serveText(res, std::move(body), "application/octet-stream");
             });
  server.Get("/Ad/index.asp", [ad](const httplib::Request&, httplib::Response& res) {
    serveText(res, ad, "text/html; charset=euc-kr");
  });
}

}  // namespace service
}  // namespace pom
