// The search-result and folder-content list views and the search bar under
// Wine, through their real controls: columns and owner-data rows as told,
// the member's input reaching the presenter's side, where a drag of rows is
// released, the last row scrolled into view, and what the search bar reads.
#include "win32/search_list_views.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "support/message_pump.h"
#include "win32/transfer_window.h"

namespace pom {
namespace {

class FakeListInput final : public SearchListInput {
 public:
  std::vector<std::string> log;

  void columnClick(int column) override { log.push_back("column " + std::to_string(column)); }
  void doubleClick() override { log.push_back("double click"); }
  void key(SearchKey key) override {
    log.push_back("key " + std::to_string(static_cast<int>(key)));
  }
  void rightClick() override { log.push_back("right click"); }
  void command(SearchCommand command) override {
    log.push_back("command " + std::to_string(static_cast<int>(command)));
  }
  void dropReleased(SearchDropTarget target) override {
    log.push_back("drop " + std::to_string(static_cast<int>(target)));
  }
  void scrolledToEnd() override { log.push_back("end"); }

  static std::string keyEntry(SearchKey key) {
    return "key " + std::to_string(static_cast<int>(key));
  }
  static std::string dropEntry(SearchDropTarget target) {
    return "drop " + std::to_string(static_cast<int>(target));
  }
};

// Plays the main window: a top-level window that hands each list's
// notifications to the list's target, as the top window does.
class ParentWindow {
 public:
  ParentWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &ParentWindow::procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PomSearchListTestParent";
    RegisterClassW(&windowClass);
    window_ = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 900,
                              500, nullptr, nullptr, windowClass.hInstance, nullptr);
  }
  ~ParentWindow() { DestroyWindow(window_); }
  HWND handle() const { return window_; }

  SearchListHome home() const {
    SearchListHome home;
    home.instance = GetModuleHandleW(nullptr);
    home.parent = window_;
    home.route = [](HWND list, NotifyTarget* target) {
      if (target != nullptr) {
        targets()[list] = target;
      } else {
        targets().erase(list);
      }
    };
    return home;
  }

 private:
  static std::map<HWND, NotifyTarget*>& targets() {
    static std::map<HWND, NotifyTarget*> routed;
    return routed;
  }
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      const auto target = targets().find(header->hwndFrom);
      LRESULT result = 0;
      if (target != targets().end() && target->second->onControlNotify(header, result))
        return result;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
  HWND window_ = nullptr;
};

std::wstring cellText(HWND list, int row, int column) {
  wchar_t buffer[256] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 256;
  SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
  return buffer;
}

std::vector<SearchRow> hitRows(int count, int first = 0) {
  std::vector<SearchRow> rows;
  for (int i = first; i < first + count; ++i) {
    const std::string name = "사진" + std::to_string(i) + ".jpg";
    rows.push_back(SearchRow{{name, "3MB", "", "30일"}, name});
  }
  return rows;
}

void setCtrl(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

class SearchListViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    view = std::make_unique<Win32SearchResultListView>(parent.home(), input, kSearchResultListId);
    view->setColumns(
        {{"검색결과 [파일이름]", 405}, {"파일크기", 70}, {"파일고유값", 0}, {"보관일", 150}});
    view->place({10, 40, 640, 248});
    view->setVisible(true);
    list = view->list();
  }
  void TearDown() override { setCtrl(false); }

  ParentWindow parent;
  FakeListInput input;
  std::unique_ptr<Win32SearchResultListView> view;
  HWND list = nullptr;
};

