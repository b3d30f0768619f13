// The update files, advertisement line and web pages over real loopback HTTP,
// and the server's behaviour on malformed requests.
#include <gtest/gtest.h>

#include <chrono>

#include "integration/web_test_client.h"
#include "service/faults.h"
#include "service/store.h"
#include "service/update_files.h"
#include "service/web_pages.h"
#include "service/web_site.h"
#include "support/temp_dir.h"

namespace pom::service {
namespace {

using pom::test::httpGet;
using pom::test::HttpReply;
using pom::test::RawClient;

constexpr char kHost[] = "127.0.0.1";

class WebSiteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    store = Store::open(dir.file("data"), &error);
    ASSERT_TRUE(store) << error;
    Member member;
    member.id = "demo";
    member.password = "abc";
    member.credit = 12345;
    member.notesWaiting = true;
    ASSERT_TRUE(store->addMember(member));
    ServicePorts ports;
    ports.webPort = 8123;
    config = WebSiteConfig::fromPorts(ports);
    config.endpoints = {{kHost, 0}};
    site = startWebSite(config, *store, faults, &error);
    ASSERT_TRUE(site) << error;
    port = site->endpoints()[0].port;
  }

  HttpReply get(const std::string& target) { return httpGet(kHost, port, target); }

  // A server that still answers after whatever came before.
  void expectAlive() { EXPECT_EQ(get("/UpdateFiles/CverChk.dat").body, "0.9"); }

  pom::test::TempDir dir;
  std::unique_ptr<Store> store;
  Faults faults;
  WebSiteConfig config;
  std::unique_ptr<WebSite> site;
  std::uint16_t port = 0;
};

TEST_F(WebSiteTest, SwitchesNameTheVersionsAndProgramsAtRunTime) {
  EXPECT_EQ(get("/UpdateFiles/Pomvale.exe").status, 404) << "no client program configured";
  dir.write("client.exe", std::string("MZ client\0bytes", 15));
  dir.write("updater.exe", "MZ updater");
  faults.set("update_client_path", dir.file("client.exe"));
  faults.set("update_updater_path", dir.file("updater.exe"));
  faults.set("update_cver", "13");
  faults.set("update_uver", "2");
  EXPECT_EQ(get("/UpdateFiles/Pomvale.exe").body, std::string("MZ client\0bytes", 15));
  EXPECT_EQ(get("/UpdateFiles/PomUpdater.exe").body, "MZ updater");
  EXPECT_EQ(get("/UpdateFiles/CverChk.dat").body, "13");
  EXPECT_EQ(get("/UpdateFiles/UverChk.dat").body, "2");
  // Read at each request: a new build is served without a restart.
  dir.write("updater.exe", "MZ rebuilt");
  EXPECT_EQ(get("/UpdateFiles/PomUpdater.exe").body, "MZ rebuilt");
  faults.clearAll();
  expectAlive();
  EXPECT_FALSE(faults.set("http_fault", "slow@/x"));
  EXPECT_FALSE(faults.set("http_fault", "cut@x"));
  EXPECT_TRUE(faults.set("http_fault", "dribble"));
}

TEST_F(WebSiteTest, UpdateFilesAndAdvertisementLine) {
  // The version files are the bare text: the client compares 10 bytes.
  const HttpReply client = get("/UpdateFiles/CverChk.dat");
  EXPECT_EQ(client.status, 200);
  EXPECT_EQ(client.body, "0.9");
  EXPECT_NE(client.headers.find("Content-Length: 3"), std::string::npos);
  EXPECT_EQ(get("/UpdateFiles/UverChk.dat").body, "0.9");
  EXPECT_FALSE(get("/UpdateFiles/PomUpdater.exe").body.empty());
  // Every word ends with its line break, the last one too.
  EXPECT_EQ(get("/UpdateFiles/dblist.dat").body, "warez\nkeygen\ncrack\n불법복제\n음란물\n");

  const std::string ad = get("/Ad/index.asp").body;
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start <= ad.size()) {
    auto end = ad.find('|', start);
    if (end == std::string::npos) end = ad.size();
    if (end > start) pieces.push_back(ad.substr(start, end - start));
    start = end + 1;
  }
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[2], "http://127.0.0.1:8123/help_desk/");
  EXPECT_LE(ad.size(), 1023u);
}

TEST_F(WebSiteTest, EveryPageTheClientOpensIsAnEucKrPage) {
  for (const char* target :
       {"/", "/member/member_step1.asp", "/member/id_pw_search.asp", "/help_desk/",
        "/help_desk/notice_program.asp?userid=demo", "/pop/20080401.asp",
        "/payment/pay.asp?userid=demo&md6=1", "/memo/msg_list01.asp?userid=demo&md6=1",
        "/download/webdown.asp?Code=1"}) {
    const HttpReply page = get(target);
    EXPECT_EQ(page.status, 200) << target;
    EXPECT_NE(page.headers.find("charset=euc-kr"), std::string::npos) << target;
    EXPECT_NE(page.body.find("<title>"), std::string::npos) << target;
  }
  const HttpReply missing = get("/no/such/page.asp");
  EXPECT_EQ(missing.status, 404);
  EXPECT_NE(missing.body.find("/no/such/page.asp"), std::string::npos);
}

TEST_F(WebSiteTest, ReceivedParametersAreEscaped) {
  const HttpReply page = get("/help_desk/notice_program.asp?userid=%3Cscript%3Ex%22%26");
  EXPECT_NE(page.body.find("&lt;script&gt;x&quot;&amp;"), std::string::npos);
  EXPECT_EQ(page.body.find("<script>"), std::string::npos);
}

