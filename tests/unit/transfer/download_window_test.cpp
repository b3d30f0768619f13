// The download window's presenter: its settings, row texts, speed and
// totals, the completion actions, opening and playing files, and the
// questions it asks before stopping or closing.
#include <gtest/gtest.h>

#include "download_harness.h"

namespace pom::test {
namespace {

using State = JobState;

TEST(DownloadWindow, OpeningReadsTheConcurrencyAndTheCloseChoice) {
  struct Case {
    const char* stored;  // nullptr: missing
    int limit;
  } cases[] = {{nullptr, 1}, {"2", 2}, {"3", 3}, {"0", 1}, {"5", 1}, {"x", 1}};
  for (const Case& c : cases) {
    DownloadHarness h;
    if (c.stored != nullptr) h.config.writeText(ConfigKey::DownLoadCount, c.stored);
    h.config.writeBool(ConfigKey::DownLoadWindowClose, true);
    h.window->open();
    EXPECT_EQ(h.window->maxConcurrent(), c.limit) << (c.stored ? c.stored : "missing");
    EXPECT_EQ(h.view.concurrency, c.limit);
    EXPECT_TRUE(h.view.boxes[TransferCheckBox::CloseWhenDone]);
    EXPECT_FALSE(h.view.boxes[TransferCheckBox::PowerOffWhenDone]);
  }
}

TEST(DownloadWindow, RowsShowSizePercentSpeedAndState) {
  DownloadHarness h;
  h.add(9, "dir\\big.bin", 3 * 1024 * 1024);
  h.window->start();
  h.tick();
  h.ticket(9);
  h.connected(0);
  h.accept(0, 9, 3 * 1024 * 1024);
  TransferRow row = h.window->row(0);
  EXPECT_EQ(row.name, "big.bin");
  EXPECT_EQ(row.sizeText, "3MB");
  EXPECT_EQ(row.progressText, "");
  EXPECT_EQ(row.stateText, "전송");
  EXPECT_EQ(row.state, 7);

  h.data(0, std::string(512 * 1024, 'd'));
  h.fake.loop.advance(kDisplayTimerMs * 2);  // 1,600 ms: one speed update
  row = h.window->row(0);
  EXPECT_EQ(row.progressText, "16% ");
  EXPECT_EQ(row.speedText, "1.7Mbps") << "(512 KB + 0) / 2 * 8 / 1,200 ms since the connect";
  EXPECT_EQ(h.peers.samples.size(), 1u);

  h.data(0, std::string(1000, 'd'));  // less than 1 KB
  h.fake.loop.advance(kDisplayTimerMs * 2);
  EXPECT_EQ(h.window->row(0).speedText, "1.7Mbps") << "under 1 KB the speed stays";
}

TEST(DownloadWindow, EachJobKeepsItsOwnSpeedClock) {
  DownloadHarness h;
  h.window->onConcurrencyChosen(1);
  h.add(1, "a", 1 << 20);
  h.add(2, "b", 1 << 20);
  h.window->start();
  h.tick();
  h.ticket(1);
  h.connected(0);  // a's clock starts at 400 ms
  h.tick();
  h.fake.loop.advance(400);
  h.ticket(2);
  h.connected(1);  // b's at 1,200 ms
  h.accept(0, 1, 1 << 20);
  h.accept(1, 2, 1 << 20);
  h.data(0, std::string(64 * 1024, 'a'));
  h.data(1, std::string(64 * 1024, 'b'));
  h.fake.loop.advance(400);  // the refresh at 1,600 ms
  EXPECT_EQ(h.window->row(0).speedText, "0.2Mbps");
  EXPECT_EQ(h.window->row(1).speedText, "") << "b's second has not passed";
}

TEST(DownloadWindow, TotalsCountRealTimeAndTheBarStaysInItsFrame) {
  DownloadHarness h;
  const std::int64_t size = std::int64_t{6} << 30;  // 64-bit sizes throughout
  h.add(1, "huge.iso", size);
  h.window->start();
  h.tick();
  h.begin(0, 1, size);
  for (int i = 0; i < 4; ++i) {
    h.data(0, std::string(300 * 1024, 'h'));
    h.fake.loop.advance(kDisplayTimerMs);
  }
  EXPECT_EQ(h.window->totals().amounts, "1MB/6144MB");
  // Two measurements 1.6 s apart: real time, where one second per
  // measurement would say 00:00:02.
  EXPECT_EQ(h.window->totals().elapsed, "00:00:03");
  EXPECT_FALSE(h.window->totals().remaining.empty());
  EXPECT_EQ(h.view.bar, 0);
  EXPECT_EQ(h.sent<DownloadTicketRequest>()[0].missingBytes, size);
}

TEST(DownloadWindow, CompletionActionsRunWhenNothingIsLeftToDo) {
  struct Case {
    const char* what;
    bool powerOff, close;
    bool running, open;
    const char* closeValue;
  } cases[] = {
      {"both boxes: only the power-off", true, true, true, true, "<absent>"},
      {"close when done", false, true, false, false, "1"},
      {"neither", false, false, false, true, "0"},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    h.fake.files.addFile("c:\\down\\a", "x");
    h.add(1, "a", 1);
    h.window->onCheckBox(TransferCheckBox::PowerOffWhenDone, c.powerOff);
    h.window->onCheckBox(TransferCheckBox::CloseWhenDone, c.close);
    h.window->start();
    h.tick();  // completes on disk
    h.tick();  // nothing to start, nothing active
    EXPECT_EQ(h.fake.shell.powerOffs > 0, c.powerOff) << c.what;
    EXPECT_EQ(h.window->running(), c.running) << c.what;
    EXPECT_EQ(h.view.opened, c.open) << c.what;
    EXPECT_EQ(h.fake.profile.value("Config", "DownLoadWindowClose"), c.closeValue) << c.what;
  }
  DownloadHarness h;
  h.add(1, "gone", 10);
  h.window->onCheckBox(TransferCheckBox::CloseWhenDone, true);
  h.window->start();
  h.tick();
  h.ticket(1, DownloadTicket::Result::Unavailable);
  h.tick();
  EXPECT_TRUE(h.window->running()) << "a refused file keeps the completion actions back";
  EXPECT_TRUE(h.view.opened);
}

TEST(DownloadWindow, MediaFilesOpenInThePlayerAndOthersWithTheShell) {
  struct Case {
    const char* name;
    bool player;
    const char* file;
    const char* parameters;
  } cases[] = {
      {"a.mp3", true, "c:\\player\\Player.exe", "\"c:\\down\\a.mp3\""},
      {"film.divx", true, "c:\\player\\Player.exe", "\"c:\\down\\film.divx\""},
      {"a.MP3", true, "c:\\down\\a.MP3", ""},
      {".mp3", true, "c:\\down\\.mp3", ""},
      {"a.mp3", false, "IEXPLORE.EXE", nullptr},
  };
  for (const Case& c : cases) {
    DownloadHarness h;
    if (c.player) h.fake.registry.writeString("Software\\MARBLECRANE", "DIR", "c:\\player");
    h.add(1, c.name, 10);
    h.window->onRowDoubleClick(0);
    ASSERT_EQ(h.fake.shell.launches.size(), 1u) << c.name;
    EXPECT_EQ(h.fake.shell.launches[0].file, c.file) << c.name;
    if (c.parameters != nullptr) {
      EXPECT_EQ(h.fake.shell.launches[0].parameters, c.parameters) << c.name;
    } else {
      EXPECT_EQ(h.fake.dialogs.lastText(), "실시간 감상은 웬플레이어를 설치하셔야 합니다.     ");
      EXPECT_EQ(h.fake.dialogs.boxes[0].caption, "알림");
    }
  }
}

TEST(DownloadWindow, StoppingAndClosingAskFirst) {
  DownloadHarness h;
  h.add(1, "a", 10);
  h.window->start();
  h.tick();
  h.fake.dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  h.window->onAction(TransferAction::Stop);
  EXPECT_EQ(h.job(0).state, State::Requesting) << "cancelled";
  h.window->onAction(TransferAction::Stop);
  EXPECT_EQ(h.job(0).state, State::Stopped);
  EXPECT_EQ(h.fake.dialogs.boxes[0].text,
            "현재 파일이 전송중입니다.\r\n\r\n전송을 중지 하시겠습니까?     ");

  h.fake.dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Ok};
  h.window->onCloseRequested();
  EXPECT_TRUE(h.window->exists());
  h.window->onCloseRequested();
  EXPECT_EQ(h.fake.dialogs.boxes[2].text,
            "다운로드 파일이 대기중입니다.\r\n\r\n전송을 취소하고 종료하시겠습니까?     ");
  EXPECT_FALSE(h.window->exists());
  h.window->open();
  EXPECT_TRUE(h.window->jobs().empty()) << "re-opening shows an empty list";
  EXPECT_EQ(h.view.rows, 0);
}

}  // namespace
}  // namespace pom::test
