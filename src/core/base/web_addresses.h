// The service's web addresses that carry the member: the program notice page
// with the member id, the memo list and the payment page with the member id
// and the web token ("md6"). The values are percent-encoded, so an id with
// "&", "#", blanks or Korean letters cannot end the query or change its keys.
#pragma once

#include <string>

namespace pom {

class Servers;

// Every byte other than ASCII letters, digits and "-", "_", ".", "~" as "%XX"
// (upper-case hexadecimal); CP949 text goes out as its bytes.
std::string percentEncode(const std::string& text);

// "<web site>/help_desk/notice_program.asp?userid=%s".
std::string noticePageUrl(const Servers& servers, const std::string& memberId);
// "<web site>/memo/msg_list01.asp?userid=%s&md6=%s".
std::string memoListUrl(const Servers& servers, const std::string& memberId,
                        const std::string& webToken);
// "<payment site>/payment/pay.asp?userid=%s&md6=%s".
std::string paymentUrl(const Servers& servers, const std::string& memberId,
                       const std::string& webToken);

}  // namespace pom
