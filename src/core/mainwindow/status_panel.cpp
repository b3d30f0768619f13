#include "core/mainwindow/status_panel.h"

#include "core/base/text_utils.h"

namespace pom {

std::string formatPoints(std::int64_t credit) {
  return formatThousands(credit < 0 ? 0 : credit) + "P";
}

std::string connectionKindText(std::int16_t flatRate) {
  switch (flatRate) {
    case 0:
    case 5:
      return "접속안됨";
    case 1:
    case 2:
    case 3:
    case 4:
      return "정액제접속";
    default:
      return std::string();
  }
}

std::string memberLine(const std::string& memberId) {
  return memberId + "님";
}

}  // namespace pom
