// Win32LocalShell: the shell namespace for the local browser: items are
// identifier lists (relative to the parent folder, and absolute) with the
// parent's IShellFolder, made and freed with the shell allocator. Also the
// items' small system icons and the shell context menu with the browser's
// "업로드하기(&F)" on top. COM must be up on the thread (the program
// initialises OLE before any window). GUI thread only.
#pragma once

#include <windows.h>
// shlobj.h needs windows.h first.
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "core/localfs/local_file_list.h"
#include "core/localfs/local_shell.h"

namespace pom {

// One item: parent folder (null for the desktop and for items made from a
// path), identifier list relative to it (null likewise) and the absolute one.
class Win32LocalItem final : public LocalItem {
 public:
  Win32LocalItem(IShellFolder* parent, LPITEMIDLIST relative, LPITEMIDLIST absolute);
  ~Win32LocalItem() override;
  Win32LocalItem(const Win32LocalItem&) = delete;
  Win32LocalItem& operator=(const Win32LocalItem&) = delete;

  IShellFolder* parent() const { return parent_; }
  LPCITEMIDLIST relative() const { return relative_; }
  LPCITEMIDLIST absolute() const { return absolute_; }

 private:
  IShellFolder* parent_;
  LPITEMIDLIST relative_;
  LPITEMIDLIST absolute_;
};

inline const Win32LocalItem& win32Item(const LocalItem& item) {
  return static_cast<const Win32LocalItem&>(item);
}

class Win32LocalShell final : public LocalShell {
 public:
  explicit Win32LocalShell(HWND owner);
  ~Win32LocalShell() override;

  LocalItemPtr desktop() override;
  bool enumerate(const LocalItem& folder, LocalEnum what, std::vector<LocalEntry>& out) override;
  std::string pathOf(const LocalItem& item) override;
  std::string nameOf(const LocalItem& item) override;
  int compare(const LocalItem& folder, const LocalItem& a, const LocalItem& b, int column) override;
  int compareText(const std::string& a, const std::string& b) override;
  LocalItemPtr rename(const LocalItem& folder, const LocalItem& item,
                      const std::string& newName) override;
  bool remove(const std::vector<std::string>& paths, bool toRecycleBin) override;
  void open(const LocalItem& item) override;
  std::vector<LocalItemPtr> chainTo(const std::string& path) override;
  bool sameItem(const LocalItem& a, const LocalItem& b) override;

  // The item's small icon in the system image list (open: a folder's open
  // look).
  static int iconOf(const LocalItem& item, bool open);

 private:
  // The folder's own IShellFolder (a new reference), or null.
  IShellFolder* bind(const LocalItem& folder);

  HWND owner_;
  IShellFolder* desktop_ = nullptr;
};

// The shell context menu of some children of one folder, kept from its
// tracking until its command ran or another menu is tracked. The owner
// window passes the menu messages it gets while the menu is open.
class ShellMenu {
 public:
  ShellMenu() = default;
  ~ShellMenu() { release(); }
  ShellMenu(const ShellMenu&) = delete;
  ShellMenu& operator=(const ShellMenu&) = delete;

  LocalMenuChoice track(HWND owner, IShellFolder* folder, const std::vector<LPCITEMIDLIST>& items,
                        POINT screen);
  void run(HWND owner, const LocalMenuChoice& choice);
  // Owner-drawn entries of the shell (send-to and the like); true when taken.
  bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  void release();

  IContextMenu* menu_ = nullptr;
  IContextMenu2* menu2_ = nullptr;
  bool open_ = false;
};

}  // namespace pom
