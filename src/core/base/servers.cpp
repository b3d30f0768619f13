#include "core/base/servers.h"

#include "core/ports/profile.h"

#include "core/base/config_keys.h"

namespace pom {

namespace {

struct ServerInfo {
  Server server;
  const char* key;
  const char* defaultValue;
};

constexpr ServerInfo kServers[] = {
    {Server::LoginHost0, "LoginHost0", "127.0.0.1"},
    {Server::LoginHost1, "LoginHost1", "127.0.0.2"},
    {Server::UpdateServer, "UpdateServer", "127.0.0.1"},
    {Server::WebSite, "WebSite", "127.0.0.1"},
    {Server::ClubSite, "ClubSite", "127.0.0.1"},
    {Server::FileBoxSite, "FileBoxSite", "127.0.0.1"},
    {Server::PaymentSite, "PaymentSite", "127.0.0.1"},
    {Server::SearchPrefix, "SearchPrefix", "127.0.0."},
    {Server::NaturalSearch, "NaturalSearch", "127.0.0.10"},
    {Server::PeerList, "PeerList", "127.0.0.1"},
    {Server::PeerPort, "PeerPort", "4881"},
};

const ServerInfo& info(Server server) {
  for (const ServerInfo& s : kServers) {
    if (s.server == server) return s;
  }
  return kServers[0];  // unreachable for valid enumerators
}

std::string trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool parsePort(const std::string& digits, std::uint16_t& port) {
  if (digits.empty() || digits.size() > 5) return false;
  unsigned long value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned long>(c - '0');
  }
  if (value == 0 || value > 65535) return false;
  port = static_cast<std::uint16_t>(value);
  return true;
}

}  // namespace

const char* serverKeyName(Server server) {
  return info(server).key;
}

const char* serverDefault(Server server) {
  return info(server).defaultValue;
}

bool parseHostPort(const std::string& text, std::uint16_t defaultPort, HostPort& out) {
  if (text.find_first_of(" \t/") != std::string::npos) return false;
  const auto colon = text.rfind(':');
  HostPort result;
  result.host = text.substr(0, colon);
  result.port = defaultPort;
  if (colon != std::string::npos && !parsePort(text.substr(colon + 1), result.port)) return false;
  if (result.host.empty() || result.host.find(':') != std::string::npos) return false;
  out = std::move(result);
  return true;
}

std::string Servers::value(Server server) const {
  // 260 bytes is the buffer every Config text uses too.
  return trim(profile_.readText(kServersSection, serverKeyName(server), serverDefault(server),
                                kConfigTextBuffer, kConfigFile));
}

std::string Servers::loginHost(int index) const {
  return value(index == 0 ? Server::LoginHost0 : Server::LoginHost1);
}

HostPort Servers::http(Server server) const {
  HostPort result;
  if (!parseHostPort(value(server), kHttpPort, result)) {
    parseHostPort(serverDefault(server), kHttpPort, result);
  }
  return result;
}

HostPort Servers::normalSearch(int lastOctet) const {
  std::string prefix = value(Server::SearchPrefix);
  std::string port;
  const auto colon = prefix.rfind(':');
  if (colon != std::string::npos) {
    port = prefix.substr(colon);
    prefix.erase(colon);
  }
  HostPort result;
  if (prefix.empty() ||
      !parseHostPort(prefix + std::to_string(lastOctet) + port, kHttpPort, result)) {
    parseHostPort(serverDefault(Server::SearchPrefix) + std::to_string(lastOctet), kHttpPort,
                  result);
  }
  return result;
}

std::uint16_t Servers::peerPort() const {
  std::uint16_t port = kDefaultPeerPort;
  if (!parsePort(value(Server::PeerPort), port)) port = kDefaultPeerPort;
  return port;
}

std::string Servers::webBase(Server server) const {
  const HostPort address = http(server);
  std::string base = "http://" + address.host;
  if (address.port != kHttpPort) base += ":" + std::to_string(address.port);
  return base;
}

}  // namespace pom
