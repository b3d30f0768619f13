#include "service/ports.h"

#include <arpa/inet.h>

namespace pom {
namespace service {

namespace {

bool isLoopback(const std::string& host) {
  in_addr address{};
  if (inet_pton(AF_INET, host.c_str(), &address) != 1) return false;
  return (ntohl(address.s_addr) >> 24) == 127;
}

std::uint16_t shifted(std::uint16_t port, int base) {
  int value = static_cast<int>(port) + base;
  return value > 0 && value < 65536 ? static_cast<std::uint16_t>(value) : 0;
}

}  // namespace

ServicePorts ServicePorts::withBase(int portBase, bool privileged) {
  ServicePorts ports;
  ports.portBase = portBase;
  for (auto& port : ports.loginPorts) port = shifted(port, portBase);
  ports.downloadPort = shifted(ports.downloadPort, portBase);
  ports.uploadPort = shifted(ports.uploadPort, portBase);
  ports.controlPort = shifted(ports.controlPort, portBase);
  ports.peerPort = shifted(ports.peerPort, portBase);
  ports.webPort = (privileged && portBase == 0) ? 80 : shifted(8000, portBase);
  return ports;
}

bool ServicePorts::valid(std::string* why) const {
  std::vector<std::string> hosts = loginHosts;
  hosts.insert(hosts.end(), searchHosts.begin(), searchHosts.end());
  hosts.insert(hosts.end(), peerHosts.begin(), peerHosts.end());
  hosts.insert(hosts.end(), {storageHost, controlHost, webHost, naturalSearchHost, peerListHost,
                             hangingPeerHost});
  for (const auto& host : hosts) {
    if (!isLoopback(host)) {
      if (why) *why = "not a loopback address: " + host;
      return false;
    }
  }
  std::vector<std::uint16_t> ports = loginPorts;
  ports.insert(ports.end(), {downloadPort, uploadPort, controlPort, webPort, peerPort});
  for (auto port : ports) {
    if (port == 0) {
      if (why) *why = "port out of range (check --port-base)";
      return false;
    }
  }
  return true;
}

}  // namespace service
}  // namespace pom
