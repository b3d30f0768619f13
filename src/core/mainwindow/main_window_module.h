// MainWindowModule: the main window as one module of the composition root.
//
// Member: the main window's presenter (stage Windows). It offers
// MainWindowLink, fetches the advertisement line at start-up, and needs the
// session (member record, web token), the web storage and search lists (the
// download command), the transfers (the upload command, dropped files, the
// close question) and the local browser (the upload command, the settings
// dialog, the download folder in the local tree). Loop thread only.
#pragma once

#include <memory>
#include <string>

#include "core/hub/main_window_link.h"
#include "core/hub/module.h"

namespace pom {

class DownloadLink;
class LocalBrowserLink;
class MainWindowPresenter;
class MainWindowView;
class ModuleContext;
class SearchLink;
class SessionLink;
class StorageLink;
class UploadLink;

class MainWindowModule final : public Module, public MainWindowLink {
 public:
  explicit MainWindowModule(ModuleContext& context);
  ~MainWindowModule() override;

  const char* name() const override { return "main window"; }
  bool connect() override;
  void create(Stage stage) override;
  void attachViews() override;
  void start() override;
  void destroy(Stage stage) override;

  // MainWindowLink
  bool layoutBuilt() const override;
  void buildLayout() override;
  void setVisible(bool visible) override;
  void paint() override;
  void redraw() override;
  ScreenPoint screenPosition() override;
  SkinPainter* painter() override;
  void setPane(PaneId id, MainPane* pane) override;
  void showAndFocus() override;
  RightPaneMode rightPaneMode() const override;
  void setRightPaneMode(RightPaneMode mode) override;
  std::string ensureDownloadFolder() override;

  MainWindowPresenter& presenter() { return *presenter_; }

 private:
  ModuleContext& context_;
  SessionLink* session_ = nullptr;
  StorageLink* storage_ = nullptr;
  SearchLink* search_ = nullptr;
  UploadLink* uploads_ = nullptr;
  DownloadLink* downloads_ = nullptr;
  LocalBrowserLink* local_ = nullptr;
  std::unique_ptr<MainWindowPresenter> presenter_;
  std::unique_ptr<MainWindowView> view_;
};

}  // namespace pom
