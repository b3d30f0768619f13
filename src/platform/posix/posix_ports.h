// PosixPorts: every POSIX port object of one application, and the AppPorts
// bundle over them. The headless front end and the integration tests build
// the application on it; message boxes and the desktop shell are the front
// end's own (they answer from a command line, or record). The working folder
// holds the INI files and the registry file. Owns its ports; loop thread only.
#pragma once

#include <cstdint>
#include <filesystem>

#include "core/hub/app_ports.h"
#include "platform/posix/poll_loop.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_http_client.h"
#include "platform/posix/posix_md5.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_random.h"
#include "platform/posix/posix_registry.h"
#include "platform/posix/posix_socket.h"

namespace pom {

class PosixPorts {
 public:
  PosixPorts(const std::filesystem::path& workDir, Dialogs& dialogs, Shell& shell,
             int httpTimeoutMs = 3000)
      : profile(workDir),
        registry(workDir),
        http(httpTimeoutMs),
        dialogs_(dialogs),
        shell_(shell),
        workDir_(workDir) {}

  // The bundle; loginPortBase moves the login ports (a service with a port offset).
  AppPorts ports(std::uint16_t loginPortBase = kLoginPortBase) {
    AppPorts bundle(loop, clock, random, sockets, profile, registry, files, http, dialogs_, shell_,
                    md5, workDir_.string());
    bundle.loginPortBase = loginPortBase;
    return bundle;
  }

  PollLoop loop;
  PosixClock clock;
  PosixRandom random;
  PosixSocketFactory sockets{loop};
  PosixProfile profile;
  PosixRegistry registry;
  PosixFileSystem files;
  PosixHttpClient http;
  PosixMd5 md5;

 private:
  Dialogs& dialogs_;
  Shell& shell_;
  std::filesystem::path workDir_;
};

}  // namespace pom
