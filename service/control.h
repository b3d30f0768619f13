// ControlServer: the loopback control endpoint for fault switches.
//
// A line protocol on controlHost:controlPort (127.0.0.1 only). Each command
// is one line; each answer one line starting with "ok" or "error":
//   set KEY VALUE          switch on until cleared (VALUE is the rest of the line)
//   once KEY VALUE         switch on for the next use only
//   times N KEY VALUE      switch on for the next N uses
//   clear KEY | clear all  switch off
//   get KEY                "ok VALUE", or "ok" when off
//   list                   "ok key=value*count;..." of every switch that is on
//   ping                   "ok pong"
// Texts (the notice) arrive as UTF-8 and are stored as CP949, as the wire
// carries them. Keys are those of faults.h.
//
// Runs its own thread with a blocking poll; one client at a time is served
// line by line, others wait in the backlog. stop() (and the destructor)
// closes the listener and joins the thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "service/faults.h"

namespace pom {
namespace service {

// Executes one command line against the switches (also used by tests).
std::string runControlCommand(Faults& faults, const std::string& line);

class ControlServer {
 public:
  ControlServer(Faults& faults) : faults_(faults) {}
  ~ControlServer();
  ControlServer(const ControlServer&) = delete;
  ControlServer& operator=(const ControlServer&) = delete;

  bool start(const std::string& host, std::uint16_t port, std::string* error);
  void stop();

 private:
  void run();
  void serve(int client);

  Faults& faults_;
  int listener_ = -1;
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace service
}  // namespace pom
