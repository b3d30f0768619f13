// SettingsViews: the view the settings dialog asks the front end for. A front
// end without it (or returning null) leaves the dialog without a window: the
// settings button then opens nothing visible.
#pragma once

#include <memory>

#include "core/settings/settings_dialog.h"

namespace pom {

class SettingsViews {
 public:
  static constexpr char kLinkName[] = "SettingsViews";
  virtual ~SettingsViews() = default;
  virtual std::unique_ptr<SettingsDialogView> createSettingsDialogView(
      SettingsDialog& presenter) = 0;
};

}  // namespace pom
