// Result bytes of the service's answers. The catalogue names the values the
// client acts on; the service also sends others (its failure codes, and any
// value a fault switch forces), so it sets the byte as a number.
#pragma once

namespace pom::service {

template <typename Result>
void setResult(Result& field, int value) {
  field = static_cast<Result>(value);
}

}  // namespace pom::service
