// PosixHttpClient: the HttpClient port as a small blocking HTTP/1.0 client
// over BSD sockets, for the headless front end, the tests and the benchmarks.
//
// One request per connection: connect (dotted IPv4 or a resolvable name),
// send the request line, Host, User-Agent (when given), the caller's extra
// header lines (normalised to CRLF; a Content-Length is added for a body
// unless the caller gave one), then read until the server closes. The status
// code and Content-Length are parsed; the body is kept up to maxBody bytes and
// never beyond the announced Content-Length (bytes past it are dropped).
// Every wait is bounded by the timeout (the request's own when it gives one); a timeout or a
// connection failure gives a response with sent = false. Blocking by design (the program's HTTP
// requests block the loop too); runs on the caller's thread.
#pragma once

#include "core/ports/http_client.h"

namespace pom {

class PosixHttpClient : public HttpClient {
 public:
  explicit PosixHttpClient(int timeoutMs = 10000) : timeoutMs_(timeoutMs) {}
  HttpResponse send(const HttpRequest& request, std::size_t maxBody) override;

 private:
  int timeoutMs_;
};

}  // namespace pom
