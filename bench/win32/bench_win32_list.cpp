// bench_win32_list: what the web file list's control costs per row under the
// platform it runs on (wine64 here), for a folder of many rows.
//
//   bench_win32_list [rows] [rounds]   (defaults 10000 and 5)
//
// A visible top window holds report list views set up as the program's web
// file list sets up its list 113: the same styles, five columns with their
// captions, widths and alignments, the shell's system image lists, the
// info-tip style and shaded odd rows by custom draw. Each figure is timed
// until the first paint after it is done:
//   list view, fill          the rows inserted one by one into the empty list
//                            with text, id, system icon and four cells, as a
//                            list whose control stores the items appends them;
//   list view, refill        the list emptied and filled again (the refill
//                            after a sort);
//   the same with redraw off (WM_SETREDRAW) around the refill;
//   owner-data, fill/refill  the rows kept by the view (texts converted), the
//                            count set once, the shown rows' texts and icons
//                            (one look-up per file extension) asked for
//                            through LVN_GETDISPINFO: the program's list;
//   owner-data, count per row the count raised with every appended row, which
//                            is why the program's list sets it once per turn
//                            of the message loop.
// The stored-items list is slow enough under Wine that it is measured once,
// and the count-per-row variant on the first 500 rows only; the others are
// the median of the rounds. The baseline of the same run is the rows' texts
// converted from CP949 into a std::vector, the work no list can avoid. Every
// figure is printed in microseconds per row, in milliseconds for all rows,
// and as a ratio to the baseline.
#include <windows.h>
// The common controls' and the shell's headers need windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kColumns = 5;
constexpr int kListId = 113;

struct Column {
  const wchar_t* title;
  int width;
  int format;
};
constexpr Column kColumnsOfList[kColumns] = {
    {L"폴더/파일이름", 305, LVCFMT_LEFT}, {L"크기", 90, LVCFMT_RIGHT},
    {L"상태", 60, LVCFMT_RIGHT},          {L"보관일[폴더생성일]", 120, LVCFMT_RIGHT},
    {L"다운수", 50, LVCFMT_RIGHT},
};

// A row as the presenter hands it over: CP949 texts.
using Cp949Row = std::array<std::string, kColumns>;
using WideRow = std::array<std::wstring, kColumns>;

std::string cp949(const std::wstring& wide) {
  const int size = WideCharToMultiByte(949, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr,
                                       0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(949, 0, wide.c_str(), static_cast<int>(wide.size()), &out[0], size, nullptr,
                      nullptr);
  return out;
}

std::wstring widen(const std::string& text) {
  const int size =
      MultiByteToWideChar(949, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(949, 0, text.c_str(), static_cast<int>(text.size()), &out[0], size);
  return out;
}

// Rows like those of the service's bulk folder: files of 64 bytes to 4 KB
// with a few extensions, so icons are looked up for several kinds.
std::vector<Cp949Row> makeRows(int count) {
  const wchar_t* extensions[] = {L".dat", L".txt", L".jpg", L".zip", L".avi"};
  std::vector<Cp949Row> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = 1; i <= count; ++i) {
    wchar_t name[64];
    swprintf(name, 64, L"대량%05d%ls", i, extensions[i % 5]);
    const unsigned size = 64 + (static_cast<unsigned>(i) * 2654435761u) % 4000;
    wchar_t sizeText[32];
    swprintf(sizeText, 32, L"%uKB[완료]", size >> 10);
    rows.push_back({cp949(name), cp949(sizeText), cp949(L"비공개"), cp949(L"30일 이상"), "0"});
  }
  return rows;
}

double now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The system's small icon for a name, without touching the disk.
int iconOf(const std::wstring& name) {
  SHFILEINFOW info{};
  SHGetFileInfoW(name.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                 SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

// The icon of a name from a cache by extension: without disk access the
// system's icon depends on nothing else.
int cachedIconOf(const std::wstring& name, std::vector<std::pair<std::wstring, int>>& cache) {
  const size_t dot = name.rfind(L'.');
  std::wstring extension = dot == std::wstring::npos ? L"" : name.substr(dot);
  CharLowerW(&extension[0]);
  for (const auto& [known, icon] : cache)
    if (known == extension) return icon;
  cache.emplace_back(extension, iconOf(name));
  return cache.back().second;
}

struct Bench {
  HWND top = nullptr;
  HWND list = nullptr;      // items stored by the control
  HWND virtual_ = nullptr;  // owner data
  std::vector<Cp949Row> rows;
  std::vector<WideRow> wide;  // what the owner-data list is served from
  std::vector<int> icons;     // -1 until the row is shown
  std::vector<std::pair<std::wstring, int>> iconsByExtension;
  int dispInfoCalls = 0;
};
Bench bench;

HWND createList(DWORD extraStyle) {
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                              WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_EDITLABELS |
                                  LVS_SHOWSELALWAYS | extraStyle,
                              236, 118, 648, 248, bench.top,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                              GetModuleHandleW(nullptr), nullptr);
  ListView_SetExtendedListViewStyle(list, LVS_EX_INFOTIP);
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  SHFILEINFOW info{};
  auto small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  auto large = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_ICON));
  ListView_SetImageList(list, small, LVSIL_SMALL);
  ListView_SetImageList(list, large, LVSIL_NORMAL);
  for (int i = 0; i < kColumns; ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = kColumnsOfList[i].format;
    column.cx = kColumnsOfList[i].width;
    column.pszText = const_cast<wchar_t*>(kColumnsOfList[i].title);
    column.iSubItem = i;
    ListView_InsertColumn(list, i, &column);
  }
  return list;
}

