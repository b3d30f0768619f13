// The web pages the client opens in a browser: sign-up, id/password search,
// home, help desk, program notice, payment, memo list, the upload notice
// pop-up and the download page of web links and combined links.
//
// Every page is a small CP949 HTML page (charset euc-kr) of the local stand-in
// service: a title, a sentence, and the parameters it received, escaped.
// Payment and memo list check the `md6` web token against the member's
// password before they show anything about the member. Unknown paths get
// notFoundPage() through the server's error handler.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "service/store.h"

namespace httplib {
class Server;
}

namespace pom {
namespace service {

// The token web addresses carry as md6: for each password byte c (signed),
// v = 3c + r + 24 and r = (3c + 24) mod 47, the values concatenated in decimal.
std::string webToken(const std::string& password);

// "&", "<", ">", '"' and "'" as character references.
std::string htmlEscape(const std::string& text);

// A whole page: title, one paragraph (already HTML), extra HTML, and the
// received parameters listed, escaped.
std::string htmlPage(const std::string& title, const std::string& sentence,
                     const std::string& extraHtml,
                     const std::vector<std::pair<std::string, std::string>>& parameters);

std::string notFoundPage(const std::string& path);

// The download page for "Code=N" (a file number) or a combined-link code.
std::string downloadPage(Store& store, const std::string& code);

// Registers every page route.
void addWebPages(httplib::Server& server, Store& store);

}  // namespace service
}  // namespace pom
