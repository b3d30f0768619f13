// The version check inside the start of the whole application: the hand-over
// ends the start before any other module exists, an updater that cannot be
// started leaves the old client running, and the banned words are loaded
// (or not) as "BadSearch" and the check decide.
#include "core/update/update_module.h"

#include <gtest/gtest.h>

#include "core/app/client_app.h"
#include "support/fake_app.h"

namespace pom::test {
namespace {

class FailingShell : public FakeShell {
 public:
  bool runProgram(const std::string& commandLine) override {
    FakeShell::runProgram(commandLine);
    return false;
  }
};

class UpdateStartTest : public ::testing::Test {
 protected:
  UpdateStartTest() {
    fake.files.addFolder("c:\\work");
    fake.files.addFile("c:\\work/UverChk.dat", "1.0");
    fake.files.addFile("c:\\work/CverChk.dat", "1.2");
    fake.registry.values["Software\\Pomvale2.0\\uver"] = "1.0";
    fake.registry.values["Software\\Pomvale2.0\\cver"] = "1.2";
    fake.http.reply("127.0.0.1:80", "/UpdateFiles/UverChk.dat", "1.0");
    fake.http.reply("127.0.0.1:80", "/UpdateFiles/CverChk.dat", "1.2");
    fake.http.reply("127.0.0.1:80", "/UpdateFiles/dblist.dat", "warez\n");
    ports.versionCheck = true;
    ports.programDir = "c:\\Program Files\\Pomvale";
    ports.lifecycleObserver = [this](const char* event) { created += event; };
  }
  ~UpdateStartTest() override { ClientApp::teardown(); }

  ClientApp* start() {
    ClientApp* app = ClientApp::createAndInitialise(ports);
    if (app != nullptr) app->run(front);
    return app;
  }
  const BannedWordList& banned(ClientApp& app) { return app.module<UpdateModule>().bannedWords(); }

  FakePorts fake;
  AppPorts ports = fake.ports();
  FakeFrontEnd front;
  std::string created;
};

TEST_F(UpdateStartTest, ANewClientVersionStartsTheUpdaterAndMakesNothingElse) {
  fake.http.reply("127.0.0.1:80", "/UpdateFiles/CverChk.dat", "1.3");
  EXPECT_EQ(start(), nullptr);
  EXPECT_TRUE(ClientApp::handedOverToUpdater());
  EXPECT_TRUE(ClientApp::startProblems().empty());
  EXPECT_EQ(fake.shell.programs,
            std::vector<std::string>{"\"c:\\Program Files\\Pomvale\\PomUpdater.exe\""});
  EXPECT_EQ(created, "") << "no member, window or connection";
  EXPECT_TRUE(fake.sockets.made().empty());
  EXPECT_TRUE(fake.dialogs.boxes.empty());
}

TEST_F(UpdateStartTest, AnUpdaterThatCannotStartLeavesTheOldClientWithAMessage) {
  FailingShell shell;
  ports.shell = &shell;
  fake.http.reply("127.0.0.1:80", "/UpdateFiles/CverChk.dat", "1.3");
  ClientApp* app = start();
  ASSERT_NE(app, nullptr);
  EXPECT_FALSE(ClientApp::handedOverToUpdater());
  EXPECT_EQ(shell.programs.size(), 1u);
  ASSERT_EQ(fake.dialogs.boxes.size(), 1u);
  EXPECT_EQ(fake.dialogs.boxes[0].text, updaterFailedBox().text);
  EXPECT_TRUE(banned(*app).contains("warez"));
}

TEST_F(UpdateStartTest, TheSameVersionStartsNormallyWithTheBannedWords) {
  ClientApp* app = start();
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(fake.shell.programs.empty());
  EXPECT_TRUE(fake.dialogs.boxes.empty());
  EXPECT_EQ(app->module<UpdateModule>().versions().clientVersion(), "1.2");
  EXPECT_TRUE(banned(*app).contains("warez"));
}

TEST_F(UpdateStartTest, BannedWordsAreAskedOnlyWhenAllowedAndTheServerAnswered) {
  struct Case {
    const char* name;
    const char* badSearch;  // nullptr: missing
    bool serverUp;
    bool asked;
  } cases[] = {{"missing key", nullptr, true, true},
               {"BadSearch=0", "0", true, true},
               {"BadSearch=1", "1", true, false},
               {"server down at the check", "0", false, false}};
  for (const Case& c : cases) {
    fake.http.requests.clear();
    fake.profile.files.clear();
    if (c.badSearch != nullptr)
      fake.profile.writeText("Config", "BadSearch", c.badSearch, "./PomConfig.ini");
    if (!c.serverUp) fake.http.replies.erase("127.0.0.1:80 /UpdateFiles/UverChk.dat");
    ClientApp* app = start();
    ASSERT_NE(app, nullptr) << c.name;
    bool asked = false;
    for (const HttpRequest& request : fake.http.requests)
      asked = asked || request.path == "/UpdateFiles/dblist.dat";
    EXPECT_EQ(asked, c.asked) << c.name;
    ClientApp::teardown();
  }
}

}  // namespace
}  // namespace pom::test
