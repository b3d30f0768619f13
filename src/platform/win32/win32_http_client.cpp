#include "platform/win32/win32_http_client.h"

#include <windows.h>
#include <wininet.h>

#include <cstdlib>
#include <initializer_list>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

// Closes a WinINet handle when it goes out of scope.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_ != nullptr) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

bool queryNumber(HINTERNET request, DWORD info, DWORD& value) {
  DWORD size = sizeof value;
  DWORD index = 0;
  return HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index) != FALSE;
}

}  // namespace

void splitHostPort(const std::string& text, std::string& host, std::uint16_t& port) {
  port = INTERNET_DEFAULT_HTTP_PORT;
  const std::string::size_type colon = text.rfind(':');
  if (colon == std::string::npos) {
    host = text;
    return;
  }
  host = text.substr(0, colon);
  const long value = std::strtol(text.c_str() + colon + 1, nullptr, 10);
  if (value > 0 && value < 65536) port = static_cast<std::uint16_t>(value);
}

HttpResponse Win32HttpClient::send(const HttpRequest& request, std::size_t maxBody) {
  HttpResponse response;
  std::string host;
  std::uint16_t port = INTERNET_DEFAULT_HTTP_PORT;
  splitHostPort(request.host, host, port);

  const std::wstring agent = widen(request.agent);
  InternetHandle session(InternetOpenW(request.agent.empty() ? nullptr : agent.c_str(),
                                       INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return response;
  if (request.timeoutMs > 0) {
    // A bounded request: connect, send and receive each give up after it.
    DWORD timeout = static_cast<DWORD>(request.timeoutMs);
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
      InternetSetOptionW(session.get(), option, &timeout, sizeof(timeout));
    }
  }
  const std::wstring wideHost = widen(host);
  InternetHandle connection(InternetConnectW(session.get(), wideHost.c_str(), port, nullptr,
                                             nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return response;
  const std::wstring method = widen(request.method), path = widen(request.path);
  InternetHandle http(HttpOpenRequestW(connection.get(), method.c_str(), path.c_str(), nullptr,
                                       nullptr, nullptr,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                           INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES,
                                       0));
  if (!http) return response;
  const std::wstring headers = widen(request.headers);
  // The body goes out as bytes, exactly as given.
  if (!HttpSendRequestW(http.get(), headers.empty() ? nullptr : headers.c_str(),
                        headers.empty() ? 0 : static_cast<DWORD>(headers.size()),
                        request.body.empty() ? nullptr : const_cast<char*>(request.body.data()),
                        static_cast<DWORD>(request.body.size())))
    return response;
  response.sent = true;

  DWORD value = 0;
  if (queryNumber(http.get(), HTTP_QUERY_STATUS_CODE, value))
    response.status = static_cast<int>(value);
  if (queryNumber(http.get(), HTTP_QUERY_CONTENT_LENGTH, value)) {
    response.hasContentLength = true;
    response.contentLength = value;
  }
  char buffer[4096];
  DWORD read = 0;
  while (InternetReadFile(http.get(), buffer, sizeof buffer, &read) && read > 0) {
    if (response.body.size() < maxBody) {
      const std::size_t room = maxBody - response.body.size();
      response.body.append(buffer, read < room ? read : room);
    }
  }
  return response;
}

}  // namespace pom