TEST_F(SearchListViewTest, ShowsTheColumnsAndRowsItIsGivenAndAMessageRowReplacesThem) {
  EXPECT_EQ(GetDlgItem(parent.handle(), kSearchResultListId), list);
  EXPECT_NE(GetWindowLongPtrW(list, GWL_STYLE) & LVS_OWNERDATA, 0);
  HWND header = ListView_GetHeader(list);
  ASSERT_EQ(Header_GetItemCount(header), 4);
  const int widths[] = {405, 70, 0, 150};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(ListView_GetColumnWidth(list, i), widths[i]) << i;
  wchar_t title[64] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = title;
  item.cchTextMax = 64;
  Header_GetItem(header, 2, &item);
  EXPECT_EQ(std::wstring(title), widen("파일고유값"));
  EXPECT_EQ(item.fmt & HDF_JUSTIFYMASK, HDF_LEFT);

  view->setRows(hitRows(2));
  view->appendRows(hitRows(1, 2));
  ASSERT_EQ(ListView_GetItemCount(list), 3);
  EXPECT_EQ(cellText(list, 0, 0), widen("사진0.jpg"));
  EXPECT_EQ(cellText(list, 2, 0), widen("사진2.jpg"));
  EXPECT_EQ(cellText(list, 2, 3), widen("30일"));

  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(view->selectedRows(), (std::vector<int>{1, 2}));
  // A message row: one row, nothing of the old selection left on it.
  const std::string message = "검색한 결과가 존재 하지 않습니다.";
  view->setRows({SearchRow{{message}, message}});
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  EXPECT_EQ(cellText(list, 0, 0), widen(message));
  EXPECT_EQ(cellText(list, 0, 1), L"");
  EXPECT_TRUE(view->selectedRows().empty());
  view->selectAllAndFocus();
  EXPECT_EQ(view->selectedRows(), std::vector<int>{0});
  EXPECT_EQ(GetFocus(), list);
}

TEST_F(SearchListViewTest, CtrlKeysColumnClicksAndDoubleClicksReachThePresenter) {
  view->setRows(hitRows(3));
  struct KeyCase {
    WPARAM key;
    SearchKey wanted;
  };
  const KeyCase keys[] = {{'A', SearchKey::CtrlA},
                          {'F', SearchKey::CtrlF},
                          {'I', SearchKey::CtrlI},
                          {'V', SearchKey::CtrlV},
                          {'W', SearchKey::CtrlW}};
  std::vector<std::string> wanted;
  setCtrl(true);
  for (const KeyCase& key : keys) {
    SendMessageW(list, WM_KEYDOWN, key.key, 0);
    wanted.push_back(FakeListInput::keyEntry(key.wanted));
  }
  SendMessageW(list, WM_KEYDOWN, 'X', 0);  // not a key of these lists
  setCtrl(false);
  SendMessageW(list, WM_KEYDOWN, 'F', 0);  // F alone types into the list
  EXPECT_EQ(input.log, wanted);

  input.log.clear();
  HWND header = ListView_GetHeader(list);
  RECT column{};
  Header_GetItemRect(header, 1, &column);
  const LPARAM inColumn = MAKELPARAM((column.left + column.right) / 2, 5);
  SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, inColumn);
  SendMessageW(header, WM_LBUTTONUP, 0, inColumn);
  RECT row{};
  ListView_GetItemRect(list, 1, &row, LVIR_LABEL);
  const LPARAM onRow = MAKELPARAM(row.left + 5, (row.top + row.bottom) / 2);
  SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, onRow);
  SendMessageW(list, WM_LBUTTONUP, 0, onRow);
  EXPECT_EQ(input.log, (std::vector<std::string>{"column 1", "double click"}));
}

// Pages down as the scroll bar's lower part does when clicked, until the
// list moves no more.
void pageDownToTheEnd(HWND list) {
  for (int i = 0; i < 50; ++i) {
    const int top = ListView_GetTopIndex(list);
    SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
    if (ListView_GetTopIndex(list) == top) return;
  }
}

TEST_F(SearchListViewTest, ScrollingToTheLastRowIsReportedOncePerSetOfRows) {
  view->setRows(hitRows(60));
  SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_TRUE(input.log.empty()) << "the last row is not in view yet";
  pageDownToTheEnd(list);
  pageDownToTheEnd(list);
  EXPECT_EQ(input.log, std::vector<std::string>{"end"});
  view->appendRows(hitRows(60, 60));
  pageDownToTheEnd(list);
  EXPECT_EQ(input.log, (std::vector<std::string>{"end", "end"}));
}

// A drag of the selected rows as the list starts it, released at a screen point.
void dragTo(HWND parent, HWND list, POINT screen) {
  NMLISTVIEW begin{};
  begin.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), LVN_BEGINDRAG};
  begin.iItem = 0;
  begin.ptAction = {20, 25};
  SendMessageW(parent, WM_NOTIFY, begin.hdr.idFrom, reinterpret_cast<LPARAM>(&begin));
  SetCursorPos(screen.x, screen.y);
  POINT client = screen;
  ScreenToClient(list, &client);
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  SendMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
}

