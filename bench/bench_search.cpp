// A search of 200 hits through the client's core: from Enter (the search
// module's search with the typed text) to the result list's rows handed to
// its view, over the POSIX HTTP client against the local service's search
// server, against a bare HTTP GET of the same reply (the same client, the
// body read and dropped) in the same run.
//
//   bench_search [hits]   (default 200; POM_BENCH_ROUNDS rounds, default 3)
//
// Each round runs 20 searches of each kind, alternating two keywords that
// both find every hit (the same text twice would only switch the pane), and
// keeps the median; the figures are the best round's.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "cli/headless_client.h"
#include "core/app/client_app.h"
#include "core/base/servers.h"
#include "core/ports/profile.h"
#include "core/ports/text_codec.h"
#include "core/search/search_keyword.h"
#include "core/search/search_module.h"
#include "core/search/search_result_list.h"
#include "platform/posix/posix_http_client.h"
#include "service/demo_data.h"
#include "service/service_app.h"

namespace {

using pom::bench::Clock;
namespace fs = std::filesystem;

// The result list's view: keeps the rows as a list control would.
class RowKeepingView final : public pom::SearchResultListView {
 public:
  void setColumns(const std::vector<pom::SearchColumn>&) override {}
  void setRows(const std::vector<pom::SearchRow>& rows) override { rows_ = rows; }
  void appendRows(const std::vector<pom::SearchRow>& rows) override {
    rows_.insert(rows_.end(), rows.begin(), rows.end());
  }
  void setCaption(const std::string&) override {}
  std::vector<int> selectedRows() override { return {}; }
  void selectAllAndFocus() override {}
  pom::SearchCommand trackMenu(const std::vector<pom::SearchMenuItem>&) override {
    return pom::SearchCommand::None;
  }
  void place(const pom::PaneRect&) override {}
  void setVisible(bool) override {}
  std::size_t rows() const { return rows_.size(); }

 private:
  std::vector<pom::SearchRow> rows_;
};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int hits = argc > 1 ? std::atoi(argv[1]) : 200;
  const int rounds =
      std::getenv("POM_BENCH_ROUNDS") ? std::atoi(std::getenv("POM_BENCH_ROUNDS")) : 3;
  if (hits < 1 || hits > 100000 || rounds < 1) {
    std::fprintf(stderr, "usage: bench_search [hits 1..100000]\n");
    return 2;
  }
  const std::string dir =
      fs::temp_directory_path() / ("pom-bench-search-" + std::to_string(::getpid()));
  fs::create_directories(dir + "/client");
  const int portBase = 26000 + (::getpid() % 400) * 10;

  // The demo data with `hits` public files "작은00001.bin"...; one page holds them all.
  pom::service::ServiceOptions options;
  options.dataDir = dir + "/data";
  options.ports = pom::service::ServicePorts::withBase(portBase, false);
  options.smallFiles = hits;
  options.faults = {"search_page_size=" + std::to_string(hits)};
  pom::service::ServiceApp service(options);
  std::string error;
  if (!service.start(&error)) {
    std::fprintf(stderr, "cannot start the service: %s\n", error.c_str());
    return 1;
  }
  const std::string web = "127.0.0.7:" + std::to_string(service.ports().webPort);

  std::ostringstream errors;
  pom::HeadlessOptions client;
  client.id = "demo1";
  client.password = "demo1234";
  client.portBase = portBase;
  client.workDir = dir + "/client";
  client.timeoutMs = 60000;
  pom::HeadlessClient headless(client, errors);
  if (!headless.start() || headless.login() != pom::Outcome::Done) {
    std::fprintf(stderr, "cannot log in: %s\n", errors.str().c_str());
    return 1;
  }
  pom::Profile& profile = *headless.app().context().ports().profile;
  const std::string port = ":" + std::to_string(service.ports().webPort);
  profile.writeText(pom::kServersSection, "SearchPrefix", "127.0.0." + port, "./PomConfig.ini");
  profile.writeText(pom::kServersSection, "NaturalSearch", "127.0.0.10" + port, "./PomConfig.ini");
  pom::SearchModule& search = headless.app().module<pom::SearchModule>();
  RowKeepingView view;
  search.resultList()->attachView(&view);

  // "작은0" and "작은00" (CP949) both name every generated file.
  const std::string keywords[2] = {"\xC0\xDB\xC0\xBA\x30", "\xC0\xDB\xC0\xBA\x30\x30"};
  pom::PosixHttpClient http;
  double best[3] = {1e9, 1e9, 1e9};  // normal search, natural search, bare GET (ms)
  bool ok = true;
  for (int round = 0; round < rounds && ok; ++round) {
    std::vector<double> times[3];
    for (int i = 0; i < 40 && ok; ++i) {
      const std::string& keyword = keywords[i % 2];
      const int kind = i < 20 ? 0 : 1;
      const auto start = Clock::now();
      search.search(keyword, kind == 0 ? pom::SearchKind::Normal : pom::SearchKind::Natural);
      times[kind].push_back(pom::bench::secondsSince(start) * 1000);
      ok &= search.hits().size() == static_cast<std::size_t>(hits) &&
            view.rows() == static_cast<std::size_t>(hits);

      pom::HttpRequest bare;
      bare.host = web;
      bare.path = "/app/search_new4.asp?share=t&userid=demo1&chksum=&keyword=" +
                  pom::encodeKeyword(keyword);
      bare.agent = "ActiveWAB2";
      bare.timeoutMs = 5000;
      const auto bareStart = Clock::now();
      const pom::HttpResponse reply = http.send(bare, 4 << 20);
      times[2].push_back(pom::bench::secondsSince(bareStart) * 1000);
      ok &= reply.status == 200 && !reply.body.empty();
    }
    for (int k = 0; k < 3; ++k) best[k] = std::min(best[k], median(times[k]));
  }
  if (!ok) {
    std::fprintf(stderr, "a search did not bring %d hits (%zu hits, %zu rows): %s\n", hits,
                 search.hits().size(), view.rows(),
                 pom::cp949ToUtf8(search.resultMessage()).c_str());
    return 1;
  }
  std::printf("search of %d hits, median of 20 per kind, best of %d rounds:\n", hits, rounds);
  std::printf("  normal search, Enter to filled rows  %8.2f ms  (%.2fx the bare GET)\n", best[0],
              best[0] / best[2]);
  std::printf("  natural search (POST)                %8.2f ms  (%.2fx the bare GET)\n", best[1],
              best[1] / best[2]);
  std::printf("  bare GET of the same reply           %8.2f ms\n", best[2]);
  fs::remove_all(dir);
  return 0;
}
