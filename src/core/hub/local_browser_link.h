// LocalBrowserLink: what the local browser module (local tree and list, the
// settings dialog) offers the other modules.
#pragma once

#include <string>

namespace pom {

class LocalBrowserLink {
 public:
  static constexpr char kLinkName[] = "LocalBrowserLink";
  virtual ~LocalBrowserLink() = default;
  // The local file list has a selected row; queue its selected files for upload.
  virtual bool localListHasSelection() const = 0;
  virtual void uploadSelection() = 0;
  // Shows a folder in the local tree (the download folder, a chosen one).
  virtual void pointTreeAt(const std::string& path) = 0;
  // Opens the settings dialog.
  virtual void openSettings() = 0;
  // The file-system path of the folder the local file list shows (where web
  // items dropped on it go); empty when it shows none or one off the disk.
  // The list itself is control 4001 of the main window: the Win32 views find
  // it by that id to tell whether a point lies strictly inside it.
  virtual std::string shownFolder() const { return ""; }
};

}  // namespace pom
