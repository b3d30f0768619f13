// The local browser module with the real upload module: what the local list
// uploads lands in the web folder the own list shows, 2 for its top.
#include "core/localfs/local_browser_module.h"

#include <gtest/gtest.h>

#include "core/hub/module_context.h"
#include "core/transfer/upload_module.h"
#include "core/transfer/upload_window.h"
#include "fake_local_shell.h"
#include "support/fake_app.h"
#include "support/fake_links.h"
#include "support/fake_transfer_views.h"

namespace pom {
namespace {

class LocalFrontEnd : public FakeFrontEnd {
 public:
  FakeLocalShell* shell = nullptr;
  FakeLocalListView* list = nullptr;
  std::unique_ptr<TransferWindowView> createTransferWindowView(TransferKind kind,
                                                               TransferWindowInput&) override {
    if (kind != TransferKind::Upload) return nullptr;
    return std::make_unique<FakeTransferWindowView>();
  }
  std::unique_ptr<LocalShell> createLocalShell() override {
    auto made = std::make_unique<FakeLocalShell>();
    shell = made.get();
    shell->add("", "c:", fake_attr::kDrive);
    shell->add("c:", "PomDownLoad", fake_attr::kFolder);
    shell->add("c:\\PomDownLoad", "a.txt", fake_attr::kFile, 3);
    return made;
  }
  std::unique_ptr<LocalFileListView> createLocalListView(LocalFileList&) override {
    auto made = std::make_unique<FakeLocalListView>();
    list = made.get();
    return made;
  }
};

class TopFolder : public FakeStorageLink {
 public:
  std::int32_t folder = 0;
  std::int32_t currentFolderId() const override { return folder; }
  std::string currentFolderPath() const override { return "폼베일/내웹폴더/"; }
};

TEST(LocalBrowserModule, UploadsTheSelectionIntoFolderTwoForTheOwnTop) {
  FakePorts fake;
  ModuleContext context{fake.ports()};
  FakeSessionLink session;
  FakeMainWindowLink main;
  TopFolder storage;
  LocalFrontEnd front;
  context.provide<SessionLink>(session);
  context.provide<MainWindowLink>(main);
  context.provide<StorageLink>(storage);
  UploadModule uploads(context);
  LocalBrowserModule local(context);
  ASSERT_TRUE(uploads.connect());
  ASSERT_TRUE(local.connect());
  session.tellLoggedIn(false);  // the panes show
  for (Stage stage : kCreationStages) {
    uploads.create(stage);
    local.create(stage);
  }
  front.offerViews(context);
  uploads.attachViews();
  local.attachViews();
  ASSERT_NE(front.list, nullptr);

  LocalBrowserLink& link = *context.find<LocalBrowserLink>();
  link.pointTreeAt("c:\\PomDownLoad");
  EXPECT_EQ(link.shownFolder(), "c:\\PomDownLoad");
  EXPECT_FALSE(link.localListHasSelection());
  front.list->selected = {0};
  EXPECT_TRUE(link.localListHasSelection());
  fake.files.addFile("c:\\PomDownLoad\\a.txt", "abc");
  link.uploadSelection();
  ASSERT_EQ(uploads.window().jobs().size(), 1u);
  EXPECT_EQ(uploads.window().jobs()[0].folderId, 2);
  ASSERT_EQ(fake.shell.browsers.size(), 1u);
  EXPECT_EQ(fake.shell.browsers[0].height, UploadLink::kNoticeHeight);

  for (Stage stage : kTeardownStages) {
    local.destroy(stage);
    uploads.destroy(stage);
  }
  front.withdrawViews(context);
}

}  // namespace
}  // namespace pom
