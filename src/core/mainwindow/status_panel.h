// The texts of the main window's status panel and member line.
#pragma once

#include <cstdint>
#include <string>

namespace pom {

// The point balance: thousands separators and "P" ("1,200,000P"); a
// negative balance shows as "0P".
std::string formatPoints(std::int64_t credit);

// The connection kind of a flat-rate class: 1-4 "정액제접속", 0 and 5
// "접속안됨", anything else empty.
std::string connectionKindText(std::int16_t flatRate);

// "<memberId>님".
std::string memberLine(const std::string& memberId);

}  // namespace pom
