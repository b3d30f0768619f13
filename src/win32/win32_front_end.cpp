#include "win32/win32_front_end.h"

#include "core/app/client_app.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/winsock_socket.h"
#include "win32/dialog_views.h"
#include "win32/local_list_view.h"
#include "win32/local_tree_view.h"
#include "win32/login_window.h"
#include "win32/main_window.h"
#include "win32/search_list_views.h"
#include "win32/settings_dialog_view.h"
#include "win32/transfer_window.h"
#include "win32/web_file_list_view.h"
#include "win32/web_tree_view.h"

namespace pom {

Win32FrontEnd::Win32FrontEnd(HINSTANCE instance, ClientApp& app, WinsockSocketFactory& sockets,
                             Win32Dialogs& dialogs)
    : instance_(instance),
      app_(app),
      sockets_(sockets),
      dialogs_(dialogs),
      top_(instance, app.context().config().fontFace(), app) {
  dialogs_.setResolver([this](DialogOwner owner) { return ownerOf(owner); });
  // Not one of FrontEnd's views: offered here, before the application runs.
  app_.context().provide<SettingsViews>(*this);
}

Win32FrontEnd::~Win32FrontEnd() {
  dialogs_.setResolver(nullptr);
}

std::unique_ptr<LoginView> Win32FrontEnd::createLoginView(LoginPresenter& presenter) {
  // A window that cannot be created leaves the program without one, as
  // designed; the loop then simply finds nothing to do but the sockets.
  if (!top_.createWindow()) return nullptr;
  sockets_.setWindow(top_.handle());
  auto view = std::make_unique<Win32LoginView>(top_, presenter, app_.context().fanOut());
  view->createControls();
  return view;
}

std::unique_ptr<MainWindowView> Win32FrontEnd::createMainWindowView(
    MainWindowPresenter& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  auto view = std::make_unique<Win32MainWindowView>(top_, presenter, app_.context().fanOut());
  main_ = view.get();
  return view;
}

std::unique_ptr<WebTreeView> Win32FrontEnd::createWebTreeView(WebFolderTree& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32WebTreeView>(top_, presenter);
}

std::unique_ptr<WebFileListView> Win32FrontEnd::createWebFileListView(WebFileList& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32WebFileListView>(top_, presenter);
}

std::unique_ptr<FriendAddDialogView> Win32FrontEnd::createFriendAddDialogView(FriendAddDialog&) {
  return std::make_unique<Win32FriendAddDialogView>(instance_, top_.handle());
}

std::unique_ptr<MemoDialogView> Win32FrontEnd::createMemoDialogView(MemoDialog&) {
  return std::make_unique<Win32MemoDialogView>(instance_, top_.handle());
}

std::unique_ptr<ProgressDialogView> Win32FrontEnd::createProgressDialogView(
    ProgressDialog& presenter) {
  auto view = std::make_unique<Win32ProgressDialogView>(instance_, presenter);
  progress_ = view.get();
  return view;
}

std::unique_ptr<TermExtensionDialogView> Win32FrontEnd::createTermExtensionDialogView(
    TermExtensionDialog& presenter) {
  auto view = std::make_unique<Win32TermExtensionDialogView>(instance_, presenter);
  termExtension_ = view.get();
  return view;
}

std::unique_ptr<TransferWindowView> Win32FrontEnd::createTransferWindowView(
    TransferKind kind, TransferWindowInput& input) {
  // A drag of rows in the list ends when the pointer leaves the main window.
  return std::make_unique<Win32TransferWindowView>(
      instance_, kind, input, app_.context().config().fontFace(), [this] { return top_.handle(); });
}

std::unique_ptr<LocalShell> Win32FrontEnd::createLocalShell() {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32LocalShell>(top_.handle());
}

std::unique_ptr<LocalTreeView> Win32FrontEnd::createLocalTreeView(LocalFolderTree& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32LocalTreeView>(top_, presenter);
}

std::unique_ptr<LocalFileListView> Win32FrontEnd::createLocalListView(LocalFileList& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32LocalListView>(top_, presenter);
}

SearchBarView* Win32FrontEnd::searchBarView() {
  return main_ != nullptr ? &main_->searchBar() : nullptr;
}

std::unique_ptr<SearchResultListView> Win32FrontEnd::createSearchResultListView(
    SearchListInput& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32SearchResultListView>(searchListHomeOn(top_), presenter,
                                                     kSearchResultListId);
}

std::unique_ptr<FolderContentListView> Win32FrontEnd::createFolderContentListView(
    SearchListInput& presenter) {
  if (top_.handle() == nullptr) return nullptr;
  return std::make_unique<Win32FolderContentListView>(searchListHomeOn(top_), presenter,
                                                      kFolderContentListId);
}

std::unique_ptr<SettingsDialogView> Win32FrontEnd::createSettingsDialogView(
    SettingsDialog& presenter) {
  auto view = std::make_unique<Win32SettingsDialogView>(instance_, presenter,
                                                        app_.context().config().fontFace());
  settings_ = view.get();
  return view;
}

bool Win32FrontEnd::preTranslate(MSG& message) {
  if (main_ != nullptr) main_->preTranslate(message);
  if (settings_ != nullptr && settings_->exists() &&
      IsDialogMessageW(settings_->handle(), &message))
    return true;
  if (progress_ != nullptr && progress_->exists() &&
      IsDialogMessageW(progress_->handle(), &message))
    return true;
  return termExtension_ != nullptr && termExtension_->exists() &&
         IsDialogMessageW(termExtension_->handle(), &message);
}

void Win32FrontEnd::forgetViews() {
  main_ = nullptr;
  progress_ = nullptr;
  termExtension_ = nullptr;
  settings_ = nullptr;
  app_.context().withdraw<SettingsViews>();
  dialogs_.setResolver(nullptr);
}

HWND Win32FrontEnd::ownerOf(DialogOwner owner) const {
  switch (owner) {
    case DialogOwner::TopWindow:
    case DialogOwner::LoginWindow:
    case DialogOwner::MainWindow:
      return top_.handle();
    case DialogOwner::DownloadWindow:
      return findTransferWindow(TransferKind::Download);
    case DialogOwner::UploadWindow:
      // The file and folder pickers and the questions of the upload window
      // keep it disabled while they are open.
      return findTransferWindow(TransferKind::Upload);
    case DialogOwner::SettingsDialog:
      return settings_ != nullptr ? settings_->handle() : nullptr;
    case DialogOwner::TermExtensionDialog:
      return termExtension_ != nullptr ? termExtension_->handle() : nullptr;
    default:
      return nullptr;
  }
}

}  // namespace pom
