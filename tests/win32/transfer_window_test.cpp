// The transfer windows under Wine, through their real controls: layout and
// captions of both kinds, the owner-data rows, the start/stop swap, the
// combo box, the check boxes, and member input (skinned buttons, keys,
// close) reaching the presenter's side.
#include "win32/transfer_window.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "support/message_pump.h"

namespace pom {
namespace {

class FakeInput final : public TransferWindowInput {
 public:
  std::vector<TransferRow> rows;
  std::vector<std::string> log;

  int rowCount() const override { return static_cast<int>(rows.size()); }
  TransferRow row(int index) const override { return rows.at(static_cast<std::size_t>(index)); }
  void onAction(TransferAction action) override { log.push_back(actionEntry(action)); }
  void onMenuCommand(TransferMenuCommand command) override {
    log.push_back("menu " + std::to_string(static_cast<int>(command)));
  }
  void onColumnClick(int column) override { log.push_back("column " + std::to_string(column)); }
  void onRowDoubleClick(int index) override { log.push_back("open " + std::to_string(index)); }
  void onRowsDragged(int target) override { log.push_back("drag " + std::to_string(target)); }
  void onConcurrencyChosen(int entry) override {
    log.push_back("concurrency " + std::to_string(entry));
  }
  void onCheckBox(TransferCheckBox box, bool checked) override {
    log.push_back("check " + std::to_string(static_cast<int>(box)) + (checked ? " on" : " off"));
  }
  void onCloseRequested() override { log.push_back("close"); }
  void onFilesDropped(const std::vector<std::string>& paths) override {
    for (const std::string& path : paths) log.push_back("drop " + path);
  }

