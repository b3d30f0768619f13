// The service's web addresses that carry the member: the memo list and the
// payment page, each with the member id and the web token ("md6").
#pragma once

#include <string>

namespace pom {

class Servers;

// "<web site>/memo/msg_list01.asp?userid=%s&md6=%s".
std::string memoListUrl(const Servers& servers, const std::string& memberId,
                        const std::string& webToken);
// "<payment site>/payment/pay.asp?userid=%s&md6=%s".
std::string paymentUrl(const Servers& servers, const std::string& memberId,
                       const std::string& webToken);

}  // namespace pom
