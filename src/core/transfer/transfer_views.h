// TransferViews: the views the transfer modules ask the front end for. Each
// may be null (a front end without windows); the presenters then run
// without it.
#pragma once

#include <memory>

#include "core/transfer/transfer_window_view.h"

namespace pom {

class TransferViews {
 public:
  static constexpr char kLinkName[] = "TransferViews";
  virtual ~TransferViews() = default;
  // The download window ("Pomvale downLoad") or the upload window
  // ("Pomvale UpLoad"), reporting to input. Not created until open().
  virtual std::unique_ptr<TransferWindowView> createTransferWindowView(
      TransferKind kind, TransferWindowInput& input) = 0;
};

}  // namespace pom
