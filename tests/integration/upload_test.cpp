// Uploads of the client's core to the local service over loopback, through
// the headless `put` (the queue, scheduler and engines the upload window
// runs, with its timer), from real local files: what the service stored
// against the local bytes, what the storage server received (the request
// log), downloads of the same files back through the client's own engine,
// and the texts the member sees.
#include <gtest/gtest.h>

#include <zip.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/ports/text_codec.h"
#include "support/download_run.h"
#include "support/service_fixture.h"
#include "support/temp_dir.h"
#include "support/upload_run.h"

namespace pom {
namespace {

namespace fs = std::filesystem;
using testing_support::LoggedRequest;
using testing_support::PutRun;
using testing_support::ServiceFixture;
using testing_support::storedExactly;
using testing_support::writeRandomFile;

class Uploads : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(service_.start(&error)) << error;
    src_ = dir_.path() / "src";
    fs::create_directories(src_);
  }

  // One `pomcli put` run of local paths (relative to src_) into a web
  // folder; both CP949, as this file's literals are.
  PutRun put(const std::vector<std::string>& names, const std::string& to, int parallel = 1,
             std::uint32_t timeoutMs = 8000) {
    std::vector<std::string> paths;
    for (const std::string& name : names) paths.push_back(local(name).string());
    return testing_support::runPut(service_, dir_.path(), paths, cp949ToUtf8(to), timeoutMs,
                                   parallel);
  }
  // The local file of a CP949 name below src_ (UTF-8 on disk).
  fs::path local(const std::string& name) const { return src_ / cp949ToUtf8(name); }
  std::vector<LoggedRequest> uploadRequests() const {
    std::vector<LoggedRequest> found;
    for (LoggedRequest& line : service_.storageRequests()) {
      if (line.name == "UploadRequest") found.push_back(std::move(line));
    }
    return found;
  }

  ServiceFixture service_;
  test::TempDir dir_;
  fs::path src_;
};

TEST_F(Uploads, FilesAndANestedFolderAreStoredAndComeBackByteIdentical) {
  writeRandomFile(local("사진.jpg"), 3 * 1048576 + 12345, 1);
  writeRandomFile(local("작은.txt"), 5, 2);
  writeRandomFile(local("앨범/가을.txt"), 100000, 3);
  writeRandomFile(local("앨범/겨울 하위/눈.bin"), 40000, 4);
  const PutRun run = put({"사진.jpg", "작은.txt", "앨범"}, "문서", 3);
  ASSERT_EQ(run.outcome, Outcome::Done) << run.errors << run.out;
  EXPECT_TRUE(storedExactly(service_, "문서/사진.jpg", local("사진.jpg")));
  EXPECT_TRUE(storedExactly(service_, "문서/작은.txt", local("작은.txt")));
  EXPECT_TRUE(storedExactly(service_, "문서/앨범/가을.txt", local("앨범/가을.txt")));
  EXPECT_TRUE(
      storedExactly(service_, "문서/앨범/겨울 하위/눈.bin", local("앨범/겨울 하위/눈.bin")));
  // One chunk per acknowledgement, three sessions at once.
  int chunks = 0;
  for (const LoggedRequest& line : service_.storageRequests()) {
    EXPECT_NE(line.name, "ChunkBeforeAck");
    chunks += line.name == "FileChunk";
  }
  EXPECT_EQ(chunks, 4 + 1 + 1 + 1);  // 3 MiB + 12,345 bytes in 1 MiB chunks, then one each

  // Back through the client's own download engine: the files, and each
  // folder into a sub-folder of its name.
  const fs::path into = dir_.path() / "back";
  const auto back = testing_support::runGet(
      service_, dir_.path(), into.string(),
      {"문서/사진.jpg", "문서/작은.txt", "문서/앨범", "문서/앨범/겨울 하위"}, 8000, 2);
  ASSERT_EQ(back.outcome, Outcome::Done) << back.errors;
  for (const auto& [got, sent] : std::vector<std::pair<std::string, std::string>>{
           {"사진.jpg", "사진.jpg"},
           {"작은.txt", "작은.txt"},
           {"앨범/가을.txt", "앨범/가을.txt"},
           {"겨울 하위/눈.bin", "앨범/겨울 하위/눈.bin"}}) {
    EXPECT_EQ(testing_support::fileBytes(into / cp949ToUtf8(got)),
              testing_support::fileBytes(local(sent)))
        << cp949ToUtf8(got);
  }
}

