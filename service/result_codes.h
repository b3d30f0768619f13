// Result bytes of the service's answers. The catalogue names the values the
// client acts on; the service also sends others (its failure codes, and any
// value a fault switch forces), so it sets the byte as a number.
#pragma once

#include <optional>

namespace pom::service {

template <typename Result>
void setResult(Result& field, int value) {
  field = static_cast<Result>(value);
}

// The value of a result switch (faults.h), consumed once for one reply. A
// handler checks refuses() before it changes the store and apply()s the value
// to the reply's result byte last, over whatever the real verdict was.
struct ForcedResult {
  std::optional<long long> value;

  bool refuses() const { return value && *value != 0; }
  template <typename Result>
  void apply(Result& field) const {
    if (value) setResult(field, static_cast<int>(*value));
  }
};

}  // namespace pom::service