LRESULT customDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
      if (draw.nmcd.dwItemSpec % 2 == 1) {
        draw.clrText = RGB(0x25, 0x25, 0x25);
        draw.clrTextBk = RGB(0xF5, 0xF5, 0xF5);
      }
      return CDRF_NEWFONT;
    default:
      return CDRF_DODEFAULT;
  }
}

LRESULT CALLBACK topProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == NM_CUSTOMDRAW)
      return customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    if (header->code == LVN_GETDISPINFOW && header->hwndFrom == bench.virtual_) {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
      const size_t row = static_cast<size_t>(info->item.iItem);
      ++bench.dispInfoCalls;
      if (row < bench.wide.size()) {
        if (info->item.mask & LVIF_TEXT) {
          lstrcpynW(info->item.pszText, bench.wide[row][info->item.iSubItem].c_str(),
                    info->item.cchTextMax);
        }
        if (info->item.mask & LVIF_IMAGE) {
          if (bench.icons[row] < 0)
            bench.icons[row] = cachedIconOf(bench.wide[row][0], bench.iconsByExtension);
          info->item.iImage = bench.icons[row];
        }
      }
      return 0;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Lets the window catch up (paint and whatever else is queued).
void pump() {
  UpdateWindow(bench.top);
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// The view's appendRow, for every row.
void fillList() {
  for (const Cp949Row& row : bench.rows) {
    const std::wstring name = widen(row[0]);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = ListView_GetItemCount(bench.list);
    item.pszText = const_cast<wchar_t*>(name.c_str());
    item.lParam = item.iItem + 100;
    item.iImage = iconOf(name);
    const int at = ListView_InsertItem(bench.list, &item);
    for (int column = 1; column < kColumns; ++column) {
      std::wstring text = widen(row[column]);
      ListView_SetItemText(bench.list, at, column, const_cast<wchar_t*>(text.c_str()));
    }
  }
}

// What an owner-data list keeps instead: the texts and the icon of each row.
void fillVirtualStore() {
  bench.wide.clear();
  bench.icons.clear();
  bench.wide.reserve(bench.rows.size());
  bench.icons.reserve(bench.rows.size());
  for (const Cp949Row& row : bench.rows) {
    WideRow texts;
    for (int column = 0; column < kColumns; ++column) texts[column] = widen(row[column]);
    bench.icons.push_back(-1);
    bench.wide.push_back(std::move(texts));
  }
}

// The baseline: the same texts converted and kept, nothing shown.
size_t fillVector() {
  std::vector<WideRow> kept;
  kept.reserve(bench.rows.size());
  for (const Cp949Row& row : bench.rows) {
    WideRow texts;
    for (int column = 0; column < kColumns; ++column) texts[column] = widen(row[column]);
    kept.push_back(std::move(texts));
  }
  return kept.size();
}

void show(HWND list) {
  ShowWindow(list == bench.list ? bench.virtual_ : bench.list, SW_HIDE);
  ShowWindow(list, SW_SHOW);
  pump();
}

template <typename Work>
double timed(Work work) {
  const double start = now();
  work();
  pump();
  return now() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int count = argc > 1 ? std::max(1, _wtoi(argv[1])) : 10000;
  const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = topProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BenchWin32List";
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassW(&windowClass);
  bench.top = CreateWindowExW(0, L"BenchWin32List", L"bench_win32_list", WS_OVERLAPPEDWINDOW, 0, 0,
                              888, 740, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  ShowWindow(bench.top, SW_SHOW);
  bench.rows = makeRows(count);
  bench.list = createList(0);
  bench.virtual_ = createList(LVS_OWNERDATA);
  ShowWindow(bench.virtual_, SW_HIDE);
  pump();

  std::vector<double> baseline, icons, redrawOff, virtualFill, virtualRefill, countPerRow;
  size_t kept = 0;
  const int perRowSample = std::min(count, 500);
  for (int round = 0; round < rounds; ++round) {
    baseline.push_back(timed([&] { kept += fillVector(); }));
    icons.push_back(timed([&] {
      for (const Cp949Row& row : bench.rows) iconOf(widen(row[0]));
    }));

    show(bench.list);
    redrawOff.push_back(timed([] {
      SendMessageW(bench.list, WM_SETREDRAW, FALSE, 0);
      ListView_DeleteAllItems(bench.list);
      fillList();
      SendMessageW(bench.list, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(bench.list, nullptr, TRUE);
    }));

    show(bench.virtual_);
    ListView_SetItemCountEx(bench.virtual_, 0, 0);
    pump();
    bench.dispInfoCalls = 0;
    bench.iconsByExtension.clear();
    virtualFill.push_back(timed([] {
      fillVirtualStore();
      ListView_SetItemCountEx(bench.virtual_, bench.wide.size(), 0);
    }));
    virtualRefill.push_back(timed([] {
      ListView_SetItemCountEx(bench.virtual_, 0, 0);
      fillVirtualStore();
      ListView_SetItemCountEx(bench.virtual_, bench.wide.size(), 0);
      InvalidateRect(bench.virtual_, nullptr, TRUE);
    }));
    ListView_SetItemCountEx(bench.virtual_, 0, 0);
    pump();
    countPerRow.push_back(timed([perRowSample] {
      for (int i = 1; i <= perRowSample; ++i)
        ListView_SetItemCountEx(bench.virtual_, i, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    }));
    ListView_SetItemCountEx(bench.virtual_, bench.wide.size(), 0);
    pump();
  }
  // Once: a list that stores its items, filled while it may redraw.
  show(bench.list);
  ListView_DeleteAllItems(bench.list);
  pump();
  const std::vector<double> fill{timed(fillList)};
  const std::vector<double> refill{timed([] {
    ListView_DeleteAllItems(bench.list);
    fillList();
  })};
  if (kept == 0 || ListView_GetItemCount(bench.list) != count ||
      ListView_GetItemCount(bench.virtual_) != count || bench.dispInfoCalls == 0) {
    std::fprintf(stderr, "the lists were not filled\n");
    return 1;
  }

  const double base = median(baseline) / count;
  auto report = [&](const char* what, const std::vector<double>& times, int rows) {
    const double perRow = median(times) / rows;
    std::printf("%-44s %10.3f us/row %10.1f ms for %d rows %10.1fx baseline\n", what, perRow,
                perRow * count / 1000.0, count, perRow / base);
  };
  std::printf("rows %d, rounds %d\n", count, rounds);
  report("baseline: texts into a vector", baseline, count);
  report("system icon looked up per row", icons, count);
  report("list view: fill (once)", fill, count);
  report("list view: clear and refill (once)", refill, count);
  report("list view: clear and refill, redraw off", redrawOff, count);
  report("owner-data list: fill", virtualFill, count);
  report("owner-data list: clear and refill", virtualRefill, count);
  report("owner-data list: count set per row (sample)", countPerRow, perRowSample);
  std::printf("refill, list view / owner-data list: %.1fx; with redraw off: %.1fx\n",
              median(refill) / median(virtualRefill), median(redrawOff) / median(virtualRefill));
  DestroyWindow(bench.top);
  return 0;
}
