#include "platform/win32/win32_http_client.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

// The bound of a request without one of its own, as the POSIX backend's.
constexpr DWORD kDefaultTimeoutMs = 10000;
// How long a caller whose request ran out of time waits for the worker once
// its handles are closed, before leaving it to end on its own.
constexpr DWORD kCancelGraceMs = 250;

// The time left of one request's bound.
class RequestClock {
 public:
  explicit RequestClock(DWORD boundMs) : deadline_(GetTickCount64() + boundMs) {}
  DWORD remaining() const {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline_ ? 0 : static_cast<DWORD>(deadline_ - now);
  }
  // Sets the connect, send and receive timeouts of handle to the time left;
  // false when none is left.
  bool giveRemaining(HINTERNET handle) const {
    DWORD left = remaining();
    if (left == 0) return false;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
      InternetSetOptionW(handle, option, &left, sizeof left);
    }
    return true;
  }

 private:
  ULONGLONG deadline_;
};

// The WinINet handles of one request.
struct RequestHandles {
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;

  // Closes those still open, children first.
  void close() {
    for (HINTERNET* handle : {&request, &connection, &session}) {
      if (*handle != nullptr) InternetCloseHandle(*handle);
      *handle = nullptr;
    }
  }
};

// One request, shared by the caller and the worker thread that runs its
// WinINet sequence. The caller may give up on the worker, so the state lives
// as long as either of them holds it; everything below the mutex is guarded
// by it. The worker owns the handles until the caller abandons the request,
// which takes them over and closes them: closing cancels the WinINet call the
// worker is blocked in, and the worker never touches a handle afterwards.
struct RequestState {
  RequestState(const HttpRequest& request, std::size_t maxBody, DWORD boundMs)
      : request(request), maxBody(maxBody), clock(boundMs) {}

  const HttpRequest request;  // a copy: the caller's may be gone
  const std::size_t maxBody;
  const RequestClock clock;

  std::mutex mutex;
  std::condition_variable ended;
  bool done = false;
  bool abandoned = false;
  RequestHandles handles;
  HttpResponse response;
};

// The worker's view of a request: it asks before every WinINet call whether
// the caller still waits, and hands each new handle over to the state.
class RequestWork {
 public:
  explicit RequestWork(RequestState& state) : state_(state) {}

  bool live() {
    std::lock_guard<std::mutex> lock(state_.mutex);
    return !state_.abandoned;
  }
  // Keeps a new handle in its slot; nullptr (and the handle closed) when it
  // failed to open or the caller gave up meanwhile.
  HINTERNET keep(HINTERNET RequestHandles::*slot, HINTERNET handle) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    if (state_.abandoned) {
      if (handle != nullptr) InternetCloseHandle(handle);
      return nullptr;
    }
    state_.handles.*slot = handle;
    return handle;
  }
  // Hands the outcome to the caller and closes the handles it still owns.
  void finish(HttpResponse response) {
    std::lock_guard<std::mutex> lock(state_.mutex);
    state_.handles.close();
    state_.response = std::move(response);
    state_.done = true;
    state_.ended.notify_all();
  }

 private:
  RequestState& state_;
};

// Waits, with lock held on state's mutex, until the worker is done or clock
// runs out; true when it is done. The wait goes in short slices measured by
// the tick count, so a change of the wall clock cannot stretch it.
bool waitForWorker(RequestState& state, std::unique_lock<std::mutex>& lock,
                   const RequestClock& clock) {
  constexpr DWORD kSliceMs = 50;
  while (!state.done) {
    const DWORD left = clock.remaining();
    if (left == 0) return false;
    state.ended.wait_for(lock, std::chrono::milliseconds(left < kSliceMs ? left : kSliceMs));
  }
  return true;
}

bool queryNumber(HINTERNET request, DWORD info, DWORD& value) {
  DWORD size = sizeof value;
  DWORD index = 0;
  return HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index) != FALSE;
}

