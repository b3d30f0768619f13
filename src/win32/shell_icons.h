// ShellIcons: the shell's small icons for file names, as the file lists show
// them (the web file list, the transfer windows).
//
// Names are looked up without touching the disk (the files are on the
// service, or not downloaded yet), so the icon depends on the extension
// alone; each extension is asked of the shell once per cache. The image
// lists are the shell's own, shared by every list of the process: a list
// control given them must have LVS_SHAREIMAGELISTS, or destroying it would
// destroy them for the others. GUI thread only.
#pragma once

#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <map>
#include <string>

namespace pom {

class ShellIcons {
 public:
  // The system image lists (16 x 16 and 32 x 32).
  static HIMAGELIST smallList();
  static HIMAGELIST largeList();

  // Index of a file's small icon in the system image list.
  int fileIcon(const std::wstring& name);
  // Index of a plain folder's icon.
  int folderIcon();

 private:
  std::map<std::wstring, int> byExtension_;
  int folderIcon_ = -1;
};

// What the report lists of files share: info tips, the font and both system
// image lists (the control needs LVS_SHAREIMAGELISTS), and their columns.
void prepareFileList(HWND list, HFONT font);
void addListColumn(HWND list, int index, const std::string& title, int width, int format);

// The custom draw of a list whose shaded rows (odd ones) are drawn in dark
// grey on light grey; `shaded` says whether the row being drawn is one.
LRESULT drawShadedRow(NMLVCUSTOMDRAW& draw, bool shaded);

}  // namespace pom
