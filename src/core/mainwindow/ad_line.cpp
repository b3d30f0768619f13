#include "core/mainwindow/ad_line.h"

#include "core/base/text_utils.h"
#include "core/ports/http_client.h"

namespace pom {

AdLine parseAdLine(const std::string& body) {
  const std::string kept = cutText(body, kAdLineMaxBody);
  AdLine line;
  int index = 0;
  std::size_t start = 0;
  while (start <= kept.size()) {
    std::size_t end = kept.find('|', start);
    if (end == std::string::npos) end = kept.size();
    if (end > start) {
      const std::string piece = kept.substr(start, end - start);
      if (index == 2) {
        line.link = piece;
      } else {
        line.text += piece;
      }
      ++index;
    }
    start = end + 1;
  }
  return line;
}

AdLine fetchAdLine(HttpClient& http, const std::string& updateServer) {
  HttpRequest request;
  request.host = updateServer;
  request.path = "/Ad/index.asp";
  request.agent = "HTTPTEST";
  // The line blocks the start: a server that does not answer costs at most this.
  request.timeoutMs = 3000;
  const HttpResponse response = http.send(request, kAdLineMaxBody);
  // An error page is not an advertisement: only a successful answer counts.
  if (!response.sent || response.status < 200 || response.status >= 300) return AdLine();
  return parseAdLine(response.body);
}

}  // namespace pom
