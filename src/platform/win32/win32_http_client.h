// Win32HttpClient: the HttpClient port on WinINet (InternetOpenW with the
// preconfigured proxy mode, InternetConnectW, HttpOpenRequestW,
// HttpSendRequestW, HttpQueryInfoW and InternetReadFile). Every request opens
// and closes its own session, so nothing is kept between calls.
//
// Blocking: the call returns when the reply has been read (the program's
// design makes these requests on the GUI thread). Loop thread only.
#pragma once

#include <cstdint>
#include <string>

#include "core/ports/http_client.h"

namespace pom {

class Win32HttpClient final : public HttpClient {
 public:
  HttpResponse send(const HttpRequest& request, std::size_t maxBody) override;
};

// Splits "host[:port]" (port 80 when absent or unreadable).
void splitHostPort(const std::string& text, std::string& host, std::uint16_t& port);

}  // namespace pom
