// StorageViews: the views the web storage module asks the front end for.
#pragma once

#include <memory>

#include "core/storage/progress_dialog.h"
#include "core/storage/term_extension_dialog.h"

namespace pom {

class StorageViews {
 public:
  static constexpr char kLinkName[] = "StorageViews";
  virtual ~StorageViews() = default;
  // The loading / moving dialog and the term-extension answer (null when the
  // front end has no windows).
  virtual std::unique_ptr<ProgressDialogView> createProgressDialogView(
      ProgressDialog& presenter) = 0;
  virtual std::unique_ptr<TermExtensionDialogView> createTermExtensionDialogView(
      TermExtensionDialog& presenter) = 0;
};

}  // namespace pom
