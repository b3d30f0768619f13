// LocalBrowserViews: what the local browser module asks the front end for:
// the shell namespace and the views of the local tree (4000) and list
// (4001). A front end without them returns null (the defaults), and the
// browser then shows nothing and uploads nothing.
#pragma once

#include <memory>

#include "core/localfs/local_file_list.h"
#include "core/localfs/local_folder_tree.h"
#include "core/localfs/local_shell.h"

namespace pom {

class LocalBrowserViews {
 public:
  static constexpr char kLinkName[] = "LocalBrowserViews";
  virtual ~LocalBrowserViews() = default;
  virtual std::unique_ptr<LocalShell> createLocalShell() { return nullptr; }
  virtual std::unique_ptr<LocalTreeView> createLocalTreeView(LocalFolderTree&) { return nullptr; }
  virtual std::unique_ptr<LocalFileListView> createLocalListView(LocalFileList&) { return nullptr; }
};

}  // namespace pom
