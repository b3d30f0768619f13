// SettingsPart: the settings dialog as a member of the module that owns it
// (the local browser module). It creates the presenter with the windows and
// dialogs, asks the front end for its view when there is one (SettingsViews),
// and acts as the dialog's host: the download folder it shows is the main
// window's, and a chosen folder goes to the local tree and the main window.
//
// The owning module forwards connect, create, attachViews and destroy to it,
// and openSettings to open. Loop thread only.
#pragma once

#include <memory>
#include <string>

#include "core/hub/module.h"
#include "core/settings/settings_dialog.h"

namespace pom {

class LocalBrowserLink;
class MainWindowLink;
class ModuleContext;

class SettingsPart final : public SettingsDialogHost {
 public:
  SettingsPart(ModuleContext& context, LocalBrowserLink& local);
  ~SettingsPart() override;

  bool connect(const char* who);
  void create(Stage stage);
  void attachViews();
  void destroy(Stage stage);
  // The settings button: false when the dialog is open already (or absent).
  bool open();
  SettingsDialog* dialog() { return dialog_.get(); }

  // SettingsDialogHost
  std::string downloadFolder() override;
  void downloadFolderChosen(const std::string& path) override;

 private:
  ModuleContext& context_;
  LocalBrowserLink& local_;
  MainWindowLink* mainWindow_ = nullptr;
  std::unique_ptr<SettingsDialog> dialog_;
  std::unique_ptr<SettingsDialogView> view_;
};

}  // namespace pom