TEST_F(Uploads, CutsAtManyOffsetsResumeAndEndByteIdentical) {
  // Small chunks, so that the cuts land in many places; each run is cut once
  // more until the last one finishes.
  service_.faults().set("upload_chunk_size", "65536");
  const std::int64_t size = 3 * 1048576 + 777;
  writeRandomFile(local("이어올리기.bin"), size, 5);
  std::mt19937 random(20261209);
  // The service keeps whole chunks: a cut stores one or two of them.
  std::uniform_int_distribution<std::int64_t> lengths(1, 100000);
  std::int64_t held = 0;
  int cuts = 0;
  for (; cuts < 40 && held < size; ++cuts) {
    const std::int64_t after = lengths(random);
    service_.faults().set("drop_upload_after", std::to_string(after), 1);
    const PutRun run = put({"이어올리기.bin"}, "문서");
    const auto requests = uploadRequests();
    ASSERT_FALSE(requests.empty());
    // Every session but the first starts where the service stopped.
    EXPECT_EQ(requests.back().number("offset"), held) << "cut " << cuts;
    const std::int32_t id = testing_support::demoItemAt(service_, "문서/이어올리기.bin");
    ASSERT_NE(id, 0);
    held = service_.store().item(id)->stored;
    if (run.outcome == Outcome::Done) break;
    EXPECT_NE(run.out.find(cp949ToUtf8("\t실패")), std::string::npos) << run.out;
  }
  EXPECT_GE(cuts, 20);
  service_.faults().clear("drop_upload_after");
  if (held < size) {
    const PutRun last = put({"이어올리기.bin"}, "문서");
    EXPECT_EQ(last.outcome, Outcome::Done) << last.errors << last.out;
  }
  EXPECT_TRUE(storedExactly(service_, "문서/이어올리기.bin", local("이어올리기.bin")));
}

TEST_F(Uploads, WhatTheServiceHoldsWholeIsCompleteOnlyWhenTheSizesMatch) {
  const std::int64_t size = 70000;
  writeRandomFile(local("있는파일.bin"), size, 6);
  struct Case {
    std::int64_t ticketSize, held;
    bool complete;
  };
  const Case cases[] = {
      {size, size, true},           // the service holds this file: no session
      {size + 1, size + 1, false},  // a different file of that name: never "uploaded"
      {size, size + 10, false},     // more held than the file has
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.ticketSize) + "," + std::to_string(c.held));
    const std::size_t sessionsBefore = uploadRequests().size();
    service_.faults().set("upload_ticket_sizes",
                          std::to_string(c.ticketSize) + "," + std::to_string(c.held), 1);
    const PutRun run = put({"있는파일.bin"}, "사진");
    const bool completedAtOnce =
        run.outcome == Outcome::Done && uploadRequests().size() == sessionsBefore;
    EXPECT_EQ(completedAtOnce, c.complete) << run.errors << run.out;
  }
}

TEST_F(Uploads, RestrictedTypesAndZipsHoldingThemAreSentAsB) {
  writeRandomFile(local("노래.mp3"), 4000, 7);
  writeRandomFile(local("소리.OGG"), 4000, 8);
  writeRandomFile(local("글.txt"), 4000, 9);
  const std::string zipPath = local("묶음.zip").string();
  zipFile zip = zipOpen(zipPath.c_str(), APPEND_STATUS_CREATE);
  ASSERT_NE(zip, nullptr);
  ASSERT_EQ(zipOpenNewFileInZip(zip, "music/track.wma", nullptr, nullptr, 0, nullptr, 0, nullptr,
                                Z_DEFLATED, Z_DEFAULT_COMPRESSION),
            ZIP_OK);
  ASSERT_EQ(zipWriteInFileInZip(zip, "not really audio", 16), ZIP_OK);
  zipCloseFileInZip(zip);
  zipClose(zip, nullptr);

  const PutRun run = put({"노래.mp3", "소리.OGG", "글.txt", "묶음.zip"}, "문서", 2);
  ASSERT_EQ(run.outcome, Outcome::Done) << run.errors << run.out;
  std::map<std::string, std::string> letters;
  for (const LoggedRequest& request : uploadRequests())
    letters[request.text("fileName")] = request.text("sharingLetter");
  EXPECT_EQ(letters["노래.mp3"], "b");
  EXPECT_EQ(letters["소리.OGG"], "b");
  EXPECT_EQ(letters["묶음.zip"], "b");
  EXPECT_EQ(letters["글.txt"], "f");
}

TEST_F(Uploads, EachRefusalFailsTheFileWithItsReason) {
  // Over one chunk: an early UploadDone comes with bytes still missing.
  writeRandomFile(local("거절.bin"), 1500000, 10);
  struct Case {
    const char* key;
    const char* value;
  };
  const Case cases[] = {
      {"upload_ticket_result", "1"},    {"upload_accept_result", "1"},
      {"upload_done_result", "2"},      {"upload_early_done", "1"},
      {"upload_chunk_size", "0"},       {"upload_chunk_size", "-65536"},
      {"upload_chunk_size", "1050604"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    service_.faults().set(c.key, c.value, 1);
    const PutRun run = put({"거절.bin"}, "문서", 1, 4000);
    EXPECT_EQ(run.outcome, Outcome::Failed) << run.errors;
    // The summary: the path, the bytes held, "실패" and the reason.
    const std::string failed = cp949ToUtf8("\t실패\t");
    EXPECT_NE(run.out.find(failed), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find(cp949ToUtf8("완료")), std::string::npos) << run.out;
    service_.faults().clear(c.key);
  }
}

}  // namespace
}  // namespace pom
