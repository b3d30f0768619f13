// StorageViews: the views the web storage module asks the front end for.
// Each may be null (a front end without windows); the presenters then run
// without it.
#pragma once

#include <memory>

#include "core/storage/progress_dialog.h"
#include "core/storage/storage_dialogs.h"
#include "core/storage/term_extension_dialog.h"
#include "core/storage/web_file_list.h"
#include "core/storage/web_folder_tree.h"

namespace pom {

class StorageViews {
 public:
  static constexpr char kLinkName[] = "StorageViews";
  virtual ~StorageViews() = default;
  // The web-folder tree (control 191) and the web file list (control 113),
  // both hidden until the main layout is built.
  virtual std::unique_ptr<WebTreeView> createWebTreeView(WebFolderTree& presenter) = 0;
  virtual std::unique_ptr<WebFileListView> createWebFileListView(WebFileList& presenter) = 0;
  // The friend-add (185) and memo (297) dialogs.
  virtual std::unique_ptr<FriendAddDialogView> createFriendAddDialogView(
      FriendAddDialog& presenter) = 0;
  virtual std::unique_ptr<MemoDialogView> createMemoDialogView(MemoDialog& presenter) = 0;
  // The loading / moving dialog and the term-extension answer.
  virtual std::unique_ptr<ProgressDialogView> createProgressDialogView(
      ProgressDialog& presenter) = 0;
  virtual std::unique_ptr<TermExtensionDialogView> createTermExtensionDialogView(
      TermExtensionDialog& presenter) = 0;
};

}  // namespace pom