  static std::string actionEntry(TransferAction action) {
    return "action " + std::to_string(static_cast<int>(action));
  }
};

TransferRow makeRow(const std::string& name, int state, std::int64_t done, std::int64_t total,
                    const std::string& stateText) {
  TransferRow row;
  row.name = name;
  row.sizeText =
      total >= (1 << 20) ? std::to_string(total >> 20) + "MB" : std::to_string(total >> 10) + "KB";
  row.progressText = total > 0 ? std::to_string(done * 100 / total) + "% " : "";
  row.speedText = done > 0 && done < total ? "3.2Mbps" : "";
  row.stateText = stateText;
  row.state = state;
  row.done = done;
  row.total = total;
  return row;
}

std::wstring textOf(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

std::wstring classOf(HWND window) {
  wchar_t buffer[256] = {};
  GetClassNameW(window, buffer, 256);
  return buffer;
}

std::wstring cellText(HWND list, int row, int column) {
  wchar_t buffer[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

int buttonField(HWND window, int index, TransferButtonField field) {
  return static_cast<int>(
      SendMessageW(window, kTransferButtonQuery, index, static_cast<LPARAM>(field)));
}

// The index of the skinned button with the given action in the layout.
int buttonIndex(TransferKind kind, TransferAction action) {
  const TransferLayout& layout = transferLayoutOf(kind);
  for (std::size_t i = 0; i < layout.buttonCount; ++i)
    if (layout.buttons[i].action == action) return static_cast<int>(i);
  return -1;
}

// A press and a release inside a skinned button, as the mouse sends them.
void clickButton(HWND window, int index) {
  const int x = buttonField(window, index, TransferButtonField::X) + 3;
  const int y = buttonField(window, index, TransferButtonField::Y) + 3;
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void setCtrl(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

class TransferWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    input.rows = {makeRow("영화.avi", 1, 1 << 20, 8 << 20, "전송중"),
                  makeRow("문서.txt", 0, 0, 2048, "대기"),
                  makeRow("사진.jpg", 6, 5 << 10, 5 << 10, "완료")};
  }
  void TearDown() override { setCtrl(false); }

  std::unique_ptr<Win32TransferWindowView> openView(TransferKind kind) {
    auto view = std::make_unique<Win32TransferWindowView>(GetModuleHandleW(nullptr), kind, input,
                                                          "굴림체", nullptr);
    view->open();
    return view;
  }

  FakeInput input;
};

struct LayoutCase {
  TransferKind kind;
  const wchar_t* className;
  const char* title;
  int listId;
  int comboId;
  const char* label;
  const char* sizeColumn;
  int closeBoxX;
  int menuId;
  std::vector<int> menuCommands;
};

class TransferWindowLayoutTest : public TransferWindowTest,
                                 public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(TransferWindowLayoutTest, OpensWithItsCaptionsControlsColumnsAndMenu) {
  const LayoutCase& want = GetParam();
  auto view = openView(want.kind);
  ASSERT_TRUE(view->isOpen());
  EXPECT_TRUE(view->isVisible());
  HWND window = view->windowHandle();
  EXPECT_EQ(classOf(window), want.className);
  EXPECT_EQ(textOf(window), widen(want.title));
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.right - outer.left, 676);
  EXPECT_EQ(outer.bottom - outer.top, 560);

  HWND list = GetDlgItem(window, want.listId);
  ASSERT_EQ(list, view->listHandle());
  EXPECT_NE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_OWNERDATA, 0);
  HWND header = ListView_GetHeader(list);
  ASSERT_EQ(Header_GetItemCount(header), 5);
  const char* titles[] = {"파일이름", want.sizeColumn, "전송상태", "속도", "상태"};
  const int widths[] = {382, 60, 90, 70, 40};
  for (int i = 0; i < 5; ++i) {
    wchar_t title[64] = {};
    HDITEMW item{};
    item.mask = HDI_TEXT;
    item.pszText = title;
    item.cchTextMax = 64;
    Header_GetItem(header, i, &item);
    EXPECT_EQ(std::wstring(title), widen(titles[i])) << "column " << i;
    EXPECT_EQ(ListView_GetColumnWidth(list, i), widths[i]) << "column " << i;
  }

  HWND combo = GetDlgItem(window, want.comboId);
  ASSERT_NE(combo, nullptr);
  ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
  for (int i = 0; i < 3; ++i) {
    wchar_t entry[8] = {};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
    EXPECT_EQ(std::wstring(entry), std::to_wstring(i + 1));
  }
  HWND closeBox = GetDlgItem(window, 3013);
  HWND powerBox = GetDlgItem(window, 3014);
  ASSERT_NE(closeBox, nullptr);
  ASSERT_NE(powerBox, nullptr);
  EXPECT_EQ(textOf(closeBox), widen("완료후 창닫기"));
  EXPECT_EQ(textOf(powerBox), widen("완료후 컴퓨터끄기"));
  RECT box{};
  GetWindowRect(closeBox, &box);
  MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
  EXPECT_EQ(box.left, want.closeBoxX);
  EXPECT_EQ(box.top, 501);
  bool labelFound = false;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    labelFound = labelFound || textOf(child) == widen(want.label);
  EXPECT_TRUE(labelFound);

  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(want.menuId));
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  std::vector<int> commands;
  for (int i = 0; i < GetMenuItemCount(popup); ++i)
    commands.push_back(static_cast<int>(GetMenuItemID(popup, i)));
  EXPECT_EQ(commands, want.menuCommands);
  DestroyMenu(menu);
}

INSTANTIATE_TEST_SUITE_P(BothKinds, TransferWindowLayoutTest,
                         ::testing::Values(LayoutCase{TransferKind::Download,
                                                      L"Pomvale downLoad",
                                                      "폼베일 다운로드",
                                                      190,
                                                      3011,
                                                      "동시다운로드수:",
                                                      "받을크기",
                                                      275,
                                                      190,
                                                      {40018, 40008, 40009, 40013, 40001, 40010,
                                                       40030}},
                                           LayoutCase{TransferKind::Upload,
                                                      L"Pomvale UpLoad",
                                                      "폼베일 업로드",
                                                      115,
                                                      3012,
                                                      "동시업로드수:",
                                                      "보낼크기",
                                                      170,
                                                      115,
                                                      {40008, 40009, 40013, 40001, 40010, 40030}}));

TEST_F(TransferWindowTest, RowsComeFromTheInputByCountAndRedraw) {
  auto view = openView(TransferKind::Download);
  HWND list = view->listHandle();
  EXPECT_EQ(ListView_GetItemCount(list), 3) << "the count the input had at creation";
  EXPECT_EQ(cellText(list, 0, 0), widen("영화.avi"));
  EXPECT_EQ(cellText(list, 0, 1), L"8MB");
  EXPECT_EQ(cellText(list, 0, 2), L"12% ");
  EXPECT_EQ(cellText(list, 0, 3), L"3.2Mbps");
  EXPECT_EQ(cellText(list, 0, 4), widen("전송중"));
  EXPECT_EQ(cellText(list, 1, 1), L"2KB");

  input.rows.push_back(makeRow("노래.mp3", 2, 0, 4 << 20, "대기"));
  view->setRowCount(4);
  input.rows[1].stateText = "취소";
  view->redrawRows(1, 1);
  EXPECT_EQ(ListView_GetItemCount(list), 4);
  EXPECT_EQ(cellText(list, 3, 0), widen("노래.mp3"));
  EXPECT_EQ(cellText(list, 1, 4), widen("취소"));

  view->selectRows({3, 1, 9});
  EXPECT_EQ(view->selectedRows(), (std::vector<int>{1, 3})) << "in row order, out of range dropped";
  input.rows.resize(2);
  view->setRowCount(2);
  EXPECT_EQ(view->selectedRows(), std::vector<int>{1});
  view->redrawRows(0, 5);  // past the end: only the rows there are
  EXPECT_TRUE(input.log.empty());
}

TEST_F(TransferWindowTest, StartAndStopShareAPlaceAndClicksReachTheInput) {
  auto view = openView(TransferKind::Download);
  HWND window = view->windowHandle();
  const int start = buttonIndex(TransferKind::Download, TransferAction::Start);
  const int stop = buttonIndex(TransferKind::Download, TransferAction::Stop);
  EXPECT_EQ(buttonField(window, start, TransferButtonField::Bitmap), 256);
  EXPECT_EQ(buttonField(window, stop, TransferButtonField::Bitmap), 255);
  EXPECT_EQ(buttonField(window, start, TransferButtonField::X), 581);
  EXPECT_EQ(buttonField(window, stop, TransferButtonField::Y), 493);
  EXPECT_EQ(buttonField(window, start, TransferButtonField::Shown), 1);
  EXPECT_EQ(buttonField(window, stop, TransferButtonField::Shown), 0);

  clickButton(window, start);
  view->setRunning(true);
  EXPECT_EQ(buttonField(window, start, TransferButtonField::Shown), 0);
  EXPECT_EQ(buttonField(window, stop, TransferButtonField::Shown), 1);
  clickButton(window, stop);
  clickButton(window, buttonIndex(TransferKind::Download, TransferAction::ChooseFolder));
  // A press inside and a release outside is no click.
  const int x = buttonField(window, 6, TransferButtonField::X) + 3;
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 110));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, 300));
  EXPECT_EQ(input.log,
            (std::vector<std::string>{FakeInput::actionEntry(TransferAction::Start),
                                      FakeInput::actionEntry(TransferAction::Stop),
                                      FakeInput::actionEntry(TransferAction::ChooseFolder)}));
}

