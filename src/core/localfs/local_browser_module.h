// LocalBrowserModule: the local file browser and the settings dialog as one
// module of the composition root (their members come in the Windows stage
// after the transfer windows). The local folder tree and file list are
// panes of the main window over the front end's shell namespace; uploads
// from them go through UploadLink into the web folder the own list shows.
// It offers LocalBrowserLink. Loop thread only.
#pragma once

#include <memory>

#include "core/hub/local_browser_link.h"
#include "core/hub/module.h"
#include "core/localfs/local_browser_views.h"
#include "core/localfs/local_pane.h"
#include "core/settings/settings_part.h"

namespace pom {

class MainWindowLink;
class ModuleContext;
class SessionLink;
class StorageLink;
class UploadLink;

class LocalBrowserModule final : public Module, public LocalBrowserLink {
 public:
  // The main window's outer size less its client size (888 x 740 against
  // 880 x 706).
  static constexpr int kFrameWidth = 8;
  static constexpr int kFrameHeight = 34;

  explicit LocalBrowserModule(ModuleContext& context);
  ~LocalBrowserModule() override;

  const char* name() const override { return "local browser"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void destroy(Stage stage) override;

  // LocalBrowserLink
  bool localListHasSelection() const override;
  void uploadSelection() override;
  void pointTreeAt(const std::string& path) override;
  void openSettings() override { settings_.open(); }
  std::string shownFolder() const override;

  LocalFileList* list() { return list_.get(); }
  LocalFolderTree* tree() { return tree_.get(); }

 private:
  ModuleContext& context_;
  SettingsPart settings_{context_, *this};
  UploadLink* uploads_ = nullptr;
  MainWindowLink* mainWindow_ = nullptr;
  StorageLink* storage_ = nullptr;
  SessionLink* session_ = nullptr;

  std::unique_ptr<LocalShell> shell_;
  std::unique_ptr<LocalFileList> list_;
  std::unique_ptr<LocalFolderTree> tree_;
  std::unique_ptr<LocalTreeView> treeView_;
  std::unique_ptr<LocalFileListView> listView_;
  // The first resize grows every pane by the window's frame (the outer size
  // against the client size it started from): less by that here, the panes
  // then stand at (5, 398) 223 x 265 and (236, 398) 640 x 265.
  LocalPane treePane_{{5, 398, 223, 265 - kFrameHeight}, PaneLayout::Side::Left};
  LocalPane listPane_{{236, 398, 640 - kFrameWidth, 265 - kFrameHeight}, PaneLayout::Side::Right};
};

}  // namespace pom
