// The version check and the banned words against the local service's update
// server, with real files in a temporary program folder and the POSIX
// backend: same versions start the client, a new updater arrives byte for
// byte before "uver" changes, a new client version asks for the hand-over,
// and no spoilt answer (error status, cut body, stalled or dribbled answer,
// refused connection) damages anything or keeps the client from starting.
#include <gtest/gtest.h>

#include "core/app/client_app.h"
#include "core/update/update_module.h"
#include "platform/posix/posix_ports.h"
#include "support/fake_app.h"
#include "support/service_fixture.h"
#include "support/temp_dir.h"
#include "unit/update/pe_test_image.h"

namespace pom {
namespace {

using testing_support::ServiceFixture;

class UpdateCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    const auto& at = service_.ports();
    pointAt(at.webHost + ":" + std::to_string(at.webPort));
    dir_.write("served-updater.exe", newUpdater_);
    dir_.write("PomUpdater.exe", oldUpdater_);
    service_.faults().set("update_updater_path", dir_.file("served-updater.exe"));
  }
  void TearDown() override { ClientApp::teardown(); }

  void pointAt(const std::string& server) {
    platform_.profile.writeText("Servers", "UpdateServer", server, "./PomConfig.ini");
  }
  ClientApp* start() {
    AppPorts ports = platform_.ports(service_.ports().loginPorts[0]);
    ports.versionCheck = true;
    ClientApp* app = ClientApp::createAndInitialise(ports);
    if (app != nullptr) app->run(front_);
    return app;
  }
  std::string registry(const char* name) {
    std::string value;
    platform_.registry.readString("Software\\Pomvale2.0\\", name, "<none>", 256, value);
    return value;
  }

  const std::string oldUpdater_ = test::peImage(0x8664, 2048);
  const std::string newUpdater_ = test::peImage(0x8664, 8192);
  ServiceFixture service_;
  test::TempDir dir_;
  FakeDialogs dialogs_;
  FakeShell shell_;
  PosixPorts platform_{dir_.path(), dialogs_, shell_};
  FakeFrontEnd front_;
};

TEST_F(UpdateCheck, SameVersionsStartTheClientWithTheBannedWords) {
  ClientApp* app = start();
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(shell_.programs.empty());
  EXPECT_EQ(registry("cver"), "0.9");
  EXPECT_EQ(dir_.read("CverChk.dat"), "0.9");
  EXPECT_EQ(dir_.read("PomUpdater.exe"), oldUpdater_);
  EXPECT_TRUE(app->module<UpdateModule>().bannedWords().contains("warez"));
  EXPECT_EQ(dir_.read("dblist.dat"), "warez\nkeygen\ncrack\n불법복제\n음란물\n");
}

TEST_F(UpdateCheck, ANewUpdaterArrivesWholeBeforeUverChanges) {
  service_.faults().set("update_uver", "1.1");
  ASSERT_NE(start(), nullptr);
  EXPECT_EQ(dir_.read("PomUpdater.exe"), newUpdater_);
  EXPECT_EQ(registry("uver"), "1.1");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "PomUpdater.exe.new"));
}

TEST_F(UpdateCheck, ANewClientVersionHandsOverToTheUpdater) {
  service_.faults().set("update_cver", "1.3");
  EXPECT_EQ(start(), nullptr);
  EXPECT_TRUE(ClientApp::handedOverToUpdater());
  ASSERT_EQ(shell_.programs.size(), 1u);
  EXPECT_NE(shell_.programs[0].find("PomUpdater.exe\""), std::string::npos);
  EXPECT_EQ(registry("cver"), "0.9");
}

TEST_F(UpdateCheck, ASpoiltUpdaterLeavesTheOldOneAndUver) {
  service_.faults().set("update_uver", "1.1");
  for (const char* mode : {"404", "500", "cut"}) {
    service_.faults().set("http_fault", std::string(mode) + "@/UpdateFiles/PomUpdater.exe", 1);
    ASSERT_NE(start(), nullptr) << mode;
    EXPECT_EQ(dir_.read("PomUpdater.exe"), oldUpdater_) << mode;
    EXPECT_EQ(registry("uver"), "0.9") << mode;
    ClientApp::teardown();
  }
  // Bytes past the Content-Length are not the program's: the announced ones are.
  service_.faults().set("http_fault", "long@/UpdateFiles/PomUpdater.exe", 1);
  ASSERT_NE(start(), nullptr);
  EXPECT_EQ(dir_.read("PomUpdater.exe"), newUpdater_);
}

TEST_F(UpdateCheck, ASpoiltClientVersionNeverHandsOver) {
  dir_.write("CverChk.dat", "0.9");  // the copy of an earlier start
  service_.faults().set("update_cver", "1.3.0.0");
  service_.faults().set("http_stall_ms", "5000");
  service_.faults().set("http_dribble_ms", "1000");
  for (const char* mode : {"404", "500", "cut", "stall", "dribble"}) {
    shell_.programs.clear();
    service_.faults().set("http_fault", std::string(mode) + "@/UpdateFiles/CverChk.dat", 1);
    ASSERT_NE(start(), nullptr) << mode;
    EXPECT_TRUE(shell_.programs.empty()) << mode;
    EXPECT_EQ(dir_.read("CverChk.dat"), "0.9") << mode;
    ClientApp::teardown();
  }
}

TEST_F(UpdateCheck, AServerThatIsDownCostsOneRequestAndKeepsTheLocalList) {
  dir_.write("dblist.dat", "kept\n");
  service_.faults().set("http_stall_ms", "5000");
  service_.faults().set("http_fault", "stall@/UpdateFiles/UverChk.dat", 1);
  ClientApp* app = start();
  ASSERT_NE(app, nullptr);
  EXPECT_FALSE(app->module<UpdateModule>().check().serverReachable);
  EXPECT_TRUE(app->module<UpdateModule>().bannedWords().contains("kept"));
  ClientApp::teardown();
  // A refused connection: nothing listens on the port.
  service_.stop();
  app = start();
  ASSERT_NE(app, nullptr);
  EXPECT_FALSE(app->module<UpdateModule>().check().serverReachable);
  EXPECT_EQ(dir_.read("dblist.dat"), "kept\n");
  EXPECT_EQ(dir_.read("PomUpdater.exe"), oldUpdater_);
}

}  // namespace
}  // namespace pom
