// Listing a folder of 10,000 items page by page (30 per page) through the
// login server, against a minimal request round trip (TransferEnded →
// CreditBalance) on the same connection in the same run.
//
//   bench_service_listing [items]   (default 10000)
//
// Prints the time per page, the time per minimal round trip and their ratio.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/net/messages/messages.h"
#include "service/service_app.h"
#include "tests/integration/service_client.h"

namespace {
using Clock = std::chrono::steady_clock;
double micros(Clock::time_point since) {
  return std::chrono::duration<double, std::micro>(Clock::now() - since).count();
}
}  // namespace

int main(int argc, char** argv) {
  int items = argc > 1 ? std::atoi(argv[1]) : 10000;
  std::string dir =
      std::filesystem::temp_directory_path() / ("pom-bench-ls-" + std::to_string(::getpid()));
  pom::service::ServiceOptions options;
  options.dataDir = dir;
  options.ports = pom::service::ServicePorts::withBase(24000 + (::getpid() % 500) * 10, false);
  options.web = false;
  options.seed = false;
  pom::service::ServiceApp app(options);
  std::string error;
  if (!app.start(&error)) {
    std::fprintf(stderr, "cannot start the service: %s\n", error.c_str());
    return 1;
  }
  pom::service::Store& store = app.store();
  pom::service::Member member;
  member.id = "bench";
  member.password = "bench";
  store.addMember(member);
  std::int32_t folder = store.addFolder("bench", 0, "big folder", 'f');
  store.transaction([&] {
    for (int i = 0; i < items; ++i) {
      pom::service::Item file;
      file.owner = "bench";
      file.parentId = folder;
      file.name = "file-" + std::to_string(i) + ".bin";
      file.size = file.stored = 1000 + i;
      if (!store.addFile(file)) return false;
    }
    return true;
  });

  pom::testing_support::ServiceClient client;
  if (!client.connect(app.ports().loginHosts[0], app.ports().loginPorts[0])) return 1;
  pom::LoginRequest login;
  login.memberId = "bench";
  login.password = "bench";
  client.send(login.encode());
  if (!client.await<pom::LoginReply>()) return 1;

  const int kRounds = 3;
  double pageTotal = 0;
  int pages = 0;
  int listed = 0;
  for (int round = 0; round < kRounds; ++round) {
    pom::FolderListRequest request;
    request.folderId = folder;
    auto start = Clock::now();
    for (;;) {
      client.send(request.encode());
      auto page = client.await<pom::FolderList>(5000);
      if (!page) return 1;
      ++pages;
      if (round == 0) listed += static_cast<int>(page->entries.size());
      if (page->entries.size() < page->capacity) break;
      request.lastEntryId = page->entries.back().itemId;
      request.continuation = page->continuation;
    }
    pageTotal += micros(start);
  }
  double perPage = pageTotal / pages;

  const int kTrips = 1000;
  auto start = Clock::now();
  for (int i = 0; i < kTrips; ++i) {
    client.send(pom::TransferEnded{}.encode());
    if (!client.await<pom::CreditBalance>(5000)) return 1;
  }
  double perTrip = micros(start) / kTrips;

  app.stop();
  std::filesystem::remove_all(dir);
  if (listed != items) {
    std::fprintf(stderr, "listed %d of %d items\n", listed, items);
    return 1;
  }
  std::printf("folder of %d items: %d pages per listing\n", items, pages / kRounds);
  std::printf("time per page            : %8.1f us\n", perPage);
  std::printf("minimal round trip       : %8.1f us\n", perTrip);
  std::printf("ratio page/round trip    : %.2f\n", perPage / perTrip);
  std::printf("whole listing            : %8.1f ms\n", perPage * pages / kRounds / 1000);
  return 0;
}
