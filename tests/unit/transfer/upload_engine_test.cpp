// The upload engine of one slot over a fake socket, a manual loop and files
// whose bytes are generated: the announcement, one chunk per acknowledgement
// after the pause, the service's results, failed reads, stop with its grace,
// drops, and offsets beyond 4 GiB.
#include "core/transfer/upload_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/net/connection_kinds.h"
#include "core/net/messages/messages.h"
#include "core/net/packet_frame.h"
#include "support/fake_links.h"
#include "support/fake_socket.h"
#include "support/loop_helpers.h"
#include "support/memory_file_system.h"

namespace pom::test {
namespace {

using State = UploadState;
constexpr std::int64_t kGiB = std::int64_t{1} << 30;
constexpr char kPath[] = "c:\\up\\사진 모음.bin";

// The byte at offset of every generated file; the high bits of the offset
// count, so a chunk read from the wrong 4 GiB shows.
std::uint8_t byteAt(std::int64_t offset) {
  return static_cast<std::uint8_t>(offset ^ (offset >> 11) ^ (offset >> 32) * 31);
}

// Files of any size whose bytes are byteAt(offset). A file can be made to
// shrink (only its first `readable` bytes can be read) or fail to read.
class GeneratedFiles : public MemoryFileSystem {
 public:
  struct Recipe {
    std::int64_t size = 0;
    std::int64_t readable = -1;  // -1: all of it
    bool readFails = false;
  };
  std::map<std::string, Recipe> generated;
  std::vector<std::int64_t> seeks;

  FileInfo info(const std::string& path) override {
    const auto found = generated.find(path);
    if (found == generated.end()) return MemoryFileSystem::info(path);
    FileInfo info;
    info.exists = true;
    info.size = found->second.size;
    return info;
  }
  std::unique_ptr<OpenFile> open(const std::string& path, OpenMode mode) override {
    const auto found = generated.find(path);
    if (found == generated.end()) return MemoryFileSystem::open(path, mode);
    if (mode != OpenMode::Read) return nullptr;  // the engine only reads
    return std::make_unique<File>(found->second, seeks);
  }

 private:
  class File final : public OpenFile {
   public:
    File(const Recipe& recipe, std::vector<std::int64_t>& seeks) : recipe_(recipe), seeks_(seeks) {}
    std::int64_t read(void* buffer, std::size_t size) override {
      if (recipe_.readFails) return -1;
      const std::int64_t end = recipe_.readable < 0 ? recipe_.size : recipe_.readable;
      const std::int64_t n = std::max<std::int64_t>(
          0, std::min<std::int64_t>(static_cast<std::int64_t>(size), end - position_));
      auto* out = static_cast<std::uint8_t*>(buffer);
      for (std::int64_t i = 0; i < n; ++i) out[i] = byteAt(position_ + i);
      position_ += n;
      return n;
    }
    bool write(const void*, std::size_t) override { return false; }
    bool flush() override { return true; }
    bool seek(std::int64_t offset) override {
      seeks_.push_back(offset);
      position_ = offset;
      return true;
    }
    std::int64_t position() const override { return position_; }
    std::int64_t size() const override { return recipe_.size; }

   private:
    Recipe recipe_;
    std::vector<std::int64_t>& seeks_;
    std::int64_t position_ = 0;
  };
};

// The window's side over a plain vector of jobs, recording what it is told.
class RecordingHost : public UploadEngineHost {
 public:
  std::vector<UploadJob> jobs;
  FakeSessionLink main;
  GeneratedFiles disk;
  ManualLoop clock;
  char letter = 'c';
  std::vector<std::string> events;         // "failed 0", "freed 0", ...
  std::vector<State> statesWhenCompleted;  // the job's state as jobCompleted saw it

