#include "core/settings/settings_part.h"

#include "core/hub/local_browser_link.h"
#include "core/hub/main_window_link.h"
#include "core/hub/module_context.h"
#include "core/settings/settings_views.h"

namespace pom {

SettingsPart::SettingsPart(ModuleContext& context, LocalBrowserLink& local)
    : context_(context), local_(local) {}

SettingsPart::~SettingsPart() = default;

bool SettingsPart::connect(const char* who) {
  return context_.require(mainWindow_, who);
}

void SettingsPart::create(Stage stage) {
  if (stage != Stage::Windows) return;
  const AppPorts& ports = context_.ports();
  dialog_ = std::make_unique<SettingsDialog>(context_.config(), *ports.files, ports.dialogs, this);
}

void SettingsPart::attachViews() {
  // Optional: a front end without the dialog's window still starts.
  SettingsViews* views = context_.find<SettingsViews>();
  if (views == nullptr || !dialog_) return;
  view_ = views->createSettingsDialogView(*dialog_);
  dialog_->attach(view_.get());
}

void SettingsPart::destroy(Stage stage) {
  if (stage != Stage::Windows || !dialog_) return;
  dialog_->attach(nullptr);
  view_.reset();
  dialog_.reset();
}

bool SettingsPart::open() {
  return dialog_ != nullptr && dialog_->open();
}

std::string SettingsPart::downloadFolder() {
  return mainWindow_->ensureDownloadFolder();
}

void SettingsPart::downloadFolderChosen(const std::string& path) {
  local_.pointTreeAt(path);
  // The main window reads BasicFolder, written just before, and takes it.
  mainWindow_->ensureDownloadFolder();
}

}  // namespace pom
