// Server addresses: section Servers of "./PomConfig.ini", one key per server.
//
// Every default points at the local service on loopback so a fresh checkout
// runs with no setup. A value is "host" or, for the HTTP servers, "host:port"
// so a server can be moved off port 80 by a user without privileges. The
// values are read at the moment of use (no cache), through the Profile port.
// The login-server ports (7031/7032) and the download port (7201) are fixed
// by the protocol and are not settings.
#pragma once

#include <cstdint>
#include <string>

namespace pom {

class Profile;

inline constexpr char kServersSection[] = "Servers";
inline constexpr std::uint16_t kLoginPortBase = 7031;  // 7031 + rand() % 2
inline constexpr std::uint16_t kDownloadPort = 7201;
inline constexpr std::uint16_t kHttpPort = 80;
inline constexpr std::uint16_t kDefaultPeerPort = 4881;

enum class Server {
  LoginHost0,     // "LoginHost0"     127.0.0.1
  LoginHost1,     // "LoginHost1"     127.0.0.2
  UpdateServer,   // "UpdateServer"   127.0.0.1 (HTTP: update files, banned words, ad line)
  WebSite,        // "WebSite"        127.0.0.1 (HTTP: sign-up, help desk, notice pages)
  ClubSite,       // "ClubSite"       127.0.0.1 (HTTP: web links' download page)
  FileBoxSite,    // "FileBoxSite"    127.0.0.1 (HTTP)
  PaymentSite,    // "PaymentSite"    127.0.0.1 (HTTP)
  SearchPrefix,   // "SearchPrefix"   "127.0.0." + last octet 7, 8 or 9 (HTTP)
  NaturalSearch,  // "NaturalSearch"  127.0.0.10 (HTTP)
  PeerList,       // "PeerList"       127.0.0.1 (HTTP)
  PeerPort,       // "PeerPort"       4881 (TCP port of peers)
};

const char* serverKeyName(Server server);
const char* serverDefault(Server server);

struct HostPort {
  std::string host;
  std::uint16_t port = 0;
};

// Parses "host" or "host:port". A missing port gives defaultPort. Fails on an
// empty host, an empty, non-numeric, zero or out-of-range port, or blanks.
bool parseHostPort(const std::string& text, std::uint16_t defaultPort, HostPort& out);

class Servers {
 public:
  explicit Servers(Profile& profile) : profile_(profile) {}

  // The raw value of the key (or its default), surrounding blanks removed.
  std::string value(Server server) const;

  // Login host number index (0 or 1), a bare host; port is kLoginPortBase + r.
  std::string loginHost(int index) const;
  // An HTTP server's host and port (default 80). A value that does not parse
  // falls back to the default address, so a typo never sends a request to a
  // half-parsed host.
  HostPort http(Server server) const;
  // Normal search server for the drawn last octet (7, 8 or 9): prefix + octet,
  // with the prefix's ":port" if it carries one.
  HostPort normalSearch(int lastOctet) const;
  // TCP port peers listen on (4881 unless set).
  std::uint16_t peerPort() const;
  // "http://host" of an HTTP server, with ":port" when it is not 80: the base
  // of the web addresses the program opens.
  std::string webBase(Server server) const;

 private:
  Profile& profile_;
};

}  // namespace pom