class NoTransferInput final : public TransferWindowInput {
 public:
  int rowCount() const override { return 0; }
  TransferRow row(int) const override { return {}; }
  void onAction(TransferAction) override {}
  void onMenuCommand(TransferMenuCommand) override {}
  void onColumnClick(int) override {}
  void onRowDoubleClick(int) override {}
  void onRowsDragged(int) override {}
  void onConcurrencyChosen(int) override {}
  void onCheckBox(TransferCheckBox, bool) override {}
  void onCloseRequested() override {}
  void onFilesDropped(const std::vector<std::string>&) override {}
};

TEST_F(SearchListViewTest, ADragIsReleasedOverTheDownloadListInsideTheLocalListOrElsewhere) {
  view->setRows(hitRows(3));
  ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
  // The local file list at (660, 40) of the main window, 200 x 200.
  HWND local = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 660, 40,
                               200, 200, parent.handle(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLocalFileListId)),
                               GetModuleHandleW(nullptr), nullptr);
  NoTransferInput transfers;
  Win32TransferWindowView downloads(GetModuleHandleW(nullptr), TransferKind::Download, transfers,
                                    "굴림체", nullptr);
  downloads.open();
  SetWindowPos(downloads.windowHandle(), HWND_TOP, 0, 520, 0, 0, SWP_NOSIZE);
  test::pumpFor(100);

  RECT rect{};
  GetWindowRect(downloads.listHandle(), &rect);
  dragTo(parent.handle(), list, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
  // The download window but not its list: its skinned buttons at the top.
  GetWindowRect(downloads.windowHandle(), &rect);
  dragTo(parent.handle(), list, {rect.left + 40, rect.top + 40});
  GetWindowRect(local, &rect);
  dragTo(parent.handle(), list, {rect.left + 100, rect.top + 100});
  // On the local list's edge: not strictly inside it.
  dragTo(parent.handle(), list, {rect.left, rect.top + 100});
  ShowWindow(local, SW_HIDE);
  dragTo(parent.handle(), list, {rect.left + 100, rect.top + 100});
  EXPECT_EQ(input.log,
            (std::vector<std::string>{FakeListInput::dropEntry(SearchDropTarget::DownloadList),
                                      FakeListInput::dropEntry(SearchDropTarget::Elsewhere),
                                      FakeListInput::dropEntry(SearchDropTarget::LocalList),
                                      FakeListInput::dropEntry(SearchDropTarget::Elsewhere),
                                      FakeListInput::dropEntry(SearchDropTarget::Elsewhere)}));
  EXPECT_NE(GetCapture(), list) << "no drag left running";
  DestroyWindow(local);
}

TEST(Win32SearchBarView, ReadsAtMost63WholeBytesAndTheCheckedRadio) {
  ParentWindow parent;
  auto make = [&parent](const wchar_t* className, DWORD style) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 20,
                           parent.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  };
  HWND natural = make(L"BUTTON", BS_AUTORADIOBUTTON | WS_GROUP);
  HWND normal = make(L"BUTTON", BS_AUTORADIOBUTTON);
  HWND edit = make(L"EDIT", ES_AUTOHSCROLL);
  Win32SearchBarView bar;
  EXPECT_EQ(bar.editText(), "") << "no controls yet";
  EXPECT_EQ(bar.selectedKind(), SearchKind::None);
  bar.attach(natural, normal, edit);

  EXPECT_EQ(bar.selectedKind(), SearchKind::None);
  SendMessageW(normal, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(bar.selectedKind(), SearchKind::Normal);
  SendMessageW(normal, BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(natural, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(bar.selectedKind(), SearchKind::Natural);

  // 40 syllables are 80 bytes: 31 whole ones fit, the 32nd is not split.
  std::string syllables;
  for (int i = 0; i < 40; ++i) syllables += "가";
  bar.setEditText(syllables);
  EXPECT_EQ(bar.editText(), syllables.substr(0, 62));
  bar.setEditText("a" + syllables);
  EXPECT_EQ(bar.editText(), "a" + syllables.substr(0, 62));
  bar.setEditText("hello");
  EXPECT_EQ(bar.editText(), "hello");
  bar.focusEdit();
  EXPECT_EQ(GetFocus(), edit);
}

}  // namespace
}  // namespace pom
