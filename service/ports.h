// ServicePorts: every loopback address and port the local service listens on.
//
// Built once from the command line (--port-base N adds N to every port) and
// handed to each part of the service: the login server, the storage servers,
// the control endpoint, and the web side (HTTP pages, search, peer list,
// peers). The defaults are the addresses the client's settings point at on a
// fresh checkout. Only 127.0.0.0/8 addresses appear here: the service never
// listens anywhere else.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pom {
namespace service {

struct ServicePorts {
  int portBase = 0;

  // Login server: both hosts listen on both ports.
  std::vector<std::string> loginHosts{"127.0.0.1", "127.0.0.2"};
  std::vector<std::uint16_t> loginPorts{7031, 7032};

  // Storage servers: downloads on the fixed data port, uploads on the port
  // named in upload tickets.
  std::string storageHost = "127.0.0.3";
  std::uint16_t downloadPort = 7201;
  std::uint16_t uploadPort = 7202;

  // Control endpoint for fault switches (line protocol, 127.0.0.1 only).
  std::string controlHost = "127.0.0.1";
  std::uint16_t controlPort = 7999;

  // HTTP: update files, web pages, advertisement line and peer list on
  // webHost; normal search on the searchHosts; natural search on its own host.
  // Port 80 needs privileges: without them webPort is 8000 + portBase.
  std::string webHost = "127.0.0.1";
  std::uint16_t webPort = 8000;
  std::vector<std::string> searchHosts{"127.0.0.7", "127.0.0.8", "127.0.0.9"};
  std::string naturalSearchHost = "127.0.0.10";
  std::string peerListHost = "127.0.0.1";

  // Peers that hold copies of large files (raw byte stream after one header).
  std::vector<std::string> peerHosts{"127.0.0.11", "127.0.0.12", "127.0.0.13"};
  std::uint16_t peerPort = 4881;
  // A listener on the peer port that never completes a connect (its backlog
  // is kept full), offered by the "peer_list hang" switch.
  std::string hangingPeerHost = "127.0.0.14";

  // The defaults shifted by portBase. webPort is 80 when privileged is true
  // and portBase is 0, else 8000 + portBase.
  static ServicePorts withBase(int portBase, bool privileged);

  // True when every host is a 127.0.0.0/8 address and every port fits 1..65535.
  bool valid(std::string* why) const;
};

}  // namespace service
}  // namespace pom
