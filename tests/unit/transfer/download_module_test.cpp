// The download module's wiring: the link opens the window before queueing,
// the ticket reply reaches the window, the window's view comes from the
// front end, and teardown lets go of the sessions before they are deleted.
#include "core/transfer/download_module.h"

#include <gtest/gtest.h>

#include "core/hub/module_context.h"
#include "core/transfer/download_window.h"
#include "support/fake_app.h"
#include "support/fake_links.h"
#include "support/fake_transfer_views.h"

namespace pom {
namespace {

class OneWindowFrontEnd : public FakeFrontEnd {
 public:
  FakeTransferWindowView* download = nullptr;
  std::unique_ptr<TransferWindowView> createTransferWindowView(TransferKind kind,
                                                               TransferWindowInput&) override {
    if (kind != TransferKind::Download) return nullptr;
    auto view = std::make_unique<FakeTransferWindowView>();
    download = view.get();
    return view;
  }
};

TEST(DownloadModule, QueuesThroughTheLinkAndTakesTicketsFromTheDispatcher) {
  FakePorts fake;
  ModuleContext context{fake.ports()};
  FakeSessionLink session;
  FakeMainWindowLink main;
  FakeLocalBrowserLink local;
  OneWindowFrontEnd front;
  context.provide<SessionLink>(session);
  context.provide<MainWindowLink>(main);
  context.provide<LocalBrowserLink>(local);
  auto module = std::make_unique<DownloadModule>(context);
  ASSERT_TRUE(module->connect());
  for (Stage stage : kCreationStages) module->create(stage);
  front.offerViews(context);
  module->attachViews();
  ASSERT_NE(front.download, nullptr);

  DownloadLink& link = *context.find<DownloadLink>();
  EXPECT_FALSE(link.downloadsPending());
  link.addDownloadInto(5, "a.bin", 10, "sub");
  EXPECT_TRUE(front.download->opened) << "adding brings the window up first";
  EXPECT_TRUE(link.downloadsPending());
  fake.profile.writeText("Config", "AotoDownLoad", "1", "./PomConfig.ini");
  link.autoStart();
  EXPECT_TRUE(module->window().running());
  fake.loop.advance(kStartTimerMs);
  ASSERT_EQ(module->window().jobs()[0].state, JobState::Requesting);

  DownloadTicket ticket;
  ticket.fileId = 5;
  ticket.storageHost = "127.0.0.9";
  const Bytes body = ticket.encode();
  context.replies().dispatch(body.data(), body.size());
  EXPECT_EQ(static_cast<FakeSocket&>(module->sessions()[0].socket()).connectedHost(), "127.0.0.9");

  for (Stage stage : kTeardownStages) module->destroy(stage);
  module.reset();
  fake.loop.advance(1000);  // nothing of the module may run any more
}

}  // namespace
}  // namespace pom
