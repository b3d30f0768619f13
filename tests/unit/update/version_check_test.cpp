// The start-up version check against a fake update server: which versions
// lead to a new updater or a hand-over, and that no failing answer (error
// status, cut body, no answer, a file that is not a program for this
// machine) damages the updater, the version files or the registry.
#include "core/update/version_check.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/base/config_keys.h"
#include "core/update/pe_image.h"
#include "pe_test_image.h"
#include "support/fake_ports.h"
#include "support/memory_file_system.h"

namespace pom::test {
namespace {

constexpr char kServer[] = "127.0.0.1:80";
constexpr char kUver[] = "Software\\Pomvale2.0\\uver";
constexpr char kCver[] = "Software\\Pomvale2.0\\cver";

enum class Fault { None, Status404, Status500, Cut, NoAnswer, NotPe, WrongMachine };

class VersionCheckTest : public ::testing::Test {
 protected:
  VersionCheckTest() {
    files.addFolder("c:\\work");
    files.addFolder("c:\\prog");
    files.addFile("c:\\prog\\PomUpdater.exe", oldUpdater);
    registry.values[kUver] = "1.0";
    registry.values[kCver] = "1.2";
    files.addFile("c:\\work/UverChk.dat", "1.0");
    files.addFile("c:\\work/CverChk.dat", "1.2");
  }

  void serve(const std::string& name, const std::string& body, Fault fault = Fault::None) {
    const std::string path = std::string("/UpdateFiles/") + name;
    if (fault == Fault::NoAnswer) return;  // the fake answers nothing it was not given
    std::string bytes = body;
    if (fault == Fault::NotPe) bytes = "not a program at all, just text";
    if (fault == Fault::WrongMachine) bytes = peImage(0x01C4);  // ARM
    const int status = fault == Fault::Status404 ? 404 : fault == Fault::Status500 ? 500 : 200;
    http.reply(kServer, path, bytes, status);
    if (fault == Fault::Cut) {
      HttpResponse& reply = http.replies[std::string(kServer) + " " + path];
      reply.body.resize(reply.body.size() / 2);
    }
  }

  VersionCheckResult run() {
    VersionCheckSettings settings;
    settings.updateServer = kServer;
    settings.workingDir = "c:\\work";
    settings.programDir = "c:\\prog";
    settings.machine = PeMachine::Amd64;
    return VersionCheck(http, files, config, settings).run();
  }

  std::vector<std::string> paths() const {
    std::vector<std::string> asked;
    for (const HttpRequest& request : http.requests) asked.push_back(request.path);
    return asked;
  }

