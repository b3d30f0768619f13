#include "core/base/web_addresses.h"

#include "core/base/servers.h"

namespace pom {

std::string memoListUrl(const Servers& servers, const std::string& memberId,
                        const std::string& webToken) {
  return servers.webBase(Server::WebSite) + "/memo/msg_list01.asp?userid=" + memberId +
         "&md6=" + webToken;
}

std::string paymentUrl(const Servers& servers, const std::string& memberId,
                       const std::string& webToken) {
  return servers.webBase(Server::PaymentSite) + "/payment/pay.asp?userid=" + memberId +
         "&md6=" + webToken;
}

}  // namespace pom