// The whole WinINet sequence of one request; an empty response (sent = false)
// when it failed, ran out of time or was abandoned.
HttpResponse perform(RequestState& state, RequestWork& work) {
  const HttpRequest& request = state.request;
  const RequestClock& clock = state.clock;
  std::size_t maxBody = state.maxBody;
  HttpResponse response;
  std::string host;
  std::uint16_t port = INTERNET_DEFAULT_HTTP_PORT;
  splitHostPort(request.host, host, port);

  // WinINet's own timeouts apply to each operation, so every call gets only
  // the time that is left of the request's bound.
  const std::wstring agent = widen(request.agent);
  const HINTERNET session = work.keep(
      &RequestHandles::session, InternetOpenW(request.agent.empty() ? nullptr : agent.c_str(),
                                              INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (session == nullptr || !clock.giveRemaining(session) || !work.live()) return response;
  const std::wstring wideHost = widen(host);
  const HINTERNET connection = work.keep(&RequestHandles::connection,
                                         InternetConnectW(session, wideHost.c_str(), port, nullptr,
                                                          nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (connection == nullptr || !work.live()) return response;
  const std::wstring method = widen(request.method), path = widen(request.path);
  const HINTERNET http = work.keep(
      &RequestHandles::request,
      HttpOpenRequestW(connection, method.c_str(), path.c_str(), nullptr, nullptr, nullptr,
                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                           INTERNET_FLAG_PRAGMA_NOCACHE | INTERNET_FLAG_NO_COOKIES,
                       0));
  if (http == nullptr || !clock.giveRemaining(http) || !work.live()) return response;
  const std::wstring headers = widen(request.headers);
  // The body goes out as bytes, exactly as given.
  if (!HttpSendRequestW(http, headers.empty() ? nullptr : headers.c_str(),
                        headers.empty() ? 0 : static_cast<DWORD>(headers.size()),
                        request.body.empty() ? nullptr : const_cast<char*>(request.body.data()),
                        static_cast<DWORD>(request.body.size())) ||
      clock.remaining() == 0 || !work.live())
    return response;

  DWORD value = 0;
  if (queryNumber(http, HTTP_QUERY_STATUS_CODE, value)) response.status = static_cast<int>(value);
  if (queryNumber(http, HTTP_QUERY_CONTENT_LENGTH, value)) {
    response.hasContentLength = true;
    response.contentLength = value;
    // Bytes past the announced length are not part of the body.
    if (static_cast<std::uint64_t>(value) < maxBody) maxBody = value;
  }
  char buffer[4096];
  std::int64_t received = 0;
  for (;;) {
    // Asking what is available waits for the next bytes; a server that
    // dribbles them runs out of the time that is left, not of a fresh timeout.
    if (!work.live() || !clock.giveRemaining(http)) return HttpResponse();
    DWORD available = 0;
    if (!InternetQueryDataAvailable(http, &available, 0, 0)) {
      if (GetLastError() == ERROR_INTERNET_TIMEOUT || !work.live()) return HttpResponse();
      break;  // the connection broke: what arrived is the body
    }
    if (available == 0) break;
    DWORD read = 0;
    if (!work.live() ||
        !InternetReadFile(http, buffer, available < sizeof buffer ? available : sizeof buffer,
                          &read)) {
      if (!work.live() || GetLastError() == ERROR_INTERNET_TIMEOUT) return HttpResponse();
      break;
    }
    if (read == 0) break;
    if (clock.remaining() == 0) return HttpResponse();
    received += read;
    if (response.body.size() < maxBody) {
      const std::size_t room = maxBody - response.body.size();
      response.body.append(buffer, read < room ? read : room);
    }
    if (response.hasContentLength && received >= response.contentLength) break;
  }
  response.sent = true;
  return response;
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
  // WinINet can block in one call far past its own timeouts (a server that
  // dribbles its status and header lines keeps HttpSendRequestW waiting), so
  // the sequence runs on a worker and the caller waits only the time left.
  const auto state = std::make_shared<RequestState>(
      request, maxBody,
      request.timeoutMs > 0 ? static_cast<DWORD>(request.timeoutMs) : kDefaultTimeoutMs);
  try {
    std::thread([state] {
      RequestWork work(*state);
      HttpResponse response;
      try {
        response = perform(*state, work);
      } catch (const std::exception&) {
        // Out of memory on the worker: the request failed.
      }
      work.finish(std::move(response));
    }).detach();
  } catch (const std::system_error&) {
    return HttpResponse();  // no thread to run it on
  }

  std::unique_lock<std::mutex> lock(state->mutex);
  if (waitForWorker(*state, lock, state->clock)) return std::move(state->response);

  // Out of time: take the handles over and close them, which cancels the
  // call the worker waits in where WinINet can (Wine's HttpSendRequestW
  // keeps reading until the server stops); give the worker a short moment to
  // notice, then leave it. It makes no WinINet call after this.
  state->abandoned = true;
  RequestHandles handles = state->handles;
  state->handles = RequestHandles();
  lock.unlock();
  handles.close();
  lock.lock();
  waitForWorker(*state, lock, RequestClock(kCancelGraceMs));
  return HttpResponse();
}

}  // namespace pom
