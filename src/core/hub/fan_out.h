// WindowMessageFanOut: every message of the top window, offered to a fixed
// sequence of receivers.
//
// The order is by slot, and within a slot by registration: the login-server
// connection, the three upload sessions, the three download sessions, the
// peer-source manager, the main window's command handler, the login window's
// mouse handler. Socket notifications reach their connection this way on
// Win32 (the sockets report to the top window); each receiver acts only on
// its own message numbers and controls, and results are ignored.
//
// Receivers register at start-up and leave at teardown; one may leave from
// inside a dispatch (it is then skipped), but receivers are not added from
// inside one. Loop thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pom {

class SocketNotificationSink;

enum class FanOutSlot {
  MainServer = 0,
  UploadSessions,
  DownloadSessions,
  PeerManager,
  MainWindow,
  LoginWindow,
};

// A window-side receiver (the main window's command handler, the login
// window's mouse handler).
class WindowMessageSink {
 public:
  virtual ~WindowMessageSink() = default;
  virtual void onWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) = 0;
};

class WindowMessageFanOut {
 public:
  void add(FanOutSlot slot, std::string name, WindowMessageSink& sink);
  void add(FanOutSlot slot, std::string name, SocketNotificationSink& sink);
  // Removes every registration of that receiver.
  void remove(const void* receiver);

  void dispatch(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

  // The receivers' names in the order they are offered a message.
  std::vector<std::string> order() const;

 private:
  struct Entry {
    FanOutSlot slot;
    std::string name;
    WindowMessageSink* window;
    SocketNotificationSink* socket;
  };
  void insert(Entry entry);

  std::vector<Entry> entries_;
  int dispatching_ = 0;
};

}  // namespace pom