  int jobOnSlot(int slot) override {
    for (std::size_t i = 0; i < jobs.size(); ++i) {
      if (jobs[i].slot == slot) return static_cast<int>(i);
    }
    return -1;
  }
  UploadJob& job(int index) override { return jobs.at(static_cast<std::size_t>(index)); }
  SessionLink& session() override { return main; }
  FileSystem& files() override { return disk; }
  EventLoop& loop() override { return clock; }
  std::uint32_t now() override { return clock.tickCount(); }
  char sharingLetterFor(const std::string&) override { return letter; }
  void jobChanged(int) override {}
  void jobCompleted(int index) override {
    statesWhenCompleted.push_back(job(index).state);
    events.push_back("completed " + std::to_string(index));
  }
  void jobFailed(int index) override { events.push_back("failed " + std::to_string(index)); }
  void slotFreed(int slot) override { events.push_back("freed " + std::to_string(slot)); }
  int count(const std::string& event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
};

Bytes framed(const Bytes& body) {
  Bytes out;
  const auto put = [&out](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put(kPacketStartMarker);
  put(static_cast<std::uint32_t>(body.size() + kPacketOverhead));
  out.insert(out.end(), body.begin(), body.end());
  put(kPacketEndMarker);
  return out;
}

// Slot 0's engine with one job in state 6 (its ticket granted).
struct Rig {
  explicit Rig(std::int64_t size = 10, std::int64_t sent = 0) {
    host.main.member.memberId = "demo1";
    host.main.member.sessionNumber = 0x10077;  // only the low 16 bits travel
    host.disk.generated[kPath] = GeneratedFiles::Recipe{size};
    UploadJob job;
    job.slot = 0;
    job.localPath = kPath;
    job.subFolder = "여행";
    job.folderId = 0;
    job.serverFileId = 4242;
    job.totalSize = size;
    job.sent = sent;
    job.sampleDigest[0] = 0xAB;
    job.state = State::Connecting;
    host.jobs.push_back(job);
    engine.bind();
  }
  UploadJob& job() { return host.jobs[0]; }
  FakeSocket& socket() { return static_cast<FakeSocket&>(session.socket()); }
  void connect() {
    ASSERT_TRUE(engine.connect("127.0.0.9", 7301));
    socket().deliver(SocketEvent::Connect);
  }
  void serve(const Bytes& body) {
    socket().scriptReceive(framed(body));
    socket().deliver(SocketEvent::Read);
  }
  void accept(std::int32_t chunk, std::uint8_t result = 0) {
    UploadAccept a;
    a.chunkSize = chunk;
    a.result = static_cast<UploadAccept::Result>(result);
    serve(a.encode());
  }
  void done(std::uint8_t result, std::int32_t value = 31) {
    UploadDone d;
    d.value = value;
    d.result = static_cast<UploadDone::Result>(result);
    serve(d.encode());
  }
  void ack() { serve(ChunkAck().encode()); }
  // The bodies framed onto the socket since the last call.
  std::vector<Bytes> sent() {
    std::vector<Bytes> bodies;
    const Bytes& s = socket().sent();
    for (std::size_t at = 0; at + kPacketOverhead <= s.size();) {
      const std::uint32_t total = s[at + 4] | s[at + 5] << 8 | s[at + 6] << 16 | s[at + 7] << 24;
      bodies.emplace_back(s.begin() + at + 8, s.begin() + at + total - 4);
      at += total;
    }
    socket().clearSent();
    return bodies;
  }
  // The one chunk sent since the last call (nothing when anything else went).
  std::optional<FileChunk> chunk() {
    const auto bodies = sent();
    if (bodies.size() != 1) return std::nullopt;
    return FileChunk::decode(bodies[0].data(), bodies[0].size());
  }

  RecordingHost host;
  FakeSocketFactory sockets;
  Connection session{sockets, kUploadSessionKind, 0};
  UploadEngine engine{0, session, host};
};

Bytes generated(std::int64_t from, std::int64_t n) {
  Bytes bytes;
  for (std::int64_t i = 0; i < n; ++i) bytes.push_back(byteAt(from + i));
  return bytes;
}

bool isCancel(const Bytes& body) {
  return UploadCancel::decode(body.data(), body.size()).has_value();
}

TEST(UploadEngine, AnnouncesThenSendsOneChunkPerAcknowledgementAfterThePauseAndCompletes) {
  Rig rig(10, 3);
  UploadJob other;  // another slot's job that looks finished: never touched
  other.slot = 1;
  other.state = State::Sending;
  other.totalSize = other.sent = 5;
  rig.host.jobs.push_back(other);
  rig.job().shownState = "대기";
  rig.connect();
  EXPECT_EQ(rig.socket().connectedHost(), "127.0.0.9");
  EXPECT_EQ(rig.socket().connectedPort(), 7301);
  EXPECT_EQ(rig.job().state, State::Announced);
  EXPECT_EQ(rig.job().shownState, "대기") << "state 8 keeps the row's text";
  auto bodies = rig.sent();
  ASSERT_EQ(bodies.size(), 1u);
  const auto request = UploadRequest::decode(bodies[0].data(), bodies[0].size());
  ASSERT_TRUE(request);
  EXPECT_EQ(request->sessionNumber, 0x77);
  EXPECT_EQ(request->serverFileId, 4242);
  EXPECT_EQ(request->folderId, 2) << "a folder of 0 or below is sent as 2";
  EXPECT_EQ(request->memberId, "demo1");
  EXPECT_EQ(request->subFolder, "여행");
  EXPECT_EQ(request->fileName, "사진 모음.bin");
  EXPECT_EQ(request->totalSize, 10);
  EXPECT_EQ(request->offset, 3);
  EXPECT_EQ(request->sharingLetter, 'c');
  EXPECT_EQ(request->sampleDigest, rig.job().sampleDigest);
  EXPECT_EQ(rig.host.disk.seeks, std::vector<std::int64_t>{3});

  rig.host.clock.advance(500);
  rig.accept(4);
  EXPECT_EQ(rig.job().state, State::Sending);
  EXPECT_EQ(rig.job().shownState, "전송");
  EXPECT_EQ(rig.job().chunkSize, 4);
  EXPECT_EQ(rig.job().speedTick, rig.host.clock.tickCount());
  auto chunk = rig.chunk();
  ASSERT_TRUE(chunk);
  EXPECT_EQ(chunk->data, generated(3, 4));
  EXPECT_EQ(rig.job().sent, 7);

  rig.serve(KeepAlive().encode());
  rig.serve(SessionInfo{9}.encode());
  EXPECT_EQ(rig.session.sessionNumber, 9);
  rig.ack();
  rig.ack();  // answers nothing: no second chunk, no second timer
  EXPECT_TRUE(rig.sent().empty()) << "the pause comes first";
  rig.host.clock.advance(kChunkPauseMs - 1);
  EXPECT_TRUE(rig.sent().empty());
  rig.host.clock.advance(1);
  chunk = rig.chunk();
  ASSERT_TRUE(chunk);
  EXPECT_EQ(chunk->data, generated(7, 3)) << "the last chunk is what is left";
  EXPECT_EQ(rig.job().sent, 10);
  rig.ack();
  rig.host.clock.advance(1000);
  EXPECT_TRUE(rig.sent().empty()) << "nothing is left to send";

  rig.done(1, 31);
  const auto finished = rig.host.main.last<UploadFinished>();
  ASSERT_TRUE(finished);
  EXPECT_EQ(finished->value, 31);
  EXPECT_EQ(finished->result, 1);
  EXPECT_EQ(rig.host.statesWhenCompleted, std::vector<State>{State::Sending});
  EXPECT_EQ(rig.job().state, State::Completed);
  EXPECT_EQ(rig.job().shownState, "완료");
  EXPECT_EQ(rig.job().slot, -1);
  EXPECT_FALSE(rig.socket().isOpen());
  EXPECT_TRUE(rig.engine.idle());
  EXPECT_FALSE(rig.engine.fileOpen());
  EXPECT_EQ(rig.host.events, (std::vector<std::string>{"completed 0", "freed 0"}));
  EXPECT_EQ(rig.host.jobs[1].state, State::Sending) << "another slot's job is not this one's";
  EXPECT_EQ(rig.host.jobs[1].slot, 1);
}

TEST(UploadEngine, OnlyTheServicesSuccessAfterTheLastByteCompletesTheJob) {
  struct Case {
    std::uint8_t result;
    bool allSent;
    bool completes;
  } cases[] = {
      {0, true, true},    {1, true, true},   {2, true, false},
      {255, true, false}, {0, false, false},  // stored, it says, before the last chunk
  };
  for (const Case& c : cases) {
    Rig rig(10);
    rig.connect();
    rig.accept(c.allSent ? 10 : 4);
    rig.done(c.result);
    const std::string what = std::to_string(c.result) + (c.allSent ? " all" : " part");
    EXPECT_EQ(rig.job().state, c.completes ? State::Completed : State::Failed) << what;
    EXPECT_EQ(rig.job().shownState, c.completes ? "완료" : "실패") << what;
    EXPECT_EQ(rig.host.main.last<UploadFinished>().has_value(), c.completes) << what;
    if (!c.completes) {
      EXPECT_NE(rig.job().failure.find("(결과 " + std::to_string(c.result) + ")"),
                std::string::npos)
          << what << ": the service's result is named";
      EXPECT_EQ(rig.host.count("failed 0"), 1) << what;
    }
    EXPECT_FALSE(rig.socket().isOpen()) << what;
    EXPECT_EQ(rig.host.count("freed 0"), 1) << what;
  }
}

TEST(UploadEngine, AcceptanceResultsAndChunkSizes) {
  enum Outcome { Sends, Refused, Cancelled };
  struct Case {
    std::uint8_t result;
    std::int32_t chunk;
    Outcome outcome;
    std::int64_t firstByte;  // of the first chunk
    std::int64_t chunkBytes;
  } cases[] = {
      {0, 1050603, Sends, 100, 1050603},  // the largest the send buffer holds
      {255, 4, Sends, 0, 4},              // from byte 0, whatever was announced
      {7, 4, Refused, 0, 0},
      {0, 0, Cancelled, 0, 0},
      {0, -5, Cancelled, 0, 0},
      {0, 1050604, Cancelled, 0, 0},
  };
  for (const Case& c : cases) {
    Rig rig(2000000, 100);
    rig.connect();
    rig.sent();
    rig.accept(c.chunk, c.result);
    const std::string what = std::to_string(c.result) + "/" + std::to_string(c.chunk);
    const auto bodies = rig.sent();
    switch (c.outcome) {
      case Sends: {
        ASSERT_EQ(bodies.size(), 1u) << what;
        const auto chunk = FileChunk::decode(bodies[0].data(), bodies[0].size());
        ASSERT_TRUE(chunk) << what;
        EXPECT_EQ(chunk->data, generated(c.firstByte, c.chunkBytes)) << what;
        EXPECT_EQ(rig.job().sent, c.firstByte + c.chunkBytes) << what;
        EXPECT_EQ(rig.job().state, State::Sending) << what;
        break;
      }
      case Refused:
        EXPECT_TRUE(bodies.empty()) << what;
        EXPECT_EQ(rig.job().state, State::Failed) << what;
        EXPECT_FALSE(rig.socket().isOpen()) << what << ": closed at once";
        EXPECT_EQ(rig.host.events, (std::vector<std::string>{"failed 0", "freed 0"})) << what;
        break;
      case Cancelled:
        ASSERT_EQ(bodies.size(), 1u) << what;
        EXPECT_TRUE(isCancel(bodies[0])) << what;
        EXPECT_EQ(rig.job().state, State::Failed) << what;
        EXPECT_EQ(rig.job().sent, 100) << what;
        EXPECT_FALSE(rig.engine.idle()) << what << ": busy until the socket closes";
        rig.host.clock.advance(kCancelGraceMs);
        EXPECT_FALSE(rig.socket().isOpen()) << what;
        EXPECT_TRUE(rig.engine.idle()) << what;
        EXPECT_EQ(rig.host.events, (std::vector<std::string>{"failed 0", "freed 0"})) << what;
        break;
    }
  }
}

TEST(UploadEngine, AFileThatIsMissingChangedOrCannotBeReadFailsItsJobAlone) {
  enum Where { AtConnect, AtChunk };
  struct Case {
    const char* what;
    Where where;
    GeneratedFiles::Recipe recipe;
    bool missing;
  } cases[] = {
      {"missing", AtConnect, {10}, true},
      {"another size now", AtConnect, {12}, false},
      {"shrank", AtChunk, {10, 6, false}, false},
      {"unreadable", AtChunk, {10, -1, true}, false},
  };
  for (const Case& c : cases) {
    Rig rig(10);
    if (c.missing) {
      rig.host.disk.generated.clear();
    } else {
      rig.host.disk.generated[kPath] = c.recipe;
    }
    rig.connect();
    if (c.where == AtConnect) {
      EXPECT_TRUE(rig.sent().empty()) << c.what << ": nothing announced";
      EXPECT_FALSE(rig.socket().isOpen()) << c.what;
      EXPECT_FALSE(rig.host.disk.has(kPath)) << c.what << ": nothing created";
    } else {
      rig.sent();
      rig.accept(4);
      rig.ack();
      rig.host.clock.advance(kChunkPauseMs);
      const auto bodies = rig.sent();
      for (const Bytes& body : bodies) {
        const auto chunk = FileChunk::decode(body.data(), body.size());
        if (chunk) {
          EXPECT_EQ(chunk->data.size(), 4u) << c.what << ": only whole chunks";
        }
      }
      ASSERT_FALSE(bodies.empty()) << c.what;
      EXPECT_TRUE(isCancel(bodies.back())) << c.what;
      EXPECT_EQ(rig.job().sent, c.recipe.readFails ? 0 : 4) << c.what << ": what was read";
      rig.socket().deliver(SocketEvent::Close);  // the service closes first
    }
    EXPECT_EQ(rig.job().state, State::Failed) << c.what;
    EXPECT_FALSE(rig.job().failure.empty()) << c.what;
    EXPECT_TRUE(rig.engine.idle()) << c.what;
    EXPECT_EQ(rig.host.events, (std::vector<std::string>{"failed 0", "freed 0"})) << c.what;
    EXPECT_EQ(rig.host.clock.pendingCount(), 0u) << c.what << ": no timer left behind";
  }
}

TEST(UploadEngine, StopCancelsAConnectedSessionAndClosesItAfterTheGrace) {
  Rig rig(10);
  rig.connect();
  rig.accept(4);
  rig.sent();
  rig.engine.stop();
  auto bodies = rig.sent();
  ASSERT_EQ(bodies.size(), 1u);
  EXPECT_TRUE(isCancel(bodies[0]));
  EXPECT_FALSE(rig.engine.bound());
  EXPECT_FALSE(rig.engine.idle()) << "the slot is busy while the socket is open";
  rig.ack();
  rig.host.clock.advance(kCancelGraceMs - 1);
  EXPECT_TRUE(rig.sent().empty()) << "no chunk after a cancel";
  EXPECT_TRUE(rig.socket().isOpen());
  rig.host.clock.advance(1);
  EXPECT_FALSE(rig.socket().isOpen()) << "the service did not close it: the client does";
  EXPECT_TRUE(rig.engine.idle());
  EXPECT_TRUE(rig.host.events.empty()) << "the job is the caller's";

  // The service closes first: the slot is free at once.
  Rig second(10);
  second.connect();
  second.engine.stop();
  second.socket().deliver(SocketEvent::Close);
  EXPECT_TRUE(second.engine.idle());
  EXPECT_EQ(second.host.clock.pendingCount(), 0u);
  EXPECT_EQ(second.job().state, State::Announced) << "a drop after stop fails nothing";

  // Still connecting: nobody to tell.
  Rig third(10);
  ASSERT_TRUE(third.engine.connect("127.0.0.9", 7301));
  third.engine.stop();
  EXPECT_TRUE(third.sent().empty());
  EXPECT_TRUE(third.engine.idle());
}

TEST(UploadEngine, ADroppedSessionFailsTheBoundJob) {
  for (State state : {State::Connecting, State::Announced, State::Sending}) {
    Rig rig(10);
    ASSERT_TRUE(rig.engine.connect("127.0.0.9", 7301));
    if (state != State::Connecting) rig.socket().deliver(SocketEvent::Connect);
    if (state == State::Sending) rig.accept(4);
    ASSERT_EQ(rig.job().state, state);
    rig.socket().deliver(SocketEvent::Close);
    EXPECT_EQ(rig.job().state, State::Failed) << static_cast<int>(state);
    EXPECT_EQ(rig.job().shownState, "실패");
    EXPECT_EQ(rig.job().slot, -1);
    EXPECT_TRUE(rig.engine.idle());
    EXPECT_EQ(rig.host.events, (std::vector<std::string>{"failed 0", "freed 0"}));
  }
}

TEST(UploadEngine, OffsetsAndCountsStayRightBeyond4GiB) {
  const std::int64_t size = 5 * kGiB + 3;
  const std::int64_t held = 5 * kGiB - 1000000 + 7;
  Rig rig(size, held);
  rig.connect();
  const auto bodies = rig.sent();
  ASSERT_EQ(bodies.size(), 1u);
  const auto request = UploadRequest::decode(bodies[0].data(), bodies[0].size());
  ASSERT_TRUE(request);
  EXPECT_EQ(request->totalSize, size);
  EXPECT_EQ(request->offset, held);
  EXPECT_EQ(rig.host.disk.seeks, std::vector<std::int64_t>{held});
  rig.accept(600000);
  auto chunk = rig.chunk();
  ASSERT_TRUE(chunk);
  EXPECT_EQ(chunk->data, generated(held, 600000));
  rig.ack();
  rig.host.clock.advance(kChunkPauseMs);
  chunk = rig.chunk();
  ASSERT_TRUE(chunk);
  EXPECT_EQ(chunk->data, generated(held + 600000, size - held - 600000));
  EXPECT_EQ(rig.job().sent, size);
  rig.done(0);
  EXPECT_EQ(rig.job().state, State::Completed);
}

}  // namespace
}  // namespace pom::test