  const std::string oldUpdater = peImage(0x8664, 2048);
  const std::string newUpdater = peImage(0x8664, 4096);
  FakeHttpClient http;
  MemoryFileSystem files;
  MemoryProfile profile;
  MemoryRegistry registry;
  ConfigStore config{profile, registry, "c:\\work"};
};

TEST_F(VersionCheckTest, SameVersionsFetchNothingMoreAndNeedNoUpdate) {
  serve("UverChk.dat", "1.0");
  serve("CverChk.dat", "1.2");
  const VersionCheckResult result = run();
  EXPECT_FALSE(result.updateNeeded);
  EXPECT_FALSE(result.updaterReplaced);
  EXPECT_EQ(result.clientVersion, "1.2");
  EXPECT_EQ(paths(),
            (std::vector<std::string>{"/UpdateFiles/UverChk.dat", "/UpdateFiles/CverChk.dat"}));
  for (const HttpRequest& request : http.requests) {
    EXPECT_GT(request.timeoutMs, 0);
    EXPECT_LE(request.timeoutMs, kVersionFileTimeoutMs);
  }
  EXPECT_EQ(files.contents("c:\\prog\\PomUpdater.exe"), oldUpdater);
}

TEST_F(VersionCheckTest, NewUpdaterVersionReplacesTheUpdaterThenWritesUver) {
  serve("UverChk.dat", "1.1");
  serve("CverChk.dat", "1.2");
  serve("PomUpdater.exe", newUpdater);
  const VersionCheckResult result = run();
  EXPECT_TRUE(result.updaterReplaced);
  EXPECT_EQ(files.contents("c:\\prog\\PomUpdater.exe"), newUpdater);
  EXPECT_FALSE(files.has("c:\\prog\\PomUpdater.exe.new"));
  EXPECT_EQ(registry.values[kUver], "1.1");
  EXPECT_EQ(result.updaterVersion, "1.0") << "this run keeps the version it started with";
  EXPECT_EQ(files.contents("c:\\work/UverChk.dat"), "1.1");
  EXPECT_FALSE(result.updateNeeded);
}

TEST_F(VersionCheckTest, NewClientVersionAsksForTheHandOver) {
  serve("UverChk.dat", "1.0");
  serve("CverChk.dat", "1.3");
  const VersionCheckResult result = run();
  EXPECT_TRUE(result.updateNeeded);
  EXPECT_EQ(registry.values[kCver], "1.2") << "only the updater writes cver";
}

TEST_F(VersionCheckTest, OnlyTheFirstTenBytesOfAVersionFileCount) {
  registry.values[kCver] = "1.2\r\nabcde";
  serve("UverChk.dat", "1.0");
  serve("CverChk.dat", "1.2\r\nabcdefgh");
  EXPECT_FALSE(run().updateNeeded);
  EXPECT_EQ(versionText(std::string("1.2\0junk", 8)), "1.2");
}

TEST_F(VersionCheckTest, AFailedUpdaterFetchKeepsTheOldUpdaterAndUver) {
  for (Fault fault : {Fault::Status404, Fault::Status500, Fault::Cut, Fault::NoAnswer, Fault::NotPe,
                      Fault::WrongMachine}) {
    http.replies.clear();
    serve("UverChk.dat", "1.1");
    serve("CverChk.dat", "1.2");
    serve("PomUpdater.exe", newUpdater, fault);
    const VersionCheckResult result = run();
    const int f = static_cast<int>(fault);
    EXPECT_FALSE(result.updaterReplaced) << f;
    EXPECT_EQ(files.contents("c:\\prog\\PomUpdater.exe"), oldUpdater) << f;
    EXPECT_FALSE(files.has("c:\\prog\\PomUpdater.exe.new")) << f;
    EXPECT_EQ(registry.values[kUver], "1.0") << f;
    EXPECT_FALSE(result.updateNeeded) << f;
  }
}

TEST_F(VersionCheckTest, AFailedVersionFileKeepsTheOldFileAndStartsNormally) {
  for (Fault fault : {Fault::Status404, Fault::Status500, Fault::Cut}) {
    http.replies.clear();
    serve("UverChk.dat", "2.0", fault);
    serve("CverChk.dat", "2.0", fault);
    serve("PomUpdater.exe", newUpdater);
    const VersionCheckResult result = run();
    const int f = static_cast<int>(fault);
    EXPECT_TRUE(result.serverReachable) << f;
    EXPECT_FALSE(result.updateNeeded) << f;
    EXPECT_FALSE(result.updaterReplaced) << f;
    EXPECT_EQ(files.contents("c:\\work/UverChk.dat"), "1.0") << f;
    EXPECT_EQ(files.contents("c:\\work/CverChk.dat"), "1.2") << f;
    EXPECT_EQ(registry.values[kUver], "1.0") << f;
  }
}

TEST_F(VersionCheckTest, AServerThatDoesNotAnswerCostsOneRequest) {
  serve("CverChk.dat", "2.0");  // never reached
  const VersionCheckResult result = run();
  EXPECT_FALSE(result.serverReachable);
  EXPECT_FALSE(result.updateNeeded);
  EXPECT_EQ(paths(), std::vector<std::string>{"/UpdateFiles/UverChk.dat"});
  EXPECT_EQ(result.clientVersion, "1.2");
  EXPECT_EQ(files.contents("c:\\work/UverChk.dat"), "1.0");
}

TEST_F(VersionCheckTest, MissingLocalVersionFilesResetTheRegistryFirst) {
  files.remove("c:\\work/UverChk.dat");
  files.remove("c:\\work/CverChk.dat");
  serve("UverChk.dat", "1.0");
  serve("CverChk.dat", "1.2");
  serve("PomUpdater.exe", newUpdater);
  const VersionCheckResult result = run();
  // "0.9" differs from both server texts: a new updater and the hand-over.
  EXPECT_TRUE(result.updaterReplaced);
  EXPECT_EQ(registry.values[kUver], "1.0");
  EXPECT_EQ(result.clientVersion, "0.9");
  EXPECT_TRUE(result.updateNeeded);
  EXPECT_EQ(files.contents("c:\\work/CverChk.dat"), "1.2");
  EXPECT_NE(std::find(files.hidden.begin(), files.hidden.end(), "c:\\work/CverChk.dat"),
            files.hidden.end());
}

TEST(PeImageTest, OnlyAWholeProgramForTheMachinePasses) {
  const std::string good = peImage(0x8664, 4096);
  EXPECT_TRUE(isPeProgramFor(good, PeMachine::Amd64));
  EXPECT_FALSE(isPeProgramFor(good, PeMachine::I386));
  EXPECT_TRUE(isPeProgramFor(peImage(0x014C), PeMachine::I386));
  EXPECT_FALSE(isPeProgramFor(good.substr(0, 4000), PeMachine::Amd64)) << "cut short";
  std::string noSignature = good;
  noSignature[0x41] = 'X';
  EXPECT_FALSE(isPeProgramFor(noSignature, PeMachine::Amd64));
  std::string farOffset = good;
  farOffset[0x3D] = '\x7F';  // e_lfanew beyond the file
  EXPECT_FALSE(isPeProgramFor(farOffset, PeMachine::Amd64));
  EXPECT_FALSE(isPeProgramFor("MZ", PeMachine::Amd64));
}

}  // namespace
}  // namespace pom::test
