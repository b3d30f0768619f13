// Win32Ports: every Win32 port object of the program, and the AppPorts
// bundle over them. The message boxes are owned by the windows a resolver
// names (set by the front end once its windows exist). Owns its ports; GUI
// thread only.
#pragma once

#include <string>

#include "core/hub/app_ports.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_md5.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/winsock_socket.h"

namespace pom {

class Win32Ports {
 public:
  explicit Win32Ports(std::string workingDir) : workingDir_(std::move(workingDir)) {}

  AppPorts ports() {
    AppPorts bundle(loop, clock, random, sockets, profile, registry, files, http, dialogs, shell,
                    md5, workingDir_);
    return bundle;
  }

  Win32EventLoop loop;
  Win32Clock clock;
  CrtRandom random;
  WinsockSocketFactory sockets;
  Win32Profile profile;
  Win32Registry registry;
  Win32FileSystem files;
  Win32HttpClient http;
  Win32Dialogs dialogs;
  Win32Shell shell;
  Win32Md5 md5;

 private:
  std::string workingDir_;
};

}  // namespace pom
