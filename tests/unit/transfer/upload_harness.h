// The upload window's presenter on fakes: the real queue and engines on
// upload sessions over fake sockets, the memory file system, the real MD5,
// a manual loop and a recording view; the login server is a recording
// session link, the web folder shown a fixed one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "core/net/messages/messages.h"
#include "core/transfer/session_slots.h"
#include "core/transfer/upload_window.h"
#include "download_harness.h"
#include "support/fake_app.h"
#include "support/fake_links.h"
#include "support/fake_transfer_views.h"

namespace pom::test {

inline constexpr char kUpFolder[] = "c:\\up";
inline constexpr std::uint16_t kStoragePort = 7202;

// The own list shows web folder 7.
class ShownFolder : public FakeStorageLink {
 public:
  std::int32_t folder = 7;
  std::string path = "폼베일/내웹폴더/사진/";
  std::int32_t currentFolderId() const override { return folder; }
  std::string currentFolderPath() const override { return path; }
};

class UploadHarness {
 public:
  UploadHarness() {
    fake.files.addFolder(kUpFolder);
    session.member.memberId = "demo1";
    session.member.sessionNumber = 77;
    UploadWindow::Deps deps;
    deps.loop = &fake.loop;
    deps.clock = &fake.loop;
    deps.files = &fake.files;
    deps.md5 = &fake.md5;
    deps.dialogs = &fake.dialogs;
    deps.shell = &fake.shell;
    deps.config = &config;
    deps.servers = &servers;
    deps.session = &session;
    deps.sessions = &sessions;
    deps.storage = &storage;
    deps.uploads = &link;
    window = std::make_unique<UploadWindow>(std::move(deps));
    window->attachView(&view);
  }

  // A local file "c:\up\<name>" of size bytes, queued for folder 5.
  std::string add(const std::string& name, std::size_t size = 100) {
    const std::string path = std::string(kUpFolder) + "\\" + name;
    fake.files.addFile(path, std::string(size, 'u'));
    window->addUpload(path, 5, "sub");
    return path;
  }
  // One timer tick (800 ms, and what falls due with it).
  void tick() { fake.loop.advance(kUploadTimerMs); }
  std::uint16_t key(int index) const { return job(index).ticketKey; }
  void ticket(std::uint16_t row, std::int64_t size, std::int64_t held,
              UploadTicket::Result result = UploadTicket::Result::Go) {
    UploadTicket t;
    t.storageHost = "127.0.0.3";
    t.storagePort = kStoragePort;
    t.uploadRow = row;
    t.serverFileId = 900 + row;
    t.fileSize = size;
    t.storedBytes = held;
    t.result = result;
    window->onTicket(t);
  }
  FakeSocket& socket(int slot) { return static_cast<FakeSocket&>(sessions[slot].socket()); }
  void connected(int slot) { socket(slot).deliver(SocketEvent::Connect); }
  void serve(int slot, const Bytes& body) {
    socket(slot).scriptReceive(framed(body));
    socket(slot).deliver(SocketEvent::Read);
  }
  void accept(int slot, std::int32_t chunk = 64) {
    UploadAccept a;
    a.chunkSize = chunk;
    serve(slot, a.encode());
  }
  // The job on slot through its ticket and session to sending (state 9).
  void toSending(int slot, int index) {
    ticket(key(index), job(index).totalSize, 0);
    connected(slot);
    accept(slot, 1 << 20);
  }
  // The types of the upload-session messages sent on slot, in order.
  std::vector<std::uint32_t> sentTypes(int slot) {
    std::vector<std::uint32_t> types;
    const Bytes& out = socket(slot).sent();
    for (std::size_t at = 0; at + 12 <= out.size();) {
      const std::uint32_t length = out[at + 4] | out[at + 5] << 8 | out[at + 6] << 16 |
                                   static_cast<std::uint32_t>(out[at + 7]) << 24;
      types.push_back(out[at + 8]);
      if (length < 12) break;
      at += length;
    }
    return types;
  }
  template <typename M>
  std::vector<M> sent() const {
    std::vector<M> found;
    for (const Bytes& body : session.sent) {
      if (auto decoded = M::decode(body.data(), body.size())) found.push_back(*decoded);
    }
    return found;
  }
  const UploadJob& job(int index) const { return window->jobs()[static_cast<std::size_t>(index)]; }

  FakePorts fake;
  ConfigStore config{fake.profile, fake.registry, "c:\\work"};
  Servers servers{fake.profile};
  FakeSessionLink session;
  ShownFolder storage;
  FakeUploadLink link;
  SessionSlots sessions{fake.sockets, kUploadSessionKind, nullptr, FanOutSlot::UploadSessions,
                        "UploadSession"};
  FakeTransferWindowView view;
  std::unique_ptr<UploadWindow> window;
};

}  // namespace pom::test
