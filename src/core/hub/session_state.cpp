#include "core/hub/session_state.h"

#include "core/base/text_utils.h"

namespace pom {
namespace {

int digitAt(const std::string& text, std::size_t index) {
  if (index >= text.size()) return 0;
  const char c = text[index];
  return c >= '0' && c <= '9' ? c - '0' : 0;
}

}  // namespace

int SessionState::birthYear(const std::string& registrationNumber) {
  const int twoDigits = digitAt(registrationNumber, 0) * 10 + digitAt(registrationNumber, 1);
  const int century = digitAt(registrationNumber, 6);
  return twoDigits + (century == 1 || century == 2 ? 1900 : 2000);
}

void SessionState::fillFromLogin(const Login& login, int currentYear) {
  memberId = cutText(login.memberId, 20);
  memberText = cutText(login.memberText, 20);
  registrationNumber = login.registrationNumber.substr(0, 13);
  centuryDigit = static_cast<std::uint8_t>(digitAt(registrationNumber, 6));
  age = static_cast<std::uint8_t>(currentYear - birthYear(registrationNumber) + 1);
  flatRate = login.flatRate;
  credit = login.credit;
  valueB = login.valueB;
  valueC = login.valueC;
  valueD = login.valueD;
}

}  // namespace pom
