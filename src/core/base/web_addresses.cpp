#include "core/base/web_addresses.h"

#include "core/base/servers.h"

namespace pom {

std::string percentEncode(const std::string& text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string noticePageUrl(const Servers& servers, const std::string& memberId) {
  return servers.webBase(Server::WebSite) +
         "/help_desk/notice_program.asp?userid=" + percentEncode(memberId);
}

std::string memoListUrl(const Servers& servers, const std::string& memberId,
                        const std::string& webToken) {
  return servers.webBase(Server::WebSite) +
         "/memo/msg_list01.asp?userid=" + percentEncode(memberId) +
         "&md6=" + percentEncode(webToken);
}

std::string paymentUrl(const Servers& servers, const std::string& memberId,
                       const std::string& webToken) {
  return servers.webBase(Server::PaymentSite) +
         "/payment/pay.asp?userid=" + percentEncode(memberId) + "&md6=" + percentEncode(webToken);
}

}  // namespace pom
