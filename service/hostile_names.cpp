#include "service/hostile_names.h"

#include <cstdlib>

namespace pom {
namespace service {

namespace {

struct Kind {
  const char* kind;
  const char* name;
};

constexpr Kind kKinds[] = {
    {"dotdot", "..\\x"}, {"drive", "C:\\x"}, {"unc", "\\\\host\\x"}, {"con", "CON"},
    {"slash", "a/b"},    {"dot", "x."},      {"blank", "x "},
};

std::string longName() {
  std::string name;
  for (int i = 0; i < 148; ++i) name += "긴";
  return name + ".txt";
}

}  // namespace

std::optional<std::string> hostileName(const std::string& kind) {
  if (kind == "long") return longName();
  for (const Kind& entry : kKinds) {
    if (kind == entry.kind) return std::string(entry.name);
  }
  return std::nullopt;
}

std::string hostileNameKinds() {
  std::string all;
  for (const Kind& entry : kKinds) all += std::string(entry.kind) + "|";
  return all + "long";
}

std::optional<std::pair<std::string, std::int32_t>> parseHostileSwitch(const std::string& value) {
  const auto at = value.find('@');
  if (at == std::string::npos) return std::nullopt;
  std::string kind = value.substr(0, at);
  std::string id = value.substr(at + 1);
  if (!hostileName(kind) || id.empty() || id.size() > 9) return std::nullopt;
  for (char c : id) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  return std::make_pair(kind, static_cast<std::int32_t>(std::atoi(id.c_str())));
}

std::string servedName(const Faults& faults, const Item& item) {
  auto value = faults.peek("hostile_name");
  if (!value) return item.name;
  auto parsed = parseHostileSwitch(*value);
  if (!parsed || parsed->second != item.id) return item.name;
  return *hostileName(parsed->first);
}

}  // namespace service
}  // namespace pom
