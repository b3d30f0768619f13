// SessionState: the member's data for the current login, filled from the
// server's LoginReply and kept current by SessionInfo and CreditBalance (and
// later by the download sessions). Owned by ClientApp for the whole run; read
// by the status panel, the web addresses and the requests that carry the
// session number. Loop thread only.
#pragma once

#include <cstdint>
#include <string>

namespace pom {

class SessionState {
 public:
  // The fields LoginReply carries, as the session flow hands them over.
  struct Login {
    std::string memberId;            // up to 20 bytes
    std::string memberText;          // first 20 bytes kept
    std::string registrationNumber;  // 13 ASCII digits
    std::int16_t flatRate = 0;
    std::int64_t credit = 0;
    std::int64_t valueB = 0;
    std::int64_t valueC = 0;
    std::int64_t valueD = 0;
  };

  // Takes the member's data from an accepted login; currentYear gives age.
  void fillFromLogin(const Login& login, int currentYear);

  // Birth year from a registration number: the first two digits plus 1900
  // when the 7th digit is 1 or 2, otherwise plus 2000. Digits that are not
  // digits count as 0.
  static int birthYear(const std::string& registrationNumber);

  std::int32_t sessionNumber = 0;
  std::string memberId;
  std::string memberText;
  std::string registrationNumber;
  std::uint8_t centuryDigit = 0;
  std::uint8_t age = 0;
  std::int16_t flatRate = 0;
  std::int64_t credit = 0;
  std::int64_t valueB = 0;
  std::int64_t valueC = 0;
  std::int64_t valueD = 0;
  // The listing of the folder shown (WebItem records) joins here with the web
  // file list; an accepted login empties it.
};

}  // namespace pom
