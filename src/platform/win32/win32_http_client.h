// Win32HttpClient: the HttpClient port on WinINet (InternetOpenW with the
// preconfigured proxy mode, InternetConnectW, HttpOpenRequestW,
// HttpSendRequestW, HttpQueryInfoW and InternetReadFile). Every request opens
// and closes its own session, so nothing is kept between calls.
//
// Blocking: the call returns when the reply has been read (the program
// makes these requests on the GUI thread). The request's timeout (10 s
// when it gives none) is a hard bound on the whole request, headers
// included: the WinINet sequence runs on a worker thread of its own and the
// caller waits only until the bound. Past it the caller closes the request's
// handles (which cancels the call the worker waits in where WinINet can),
// waits a short moment more for the worker and otherwise leaves it to end by
// itself, holding only its own shared copy of the request; the call then
// reports sent = false. The worker also gives every WinINet call only the
// time left, so it normally ends within the bound too. The body never goes
// beyond the announced Content-Length. One caller thread at a time per
// request; the client itself keeps no state, so calls are independent.
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
