// Listing a web folder of 10,000 items through the client's presenters (the
// headless front end: tree, file list and the list view that keeps the
// rows), from the first request to the refill after the last page, against
// the bare page round trips of the same folder on a raw connection in the
// same run. Also the time of one sort-and-refill of the 10,000 rows.
//
//   bench_web_list [items]   (default 10000; POM_BENCH_ROUNDS rounds, default 3)
//
// Prints the client's CPU time per listed item (the service runs on its own
// threads in this process), the sort-and-refill time, and the ratio of the
// whole listing to the bare round trips.
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/headless_client.h"
#include "core/net/messages/messages.h"
#include "core/storage/folder_listings.h"
#include "core/storage/storage_module.h"
#include "core/storage/web_file_list.h"
#include "core/storage/web_folder_tree.h"
#include "service/demo_data.h"
#include "service/service_app.h"
#include "tests/integration/service_client.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisSince(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double threadCpuMicros() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The bare round trips: every page of the folder asked and awaited on a raw
// connection, nothing done with the entries. Milliseconds; < 0 on failure.
double bareListing(pom::testing_support::ServiceClient& client, std::int32_t folderId,
                   int& entries) {
  pom::FolderListRequest request;
  request.folderId = folderId;
  entries = 0;
  const auto start = Clock::now();
  for (;;) {
    client.send(request.encode());
    auto page = client.await<pom::FolderList>(5000);
    if (!page) return -1;
    entries += static_cast<int>(page->entries.size());
    if (page->entries.size() < page->capacity || page->entries.empty()) break;
    request.lastEntryId = page->entries.back().itemId;
    request.continuation = page->continuation;
  }
  return millisSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  const int items = argc > 1 ? std::atoi(argv[1]) : 10000;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("pom-bench-web-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "client");
  const int portBase = 25000 + (::getpid() % 400) * 10;
  pom::service::ServiceOptions options;
  options.dataDir = (dir / "service").string();
  options.ports = pom::service::ServicePorts::withBase(portBase, false);
  options.web = false;
  options.bulkFolder = items;
  pom::service::ServiceApp app(options);
  std::string error;
  if (!app.start(&error)) {
    std::fprintf(stderr, "cannot start the service: %s\n", error.c_str());
    return 1;
  }

  // The folder's id, from the root listing of a raw connection.
  auto rawClient = std::make_unique<pom::testing_support::ServiceClient>();
  pom::testing_support::ServiceClient& raw = *rawClient;
  if (!raw.connect(app.ports().loginHosts[0], app.ports().loginPorts[0])) return 1;
  pom::LoginRequest login;
  login.memberId = pom::service::demo::kMember1;
  login.password = pom::service::demo::kPassword1;
  raw.send(login.encode());
  if (!raw.await<pom::LoginReply>()) return 1;
  raw.send(pom::FolderListRequest{}.encode());
  std::int32_t folderId = 0;
  if (auto root = raw.await<pom::FolderList>(5000)) {
    for (const pom::FolderEntry& entry : root->entries) {
      if (entry.name == pom::service::demo::kBulkFolder) folderId = entry.itemId;
    }
  }
  if (folderId == 0) {
    std::fprintf(stderr, "no bulk folder in the listing\n");
    return 1;
  }
  // The bare round trips first, on their own connection: the member is
  // logged in once at a time.
  const char* roundsText = std::getenv("POM_BENCH_ROUNDS");
  const int kRounds = roundsText != nullptr ? std::max(1, std::atoi(roundsText)) : 3;
  std::vector<double> bare, whole, cpu;
  int bareEntries = 0;
  for (int round = 0; round < kRounds; ++round) {
    const double bareMs = bareListing(raw, folderId, bareEntries);
    if (bareMs < 0) {
      std::fprintf(stderr, "the bare listing failed\n");
      return 1;
    }
    bare.push_back(bareMs);
  }
  rawClient.reset();

  pom::HeadlessOptions client;
  client.id = pom::service::demo::kMember1;
  client.password = pom::service::demo::kPassword1;
  client.portBase = portBase;
  client.workDir = dir / "client";
  client.timeoutMs = 120000;
  std::ostringstream boxes;
  pom::HeadlessClient headless(client, boxes);
  if (!headless.start() || headless.loginAndList() != pom::Outcome::Done) {
    std::fprintf(stderr, "the client did not log in\n");
    return 1;
  }
  pom::WebFolderTree& tree = headless.storage().tree();
  pom::WebFileList& list = headless.storage().list();
  pom::FolderListings& listings = headless.storage().listings();
  for (int round = 0; round < kRounds; ++round) {
    // Away and back, so the folder is listed anew each round.
    tree.onSelectionChanged(tree.ownRoot());
    headless.waitUntil([&] { return !listings.pending() && list.folder() == 0; });
    // The root's listing rebuilds its child nodes: find the folder's anew.
    const pom::WebNodeId bulk = tree.findFolder(tree.ownRoot(), folderId, nullptr);
    if (bulk == 0) {
      std::fprintf(stderr, "no bulk folder in the tree\n");
      return 1;
    }
    const auto start = Clock::now();
    const double cpuStart = threadCpuMicros();
    tree.onSelectionChanged(bulk);
    const bool done = headless.waitUntil(
        [&] { return !listings.pending() && list.folder() == folderId && tree.opened() == bulk; });
    cpu.push_back(threadCpuMicros() - cpuStart);
    whole.push_back(millisSince(start));
    if (!done || static_cast<int>(headless.front().list->rows.size()) != items) {
      std::fprintf(stderr, "the listing showed %zu of %d rows\n",
                   headless.front().list->rows.size(), items);
      return 1;
    }
  }

  // Sort and refill: the name, size and date columns, each clicked once.
  std::vector<double> sorts;
  for (int column : {0, 1, 3, 0, 1, 3}) {
    const auto start = Clock::now();
    list.columnClick(column);
    sorts.push_back(millisSince(start));
  }

  headless.front().list->rows.clear();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  const double wholeMs = median(whole);
  const double bareMs = median(bare);
  std::printf("folder of %d items (%d entries on the bare connection), median of %d rounds\n",
              items, bareEntries, kRounds);
  std::printf("client CPU per listed item : %8.2f us\n", median(cpu) / items);
  std::printf("sort and refill            : %8.2f ms\n", median(sorts));
  std::printf("whole listing              : %8.1f ms\n", wholeMs);
  std::printf("bare page round trips      : %8.1f ms\n", bareMs);
  std::printf("ratio listing/bare         : %.2f\n", wholeMs / bareMs);
  return 0;
}
