// Win32FrontEnd: the views of the real program. It owns the top window; the
// login view creates it (the login window is the program's first window),
// the main view takes it over after the login, the dialogs are windows of
// their own. It tells the socket factory where notifications go, tells the
// message boxes which window owns them, and gives the message loop what it
// needs before dispatching (the splitter tracker, Escape, the dialogs'
// keyboard handling). Lives longer than the application; GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "core/app/front_end.h"
#include "core/ports/dialogs.h"
#include "core/settings/settings_views.h"
#include "win32/top_window.h"

namespace pom {

class ClientApp;
class Win32Dialogs;
class Win32MainWindowView;
class Win32ProgressDialogView;
class Win32SettingsDialogView;
class Win32TermExtensionDialogView;
class WinsockSocketFactory;

class Win32FrontEnd final : public FrontEnd, public SettingsViews {
 public:
  Win32FrontEnd(HINSTANCE instance, ClientApp& app, WinsockSocketFactory& sockets,
                Win32Dialogs& dialogs);
  ~Win32FrontEnd() override;

  std::unique_ptr<LoginView> createLoginView(LoginPresenter& presenter) override;
  std::unique_ptr<MainWindowView> createMainWindowView(MainWindowPresenter& presenter) override;
  std::unique_ptr<WebTreeView> createWebTreeView(WebFolderTree& presenter) override;
  std::unique_ptr<WebFileListView> createWebFileListView(WebFileList& presenter) override;
  std::unique_ptr<FriendAddDialogView> createFriendAddDialogView(
      FriendAddDialog& presenter) override;
  std::unique_ptr<MemoDialogView> createMemoDialogView(MemoDialog& presenter) override;
  std::unique_ptr<ProgressDialogView> createProgressDialogView(ProgressDialog& presenter) override;
  std::unique_ptr<TermExtensionDialogView> createTermExtensionDialogView(
      TermExtensionDialog& presenter) override;
  std::unique_ptr<TransferWindowView> createTransferWindowView(TransferKind kind,
                                                               TransferWindowInput& input) override;
  std::unique_ptr<LocalShell> createLocalShell() override;
  std::unique_ptr<LocalTreeView> createLocalTreeView(LocalFolderTree& presenter) override;
  std::unique_ptr<LocalFileListView> createLocalListView(LocalFileList& presenter) override;
  SearchBarView* searchBarView() override;
  std::unique_ptr<SearchResultListView> createSearchResultListView(
      SearchListInput& presenter) override;
  std::unique_ptr<FolderContentListView> createFolderContentListView(
      SearchListInput& presenter) override;

  std::unique_ptr<SettingsDialogView> createSettingsDialogView(SettingsDialog& presenter) override;

  // Before a message is translated and dispatched: true when a dialog took it.
  bool preTranslate(MSG& message);
  // The views are gone (the application is torn down): forget them.
  void forgetViews();

 private:
  HWND ownerOf(DialogOwner owner) const;

  HINSTANCE instance_;
  ClientApp& app_;
  WinsockSocketFactory& sockets_;
  Win32Dialogs& dialogs_;
  TopWindow top_;
  Win32MainWindowView* main_ = nullptr;
  Win32ProgressDialogView* progress_ = nullptr;
  Win32SettingsDialogView* settings_ = nullptr;
  Win32TermExtensionDialogView* termExtension_ = nullptr;
};

}  // namespace pom
