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
};

}  // namespace pom