TEST_F(WebSiteTest, MemberPagesNeedTheWebTokenOfThePassword) {
  // "abc": 3*97+0+24 = 315, r = 315 mod 47 = 33; 3*98+33+24 = 351, r = 36; 3*99+36+24 = 357.
  EXPECT_EQ(webToken("abc"), "315351357");
  EXPECT_EQ(webToken(""), "");
  EXPECT_EQ(webToken("\xF0"), "-24");  // signed byte -16: 3*-16+24

  const HttpReply wrong = get("/payment/pay.asp?userid=demo&md6=315351358");
  EXPECT_EQ(wrong.body.find("12345"), std::string::npos);
  EXPECT_NE(get("/payment/pay.asp?userid=demo&md6=315351357").body.find("12345P"),
            std::string::npos);

  get("/memo/msg_list01.asp?userid=demo&md6=999");
  EXPECT_TRUE(store->member("demo")->notesWaiting);
  get("/memo/msg_list01.asp?userid=demo&md6=315351357");
  EXPECT_FALSE(store->member("demo")->notesWaiting);
}

TEST_F(WebSiteTest, DownloadPageShowsOnlySharedFilesOfTheLink) {
  Item file;
  file.owner = "demo";
  file.name = "shared <b>.txt";
  file.share = 't';
  file.size = file.stored = 10;
  const std::int32_t shared = store->addFile(file);
  file.name = "secret.txt";
  file.share = 'f';
  const std::int32_t secret = store->addFile(file);
  ASSERT_TRUE(store->addCombinedLink("AbC123", "demo",
                                     std::to_string(shared) + "," + std::to_string(secret)));

  const std::string single = get("/download/webdown.asp?Code=" + std::to_string(shared)).body;
  EXPECT_NE(single.find("shared &lt;b&gt;.txt"), std::string::npos);
  EXPECT_EQ(get("/download/webdown.asp?Code=" + std::to_string(secret)).body.find("secret"),
            std::string::npos);
  const std::string combined = get("/download/webdown.asp?Code=AbC123").body;
  EXPECT_NE(combined.find("shared &lt;b&gt;.txt"), std::string::npos);
  EXPECT_EQ(combined.find("secret.txt"), std::string::npos);
  for (const char* code : {"99999999999", "-1", "", "nope"}) {
    EXPECT_EQ(get(std::string("/download/webdown.asp?Code=") + code).status, 200) << code;
  }
}

TEST_F(WebSiteTest, MalformedRequestsNeverStopTheServer) {
  const std::vector<std::string> requests = {
      std::string("\x00\xFF\xFE garbage\r\n\r\n", 15),
      "GET\r\n\r\n",
      "GET / HTTP/9.9\r\n\r\n",
      "GET /" + std::string(100000, 'a') + " HTTP/1.0\r\n\r\n",
      "GET / HTTP/1.0\r\nX: " + std::string(100000, 'b') + "\r\n\r\n",
      "POST /Pomvale/Search.asp HTTP/1.0\r\nContent-Length: 99999999999\r\n\r\nKeyword=x",
      "POST /Pomvale/Search.asp HTTP/1.0\r\nContent-Length: -5\r\n\r\n",
      "POST /Pomvale/Search.asp HTTP/1.0\r\nContent-Length: 20\r\n\r\nKeyword=ab",  // short
      "GET /app/search_new4.asp?keyword=%%%%%&page=99999999999 HTTP/1.0\r\n\r\n",
      "GET /search.asp?chksum=%00%00 HTTP/1.0\r\n\r\n",
  };
  for (const std::string& request : requests) {
    RawClient client(kHost, port);
    ASSERT_TRUE(client.connected());
    client.send(request);
    // Each gets a whole answer (status line and headers), or at least a close.
    const std::string answer = client.readAll(6000, 1 << 20, "\r\n\r\n");
    const int status = pom::test::parseHttpReply(answer).status;
    EXPECT_TRUE(client.closed() || (status >= 200 && status < 500)) << request.substr(0, 60);
  }
  // A request cut off in the middle, then the client leaves.
  {
    RawClient client(kHost, port);
    client.send("GET /UpdateFiles/Cver");
  }
  expectAlive();
}

TEST_F(WebSiteTest, StopReturnsWithAnIdleConnectionOpen) {
  RawClient idle(kHost, port);
  ASSERT_TRUE(idle.connected());
  idle.send("GET / HTTP/1.1\r\nHost: x\r\n");  // headers never finished
  const auto started = std::chrono::steady_clock::now();
  site->stop();
  // Bounded by the read timeout; a hang would block here for good.
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(30));
  EXPECT_FALSE(RawClient(kHost, port).connected());
}

TEST(WebSiteStart, FailsWholeWhenAnEndpointIsTaken) {
  pom::test::TempDir dir;
  auto store = Store::open(dir.file("data"), nullptr);
  ASSERT_TRUE(store);
  Faults faults;
  WebSiteConfig config;
  config.endpoints = {{kHost, 0}};
  auto first = startWebSite(config, *store, faults);
  ASSERT_TRUE(first);
  config.endpoints = {{"127.0.0.9", 0}, {kHost, first->endpoints()[0].port}};
  std::string error;
  EXPECT_FALSE(startWebSite(config, *store, faults, &error));
  EXPECT_NE(error.find("cannot listen"), std::string::npos);
  config.endpoints = {{"not-an-address", 1}};
  EXPECT_FALSE(startWebSite(config, *store, faults));
}

}  // namespace
}  // namespace pom::service
