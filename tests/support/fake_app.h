// The whole application on fakes, for unit tests of the composition root and
// of modules: FakePorts owns a fake of every port (MD5, a pure computation,
// is the real one) and hands out the bundle; FakeFrontEnd makes recording
// fake views on request and keeps a pointer to each one it made (valid until
// the application is torn down).
#pragma once

#include <memory>
#include <string>

#include "core/app/front_end.h"
#include "core/hub/app_ports.h"
#include "platform/posix/posix_md5.h"
#include "support/fake_ports.h"
#include "support/fake_socket.h"
#include "support/fake_storage_views.h"
#include "support/fake_views.h"
#include "support/loop_helpers.h"
#include "support/memory_file_system.h"

namespace pom {

struct FakePorts {
  FakePorts() { files.addFolder("c:\\down"); }

  AppPorts ports() {
    AppPorts bundle(loop, loop, random, sockets, profile, registry, files, http, dialogs, shell,
                    md5, "c:\\work");
    return bundle;
  }

  ManualLoop loop;
  FakeRandom random;
  FakeSocketFactory sockets;
  MemoryProfile profile;
  MemoryRegistry registry;
  MemoryFileSystem files;
  FakeHttpClient http;
  FakeDialogs dialogs;
  FakeShell shell;
  // MD5 is a pure computation: the real one.
  PosixMd5 md5;
};

class FakeFrontEnd : public FrontEnd {
 public:
  // Without views the presenters run as they do in the headless front end.
  bool withViews = true;
  FakeLoginView* login = nullptr;
  FakeMainWindowView* main = nullptr;
  FakeProgressView* progress = nullptr;
  FakeTermView* termExtension = nullptr;
  FakeWebTreeView* tree = nullptr;
  FakeWebFileListView* list = nullptr;
  FakeFriendAddView* friendAdd = nullptr;
  FakeMemoView* memo = nullptr;

  std::unique_ptr<LoginView> createLoginView(LoginPresenter&) override { return make(login); }
  std::unique_ptr<MainWindowView> createMainWindowView(MainWindowPresenter&) override {
    return make(main);
  }
  std::unique_ptr<WebTreeView> createWebTreeView(WebFolderTree&) override { return make(tree); }
  std::unique_ptr<WebFileListView> createWebFileListView(WebFileList&) override {
    return make(list);
  }
  std::unique_ptr<FriendAddDialogView> createFriendAddDialogView(FriendAddDialog&) override {
    return make(friendAdd);
  }
  std::unique_ptr<MemoDialogView> createMemoDialogView(MemoDialog&) override { return make(memo); }
  std::unique_ptr<ProgressDialogView> createProgressDialogView(ProgressDialog&) override {
    return make(progress);
  }
  std::unique_ptr<TermExtensionDialogView> createTermExtensionDialogView(
      TermExtensionDialog& presenter) override {
    auto view = make(termExtension);
    if (termExtension != nullptr) termExtension->dialog = &presenter;
    return view;
  }
  // The transfer windows come with their own fakes.
  std::unique_ptr<TransferWindowView> createTransferWindowView(TransferKind,
                                                               TransferWindowInput&) override {
    return nullptr;
  }

 private:
  template <typename View>
  std::unique_ptr<View> make(View*& kept) {
    if (!withViews) return nullptr;
    auto view = std::make_unique<View>();
    kept = view.get();
    return view;
  }
};

}  // namespace pom
