// Downloads of the client's core against the local service over loopback,
// through the headless `get` (the queue, scheduler and engines the download
// window runs, with its timers), into a real temporary folder: the bytes on
// disk against the service's generated bodies, what the storage server and
// the login server received (the request log), and the texts the member
// sees.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include "cli/get_command.h"
#include "cli/headless_client.h"
#include "core/app/client_app.h"
#include "core/base/local_path.h"
#include "core/base/servers.h"
#include "core/ports/text_codec.h"
#include "core/storage/storage_module.h"
#include "core/storage/web_file_list.h"
#include "core/transfer/download_module.h"
#include "core/transfer/download_window.h"
#include "service/file_bodies.h"
#include "support/download_run.h"
#include "support/service_fixture.h"
#include "support/temp_dir.h"

namespace pom {
namespace {

namespace fs = std::filesystem;
using testing_support::demoFileId;
using testing_support::GetRun;
using testing_support::LoggedRequest;
using testing_support::matchesServiceBody;
using testing_support::runGet;
using testing_support::ServiceFixture;

class Downloads : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    into_ = (dir_.path() / "down").string();
    active_ = &service_;
    // These tests are about the storage server: the service's peer list
    // answers 404, so large files come from storage too.
    testing_support::writePeerServers(service_, dir_.path());
    service_.faults().set("peer_list", "404");
  }

  // One `pomcli get` run: a fresh client logs in, queues the paths (CP949)
  // and downloads them.
  GetRun get(const std::vector<std::string>& cp949Paths, int parallel = 1,
             std::uint32_t timeoutMs = 8000) {
    return runGet(service(), dir_.path(), into_, cp949Paths, timeoutMs, parallel);
  }
  std::int32_t fileId(const std::string& folder, const std::string& name) {
    return demoFileId(service(), folder, name);
  }
  ::testing::AssertionResult matchesBody(const std::string& localPath, std::int32_t id) {
    return matchesServiceBody(service(), localPath, id);
  }

  bool shown(const GetRun& run, const std::string& text) const {
    for (const MessageBoxRequest& box : run.shown) {
      if (box.text == text) return true;
    }
    return false;
  }
  std::string local(const std::string& cp949RelativePath) const {
    return into_ + "/" + cp949ToUtf8(cp949RelativePath);
  }

  ServiceFixture& service() { return *active_; }

  ServiceFixture service_;
  ServiceFixture* active_ = nullptr;  // the service get() talks to
  test::TempDir dir_;
  std::string into_;
};

TEST_F(Downloads, FilesAndFoldersArriveByteIdenticalThreeAtOnce) {
  const GetRun run = get({"동영상", "문서/보고서.doc", "메모.txt", "갂자료.txt"}, 3);
  EXPECT_EQ(run.outcome, Outcome::Done) << run.errors;
  EXPECT_TRUE(matchesBody(local("동영상/큰파일.avi"), fileId("동영상", "큰파일.avi")));
  EXPECT_TRUE(matchesBody(local("동영상/보호영상.avi"), fileId("동영상", "보호영상.avi")));
  EXPECT_TRUE(matchesBody(local("보고서.doc"), fileId("문서", "보고서.doc")));
  EXPECT_TRUE(matchesBody(local("메모.txt"), fileId("", "메모.txt")));
  EXPECT_TRUE(matchesBody(local("갂자료.txt"), fileId("", "갂자료.txt")));
  EXPECT_NE(run.out.find(cp949ToUtf8("큰파일.avi\t12582912\t완료")), std::string::npos) << run.out;

  // Every transfer started at offset 0 and ended with exactly one TransferEnded.
  const auto requests = service().storageRequests();
  ASSERT_EQ(requests.size(), 5u);
  for (const LoggedRequest& request : requests) EXPECT_EQ(request.number("offset"), 0);
  EXPECT_EQ(testing_support::waitForRequests(service().requestLogPath(), RequestType::TransferEnded,
                                             5, 2000)
                .size(),
            5u);
}

TEST_F(Downloads, CutsAtRandomOffsetsResumeByteIdentical) {
  const std::int32_t id = fileId("동영상", "보호영상.avi");
  const std::int64_t size = service().store().item(id)->size;
  std::mt19937 random(20261208);
  std::uniform_int_distribution<std::int64_t> offsets(1, size - 1);
  for (int cut = 0; cut < 20; ++cut) {
    fs::remove_all(into_);
    const std::int64_t after = offsets(random);
    service().faults().set("drop_download_after", std::to_string(after), 1);
    const std::size_t before = service().storageRequests().size();
    const GetRun run = get({"동영상/보호영상.avi"});
    ASSERT_EQ(run.outcome, Outcome::Done) << "cut after " << after << ": " << run.errors;
    ASSERT_TRUE(matchesBody(local("보호영상.avi"), id)) << "cut after " << after;
    // The second request resumed where the first left the file: somewhere
    // below the cut (the cut counts framing bytes too), never at 0 again
    // unless nothing of the file had arrived.
    const auto requests = service().storageRequests();
    ASSERT_EQ(requests.size(), before + 2) << "cut after " << after;
    EXPECT_EQ(requests[before].number("offset"), 0);
    EXPECT_LE(requests[before + 1].number("offset"), after);
  }
}