TEST_F(TransferWindowTest, HeaderClickAndDoubleClickOnARowReachTheInput) {
  auto view = openView(TransferKind::Download);
  HWND list = view->listHandle();
  HWND header = ListView_GetHeader(list);
  RECT column{};
  Header_GetItemRect(header, 3, &column);
  const LPARAM inColumn = MAKELPARAM((column.left + column.right) / 2, 5);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, inColumn);
  SendMessageW(header, WM_LBUTTONUP, 0, inColumn);
  RECT row{};
  ListView_GetItemRect(list, 1, &row, LVIR_LABEL);
  const LPARAM onRow = MAKELPARAM(row.left + 5, (row.top + row.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, onRow);
  SendMessageW(list, WM_LBUTTONUP, 0, onRow);
  const LPARAM belowRows = MAKELPARAM(row.left + 5, 300);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, belowRows);
  SendMessageW(list, WM_LBUTTONUP, 0, belowRows);
  EXPECT_EQ(input.log, (std::vector<std::string>{"column 3", "open 1"}));
}

// The list reports the start of a drag; the pointer then moves and is
// released where the cursor is.
void dragTo(HWND window, HWND list, POINT screen) {
  NMLISTVIEW begin{};
  begin.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_BEGINDRAG};
  begin.iItem = 0;
  begin.ptAction = {20, 25};
  SendMessageW(window, WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
  SetCursorPos(screen.x, screen.y);
  POINT client = screen;
  ScreenToClient(list, &client);
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

TEST_F(TransferWindowTest, RowsDroppedOnARowMoveAndADragOutsideTheWindowEndsWithoutOne) {
  auto view = openView(TransferKind::Download);
  HWND window = view->windowHandle();
  HWND list = view->listHandle();
  view->selectRows({0});
  RECT row{};
  ListView_GetItemRect(list, 2, &row, LVIR_LABEL);
  POINT onRow{row.left + 5, (row.top + row.bottom) / 2};
  ClientToScreen(list, &onRow);
  dragTo(window, list, onRow);
  RECT outer{};
  GetWindowRect(window, &outer);
  dragTo(window, list, POINT{outer.right + 20, outer.bottom + 20});
  EXPECT_EQ(input.log, std::vector<std::string>{"drag 2"});
  EXPECT_NE(GetCapture(), list) << "no drag left running";
}

// A drop as the shell makes it: wide paths after a DROPFILES header, the
// list ended by an empty one.
HDROP makeDrop(const std::vector<std::wstring>& paths) {
  std::size_t characters = 1;
  for (const std::wstring& path : paths) characters += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* cursor = reinterpret_cast<wchar_t*>(header + 1);
  for (const std::wstring& path : paths) {
    std::copy(path.begin(), path.end(), cursor);
    cursor += path.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(TransferWindowTest, OnlyTheUploadWindowTakesDroppedFilesAsCp949Paths) {
  auto download = openView(TransferKind::Download);
  EXPECT_EQ(GetWindowLongPtrW(download->windowHandle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  auto upload = openView(TransferKind::Upload);
  HWND window = upload->windowHandle();
  EXPECT_NE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
  // C:\사진\가.jpg and C:\b.txt; the window finishes the drop.
  HDROP drop = makeDrop({L"C:\\\uC0AC\uC9C4\\\uAC00.jpg", L"C:\\b.txt"});
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
  EXPECT_EQ(input.log, (std::vector<std::string>{"drop C:\\\xBB\xE7\xC1\xF8\\\xB0\xA1.jpg",
                                                 "drop C:\\b.txt"}));
}

// Which window lies under a point, as a drag of web rows or folders asks on
// release: the download window and its list count, another window does not.
TEST_F(TransferWindowTest, TheDownloadWindowIsFoundUnderAPointInItsList) {
  auto download = openView(TransferKind::Download);
  auto upload = openView(TransferKind::Upload);
  EXPECT_EQ(findTransferWindow(TransferKind::Download), download->windowHandle());
  EXPECT_EQ(findTransferWindow(TransferKind::Upload), upload->windowHandle());
  SetWindowPos(download->windowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
  SetWindowPos(upload->windowHandle(), HWND_TOP, 700, 0, 0, 0, SWP_NOSIZE);
  test::pumpFor(100);
  RECT list{};
  GetWindowRect(download->listHandle(), &list);
  const POINT inList{(list.left + list.right) / 2, (list.top + list.bottom) / 2};
  const POINT onHeader{list.left + 30, list.top + 8};
  RECT other{};
  GetWindowRect(upload->listHandle(), &other);
  const POINT inUploadList{(other.left + other.right) / 2, (other.top + other.bottom) / 2};
  EXPECT_TRUE(isTransferWindowAt(TransferKind::Download, inList));
  EXPECT_TRUE(isTransferWindowAt(TransferKind::Download, onHeader));
  EXPECT_FALSE(isTransferWindowAt(TransferKind::Download, inUploadList));
  EXPECT_TRUE(isTransferWindowAt(TransferKind::Upload, inUploadList));
  download->close();
  EXPECT_EQ(findTransferWindow(TransferKind::Download), nullptr);
  EXPECT_FALSE(isTransferWindowAt(TransferKind::Download, inList));
}

TEST_F(TransferWindowTest, ComboAndCheckBoxesShowWhatTheyAreToldAndReportTheMember) {
  auto view = openView(TransferKind::Download);
  HWND window = view->windowHandle();
  HWND combo = GetDlgItem(window, 3011);
  HWND powerBox = GetDlgItem(window, 3014);
  view->setConcurrency(2);
  view->setCheckBox(TransferCheckBox::CloseWhenDone, true);
  EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(textOf(combo), L"2");
  EXPECT_EQ(SendMessageW(GetDlgItem(window, 3013), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_TRUE(input.log.empty()) << "what the presenter sets is not reported back";

  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  SendMessageW(window, WM_COMMAND, MAKEWPARAM(3011, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(combo));
  SendMessageW(powerBox, BM_CLICK, 0, 0);
  SendMessageW(powerBox, BM_CLICK, 0, 0);
  EXPECT_EQ(input.log,
            (std::vector<std::string>{"concurrency 2", "check 3014 on", "check 3014 off"}));

  // Opened again, the window shows what it was last told.
  view->close();
  EXPECT_FALSE(view->isOpen());
  view->setRunning(true);
  view->open();
  window = view->windowHandle();
  EXPECT_EQ(SendMessageW(GetDlgItem(window, 3011), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(GetDlgItem(window, 3013), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(buttonField(window, buttonIndex(TransferKind::Download, TransferAction::Stop),
                        TransferButtonField::Shown),
            1);
}

struct KeyCase {
  TransferKind kind;
  UINT key;
  bool ctrl;
  bool running;
  std::string reported;
};

class TransferWindowKeyTest : public TransferWindowTest,
                              public ::testing::WithParamInterface<KeyCase> {};

TEST_P(TransferWindowKeyTest, KeyOnTheListReachesTheInput) {
  const KeyCase& c = GetParam();
  auto view = openView(c.kind);
  view->setRunning(c.running);
  setCtrl(c.ctrl);
  SendMessageW(view->listHandle(), WM_KEYDOWN, c.key, 0);
  EXPECT_EQ(input.log, std::vector<std::string>{c.reported});
  EXPECT_TRUE(view->isOpen()) << "the view never closes itself";
}

std::string reported(TransferAction action) {
  return FakeInput::actionEntry(action);
}

INSTANTIATE_TEST_SUITE_P(
    ListKeys, TransferWindowKeyTest,
    ::testing::Values(
        KeyCase{TransferKind::Download, VK_HOME, false, false, reported(TransferAction::MoveTop)},
        KeyCase{TransferKind::Download, VK_END, false, false, reported(TransferAction::MoveEnd)},
        KeyCase{TransferKind::Download, VK_LEFT, false, false, reported(TransferAction::MoveUp)},
        KeyCase{TransferKind::Download, VK_RIGHT, false, false, reported(TransferAction::MoveDown)},
        KeyCase{TransferKind::Download, VK_DELETE, false, false,
                reported(TransferAction::DeleteSelected)},
        KeyCase{TransferKind::Download, 'A', true, false, reported(TransferAction::SelectAll)},
        KeyCase{TransferKind::Download, 'C', true, false, reported(TransferAction::ToggleCancel)},
        KeyCase{TransferKind::Download, 'V', true, false,
                reported(TransferAction::RemoveCompleted)},
        KeyCase{TransferKind::Download, 'S', true, true, reported(TransferAction::StopSelected)},
        KeyCase{TransferKind::Upload, 'S', true, false, reported(TransferAction::Start)},
        KeyCase{TransferKind::Upload, 'S', true, true, reported(TransferAction::Stop)},
        KeyCase{TransferKind::Download, VK_ESCAPE, false, false, "close"}));

TEST_F(TransferWindowTest, CloseBoxAsksAndKeepsTheWindowUntilThePresenterCloses) {
  auto view = openView(TransferKind::Download);
  SendMessageW(view->windowHandle(), WM_CLOSE, 0, 0);
  SendMessageW(GetDlgItem(view->windowHandle(), 3011), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(input.log, (std::vector<std::string>{"close", "close"}));
  EXPECT_TRUE(view->isOpen());
  view->close();
  EXPECT_FALSE(view->isOpen());
  view->setRowCount(5);  // a closed view ignores the presenter
  EXPECT_TRUE(view->selectedRows().empty());
}

// Not a check: draws the window with rows in several states and writes it to
// the BMP file named by POM_TRANSFER_PICTURE (for looking at the result);
// POM_TRANSFER_KIND=upload draws the upload window; POM_TRANSFER_HOLD_MS
// keeps the window open that long afterwards (for the probe).
TEST_F(TransferWindowTest, DISABLED_WritesAPicture) {
  const char* path = std::getenv("POM_TRANSFER_PICTURE");
  ASSERT_NE(path, nullptr);
  input.rows = {makeRow("여름휴가.avi", 1, 46 << 20, 700 << 20, "다운로드중"),
                makeRow("회의자료.pdf", 2, 0, 3 << 20, "연결중"),
                makeRow("노래모음.mp3", 3, 0, 9 << 20, "대기중"),
                makeRow("보호영상.avi", 4, 0, 120 << 20, "저작권 위배 또는 복구 중 파일"),
                makeRow("사진.jpg", 6, 512 << 10, 512 << 10, "완료"),
                makeRow("설명서.txt", 0, 0, 12 << 10, "대기"),
                makeRow("압축파일.zip", 0, 3 << 20, 10 << 20, "중지"),
                makeRow("발표.ppt", 7, 2 << 20, 2 << 20, "완료")};
  const char* kind = std::getenv("POM_TRANSFER_KIND");
  auto view = openView(kind != nullptr && std::string(kind) == "upload" ? TransferKind::Upload
                                                                        : TransferKind::Download);
  view->setRunning(true);
  view->setConcurrency(2);
  view->setCheckBox(TransferCheckBox::CloseWhenDone, true);
  view->setTotals({"00:01:12", "00:14:03", "51MB/1353MB"}, 23);
  view->selectRows({2});
  HWND window = view->windowHandle();
  SetWindowPos(window, HWND_TOP, 10, 10, 0, 0, SWP_NOSIZE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  test::pumpFor(1500);
  RECT r{};
  GetWindowRect(window, &r);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC copy = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(copy, shot);
  BitBlt(copy, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = ((width * 3 + 3) / 4) * 4;
  const DWORD imageSize = stride * height;
  constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER file{0x4D42, kHeaders + imageSize, 0, 0, kHeaders};
  std::FILE* out = std::fopen(path, "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(&file, sizeof file, 1, out);
  std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
  std::fwrite(bits, imageSize, 1, out);
  std::fclose(out);
  SelectObject(copy, previous);
  DeleteObject(shot);
  DeleteDC(copy);
  ReleaseDC(nullptr, screen);
  if (const char* hold = std::getenv("POM_TRANSFER_HOLD_MS"))
    test::pumpFor(static_cast<DWORD>(std::atoi(hold)));
}

}  // namespace
}  // namespace pom
