// Win32SearchListView: the search-result list (189, right pane 2) and the
// folder-content list (192, right pane 3) on the main window. Each is the
// header bitmap (212) with the caption on it, two group frames and a report
// list with the core's columns (a width of 0 hides one), left-aligned, the
// list font, the system's icons by name and shaded odd rows. The presenter
// gets the member's input: column clicks, double clicks, the keys Ctrl+A,
// Ctrl+F, Ctrl+I, Ctrl+V and Ctrl+W, a right click anywhere in the list (it
// then asks for its menu through trackMenu), the release of a drag of the
// selected rows (over the download window's list, inside the local file list
// or elsewhere), and the member scrolling to the last row.
//
// Like the web file list, the control is an owner-data list: the view keeps
// the rows and the control asks for what it shows (a control that stores its
// items costs milliseconds per row under Wine). One class serves both lists;
// the two instantiations only give it the interface its presenter expects.
// GUI thread only; lives as long as the top window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/search/search_views.h"
#include "win32/drag_image.h"
#include "win32/shell_icons.h"
#include "win32/top_window.h"
#include "win32/window.h"

namespace pom {

inline constexpr int kSearchResultListId = 189;
inline constexpr int kFolderContentListId = 192;
// The local file list, a drop target of both lists.
inline constexpr int kLocalFileListId = 4001;

// Where a list is created: its parent (the main window), the fonts of the
// list and the caption, and how the parent hands the list's notifications
// (WM_NOTIFY) to it; route(list, nullptr) stops that.
struct SearchListHome {
  HINSTANCE instance = nullptr;
  HWND parent = nullptr;
  HFONT listFont = nullptr;
  HFONT captionFont = nullptr;
  std::function<void(HWND list, NotifyTarget* target)> route;
};

// The home of both lists on the top window.
SearchListHome searchListHomeOn(TopWindow& top);

template <typename View>
class Win32SearchListView final : public View, public NotifyTarget {
 public:
  Win32SearchListView(const SearchListHome& home, SearchListInput& presenter, int controlId);
  ~Win32SearchListView() override;

  void setColumns(const std::vector<SearchColumn>& columns) override;
  void setRows(const std::vector<SearchRow>& rows) override;
  void appendRows(const std::vector<SearchRow>& rows) override;
  void setCaption(const std::string& text) override;
  std::vector<int> selectedRows() override;
  void selectAllAndFocus() override;
  SearchCommand trackMenu(const std::vector<SearchMenuItem>& items) override;
  void place(const PaneRect& rect) override;
  void setVisible(bool visible) override;

  bool onControlNotify(NMHDR* header, LRESULT& result) override;

  HWND list() const { return list_; }

 private:
  class Control final : public Window {
   public:
    explicit Control(Win32SearchListView& owner) : owner_(owner) {}

   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

   private:
    Win32SearchListView& owner_;
  };

  // The header bitmap static, parent of the caption, whose text is drawn
  // transparently over the bitmap.
  class Header final : public Window {
   protected:
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  };

  struct ShownRow {
    std::vector<std::wstring> texts;
    std::wstring iconName;
    int icon = -1;  // looked up when first shown
  };

  void addRows(const std::vector<SearchRow>& rows);
  void fillDisplayInfo(LVITEMW& item);
  LRESULT customDraw(NMLVCUSTOMDRAW& draw) const;
  void beginDrag(const NMLISTVIEW& info);
  void drop(POINT screen);
  SearchDropTarget targetAt(POINT screen) const;
  // After the member scrolled: tells the presenter once per row count that
  // the last row is in view.
  void checkScrolledToEnd();

  SearchListHome home_;
  SearchListInput& presenter_;
  Control control_;
  Header headerControl_;
  HWND list_ = nullptr;
  HWND header_ = nullptr;
  HWND caption_ = nullptr;
  HWND frames_[2] = {};
  HBITMAP headerBitmap_ = nullptr;
  DragImage drag_;
  std::vector<ShownRow> rows_;
  std::size_t reportedEnd_ = 0;  // the row count last reported as scrolled to its end
  ShellIcons icons_;
};

using Win32SearchResultListView = Win32SearchListView<SearchResultListView>;
using Win32FolderContentListView = Win32SearchListView<FolderContentListView>;

// The search bar the main window creates: the radios "자연어검색" and
// "일반검색" and the edit. Until the main layout hands it the controls it
// reads an empty text and no kind.
class Win32SearchBarView final : public SearchBarView {
 public:
  void attach(HWND naturalRadio, HWND normalRadio, HWND edit);

  std::string editText() override;
  SearchKind selectedKind() override;
  void setEditText(const std::string& text) override;
  void focusEdit() override;

 private:
  HWND natural_ = nullptr;
  HWND normal_ = nullptr;
  HWND edit_ = nullptr;
};

}  // namespace pom