TEST_F(Downloads, ALargerLocalFileIsKeptAndTheDownloadTakesANewName) {
  fs::create_directories(into_);
  const std::string existing = local("메모.txt");
  std::ofstream(existing, std::ios::binary) << std::string(5000, 'x');  // the body has 1,234 bytes
  const GetRun run = get({"메모.txt"});
  EXPECT_EQ(run.outcome, Outcome::Done) << run.errors;
  EXPECT_EQ(fs::file_size(existing), 5000u);
  EXPECT_TRUE(matchesBody(local("메모 (1).txt"), fileId("", "메모.txt")));
}

TEST_F(Downloads, RefusalsShowTheirTexts) {
  struct Case {
    const char* key;
    const char* value;
    const char* shownText;  // a message box, or empty
    const char* stateText;  // the summary's state text
  };
  const Case cases[] = {
      {"download_ticket_result", "255", "", "저작권 위배 또는 복구 중 파일"},
      {"download_ticket_result", "7", "예상치 못한 오류 고객센터에 문의해주세요!     ", "중지"},
      {"download_refuse", "type", "", "저작권 위배 또는 복구 중 파일"},
      {"download_refuse", "flag", "", "저작권 위배 또는 복구 중 파일"},
      {"credit_shortage", "force", "패킷이 모자랍니다. 충전후 이용해 주세요!     ", "중지"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    fs::remove_all(into_);
    service().faults().set(c.key, c.value, 1);
    // The large file: the shortage comes after the first data message.
    const GetRun run = get({"동영상/큰파일.avi"}, 1, 3000);
    EXPECT_NE(run.outcome, Outcome::Done);
    if (*c.shownText != '\0') {
      EXPECT_TRUE(shown(run, c.shownText)) << run.errors;
    }
    EXPECT_NE(run.out.find(cp949ToUtf8(std::string("\t") + c.stateText)), std::string::npos)
        << run.out;
    service().faults().clear(c.key);
  }
}

TEST_F(Downloads, APaymentDemandOpensThePaymentPageAndEmptiesTheQueue) {
  service().faults().set("download_ticket_result", "1", 1);
  const GetRun run = get({"메모.txt", "갂자료.txt"}, 1, 3000);
  EXPECT_NE(run.outcome, Outcome::Done);
  EXPECT_NE(run.errors.find("IEXPLORE.EXE"), std::string::npos) << run.errors;
  EXPECT_TRUE(run.out.empty()) << run.out;  // the queue was emptied
  EXPECT_FALSE(fs::exists(local("메모.txt")));
}

TEST_F(Downloads, AFileOver4GiBResumesAtItsSixtyFourBitOffset) {
  // A sparse partial file just below the end of a 4 GiB + 1 MiB body: only
  // the rest travels, and it lands at the right place.
  ServiceFixture huge;
  huge.setHugeFile((std::int64_t{4} << 30) + (1 << 20));
  std::string error;
  ASSERT_TRUE(huge.start(&error)) << error;
  active_ = &huge;
  const std::int32_t id = fileId("", "대용량.bin");
  const std::int64_t size = service().store().item(id)->size;
  const std::int64_t have = size - 300000;
  fs::create_directories(into_);
  const std::string path = local("대용량.bin");
  {
    std::ofstream(path, std::ios::binary).close();
    fs::resize_file(path, static_cast<std::uintmax_t>(have));
    // The last 4 KiB below `have` hold the body's bytes, so the check below
    // reads real data on both sides of the resume point.
    std::vector<std::uint8_t> tail(4096);
    service::fillGeneratedBody(id, size, have - 4096, tail.data(), tail.size());
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(have - 4096);
    file.write(reinterpret_cast<const char*>(tail.data()), 4096);
  }
  const GetRun run = get({"대용량.bin"});
  ASSERT_EQ(run.outcome, Outcome::Done) << run.errors;
  const auto requests = service().storageRequests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().number("offset"), have);
  EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(path)), size);
  std::vector<std::uint8_t> got(8192), want(8192);
  std::ifstream in(path, std::ios::binary);
  in.seekg(have - 4096);
  in.read(reinterpret_cast<char*>(got.data()), 8192);
  service::fillGeneratedBody(id, size, have - 4096, want.data(), want.size());
  EXPECT_EQ(got, want);
  active_ = &service_;
}

