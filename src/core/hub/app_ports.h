// AppPorts: the bundle of ports every subsystem module receives. The front
// end owns the port objects (one bundle per platform: PosixPorts, Win32Ports,
// the tests' FakePorts) and they outlive the application.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "core/base/servers.h"

namespace pom {

class Clock;
class Dialogs;
class EventLoop;
class FileSystem;
class HttpClient;
class Md5;
class Profile;
class Random;
class Registry;
class Shell;
class SocketFactory;

struct AppPorts {
  // Every port, in this order: a port left out does not compile.
  AppPorts(EventLoop& loop, Clock& clock, Random& random, SocketFactory& sockets, Profile& profile,
           Registry& registry, FileSystem& files, HttpClient& http, Dialogs& dialogs, Shell& shell,
           Md5& md5, std::string workingDir)
      : loop(&loop),
        clock(&clock),
        random(&random),
        sockets(&sockets),
        profile(&profile),
        registry(&registry),
        files(&files),
        http(&http),
        dialogs(&dialogs),
        shell(&shell),
        md5(&md5),
        workingDir(std::move(workingDir)) {}

  EventLoop* loop = nullptr;
  Clock* clock = nullptr;
  Random* random = nullptr;
  SocketFactory* sockets = nullptr;
  Profile* profile = nullptr;
  Registry* registry = nullptr;
  FileSystem* files = nullptr;
  HttpClient* http = nullptr;
  Dialogs* dialogs = nullptr;
  Shell* shell = nullptr;
  Md5* md5 = nullptr;      // the upload sample digest
  std::string workingDir;  // where font.ini and the program's files live
  // The folder of the program file, where "PomUpdater.exe" is kept and
  // started from; empty: the working directory.
  std::string programDir;
  // Runs the version check against the update server at start and hands over
  // to the updater when the client is out of date (the Win32 program does;
  // the headless front end and most tests do not).
  bool versionCheck = false;
  // The login ports are 7031 and 7032; a local service started with a port
  // offset (tests, several services side by side) moves both.
  std::uint16_t loginPortBase = kLoginPortBase;
  // The storage servers' download port (7201), moved by the same offset.
  std::uint16_t downloadPort = kDownloadPort;
  // Told "+Name" / "-Name" as each member is created and deleted (optional;
  // diagnostics and tests).
  std::function<void(const char*)> lifecycleObserver;

  // Every port is still set (a test may clear one).
  bool complete() const {
    return loop && clock && random && sockets && profile && registry && files && http && dialogs &&
           shell && md5;
  }
};

}  // namespace pom
