// The web storage module on fakes: the real module, its presenters and its
// reply branches, with fake links and recording views, driven as the
// session would drive it (replies through the dispatcher).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/hub/module_context.h"
#include "core/net/messages/messages.h"
#include "core/storage/storage_module.h"
#include "support/fake_app.h"
#include "support/fake_links.h"

namespace pom::test {

inline FolderEntry entry(std::int32_t id, std::int32_t parent, const std::string& name,
                         std::int64_t size = 0, char share = 'f') {
  FolderEntry e;
  e.itemId = id;
  e.parentId = parent;
  e.name = name;
  e.fileSize = size;
  e.storedBytes = size;
  e.sharingState = share;
  e.date.day = 5;
  return e;
}

// Message boxes that can act while they are open, as a real box pumps
// messages (a reply may arrive before the member answers).
class PumpingDialogs : public FakeDialogs {
 public:
  std::function<void(const MessageBoxRequest&)> whileOpen;
  MessageAnswer messageBox(const MessageBoxRequest& request) override {
    if (whileOpen) whileOpen(request);
    return FakeDialogs::messageBox(request);
  }
};

// A clipboard that may refuse the text (another program holds it open).
class RefusingShell : public FakeShell {
 public:
  bool refuse = false;
  bool setClipboardText(const std::string& text) override {
    return !refuse && FakeShell::setClipboardText(text);
  }
};

class StorageHarness {
 public:
  StorageHarness() {
    context.provide<SessionLink>(session);
    context.provide<MainWindowLink>(main);
    context.provide<DownloadLink>(downloads);
    context.provide<UploadLink>(uploads);
    context.provide<LocalBrowserLink>(local);
    module = std::make_unique<StorageModule>(context);
    module->connect();
    for (Stage stage : kCreationStages) module->create(stage);
    front.offerViews(context);
    module->attachViews();
  }
  ~StorageHarness() {
    for (Stage stage : kTeardownStages) module->destroy(stage);
  }

  // The first login: the tree is built and asks for "내웹폴더".
  void login() { session.tellLoggedIn(false); }
  void reply(const Bytes& body) { context.replies().dispatch(body.data(), body.size()); }
  // One page of an own folder; capacity defaults to "more than these".
  void ownPage(std::int32_t folderId, std::vector<FolderEntry> entries, int capacity = 30,
               std::uint8_t continuation = 0) {
    FolderList page;
    page.folderId = folderId;
    page.capacity = static_cast<std::uint8_t>(capacity);
    page.continuation = continuation;
    page.entries = std::move(entries);
    reply(page.encode());
  }
  void friendPage(const std::string& friendId, std::int32_t folderId,
                  std::vector<FolderEntry> entries, int capacity = 30) {
    MemberFolderList page;
    page.friendId = friendId;
    page.folderId = folderId;
    page.capacity = static_cast<std::uint8_t>(capacity);
    page.entries = std::move(entries);
    reply(page.encode());
  }
  // Logs in and lists "내웹폴더" with these entries.
  void openRoot(std::vector<FolderEntry> entries) {
    login();
    ownPage(0, std::move(entries));
  }
  // Clicks a tree node by its label.
  void click(const std::string& label) { tree().onSelectionChanged(treeView().idOf(label)); }

  WebFolderTree& tree() { return module->tree(); }
  WebFileList& list() { return module->list(); }
  FakeWebTreeView& treeView() { return *front.tree; }
  FakeWebFileListView& listView() { return *front.list; }
  PumpingDialogs& dialogs() { return pumping; }
  // Every request of type M sent so far, in order.
  template <typename M>
  std::vector<M> sent() const {
    std::vector<M> found;
    for (const Bytes& body : session.sent) {
      if (auto decoded = M::decode(body.data(), body.size())) found.push_back(*decoded);
    }
    return found;
  }
  // Rows' names in order.
  std::vector<std::string> names() { return listView().column(kNameColumn); }

  FakePorts fake;  // its dialogs and shell are not wired: the two below stand in
  PumpingDialogs pumping;
  RefusingShell shell;
  ModuleContext context{ports()};
  FakeSessionLink session;
  FakeMainWindowLink main;
  FakeDownloadLink downloads;
  FakeUploadLink uploads;
  FakeLocalBrowserLink local;
  FakeFrontEnd front;
  std::unique_ptr<StorageModule> module;

 private:
  AppPorts ports() {
    AppPorts bundle = fake.ports();
    bundle.dialogs = &pumping;
    bundle.shell = &shell;
    return bundle;
  }
};

}  // namespace pom::test