TEST_F(Downloads, AFullDiskEndsInTheDiskErrorWithNothingLost) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to mount a small tmpfs";
  fs::create_directories(into_);
  if (::mount("tmpfs", into_.c_str(), "tmpfs", 0, "size=2m") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here";
  const GetRun run = get({"동영상/큰파일.avi"}, 1, 3000);
  EXPECT_NE(run.outcome, Outcome::Done);
  EXPECT_TRUE(shown(run, "디스크에러 하드디스크을 점검해주세요.     ")) << run.errors;
  // What reached the disk is the body's first bytes, nothing else.
  const std::string path = local("큰파일.avi");
  const auto written = static_cast<std::int64_t>(fs::file_size(path));
  EXPECT_GT(written, 0);
  std::vector<std::uint8_t> got(static_cast<std::size_t>(written)), want(got.size());
  std::ifstream(path, std::ios::binary).read(reinterpret_cast<char*>(got.data()), written);
  service::fillGenerated(static_cast<std::uint64_t>(fileId("동영상", "큰파일.avi")), 0, want.data(),
                         want.size());
  EXPECT_EQ(got, want);
  ::umount(into_.c_str());
}

// A file the service names "..\x", "C:\x", "\\host\x", "CON", "a/b", "x.",
// "x " or 300 bytes long, downloaded from the list as a member would: nothing
// lands outside the download folder, and what lands inside has a safe name
// and the file's bytes.
TEST_F(Downloads, HostileNamesWriteNothingOutsideTheFolder) {
  const std::int32_t id = fileId("", "메모.txt");
  const fs::path zone = dir_.path() / "zone";
  const fs::path client = dir_.path() / "client";
  fs::create_directories(client);
  testing_support::writePeerServers(service(), client);
  for (const char* kind : {"dotdot", "drive", "unc", "con", "slash", "dot", "blank", "long"}) {
    SCOPED_TRACE(kind);
    fs::remove_all(zone);
    const fs::path down = zone / "down";
    fs::create_directories(down);
    service().faults().set("hostile_name", std::string(kind) + "@" + std::to_string(id));
    {
      HeadlessOptions options;
      options.id = "demo1";
      options.password = "demo1234";
      options.portBase = service().ports().loginPorts[0] - kLoginPortBase;
      options.workDir = client;
      options.timeoutMs = 3000;
      std::ostringstream errors;
      HeadlessClient headless(options, errors);
      ASSERT_TRUE(headless.start());
      ASSERT_EQ(headless.loginAndList(), Outcome::Done) << errors.str();
      DownloadWindow& window = headless.app().module<DownloadModule>().window();
      headless.front().list->selected = {id};
      headless.storage().list().key(WebKey::CtrlD);
      ASSERT_EQ(window.jobs().size(), 1u) << errors.str();
      window.setDownloadFolder(utf8ToCp949(down.string()));
      window.start();
      headless.waitUntil([&] {
        const JobState state = window.jobs().front().state;
        return !window.transfersEnding() &&
               (state == JobState::Completed || state == JobState::Cancelled ||
                state == JobState::Unavailable ||
                (state == JobState::Stopped && window.jobs().front().held));
      });
    }
    service().faults().clear("hostile_name");
    // Of a path only its last component is kept; a reserved device name or
    // a name Windows would change is refused.
    const std::string kept = std::string(kind) == "slash" ? "b" : "x";
    const bool lastComponent = std::string(kind) == "dotdot" || std::string(kind) == "drive" ||
                               std::string(kind) == "unc" || std::string(kind) == "slash";
    EXPECT_EQ(fs::exists(down / kept), lastComponent);
    for (const auto& entry : fs::recursive_directory_iterator(zone)) {
      if (entry.is_directory()) continue;
      EXPECT_EQ(entry.path().parent_path(), down) << entry.path() << " is outside the folder";
      EXPECT_TRUE(isSafeComponent(utf8ToCp949(entry.path().filename().string()))) << entry.path();
      EXPECT_TRUE(matchesBody(entry.path().string(), id));
    }
    EXPECT_FALSE(fs::exists("/host")) << "a UNC name reached the root";
    EXPECT_FALSE(fs::exists(fs::current_path() / "C:"))
        << "a drive name reached the current folder";
  }
}

}  // namespace
}  // namespace pom
