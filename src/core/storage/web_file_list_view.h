// WebFileListView and WebFileListHost: the web file list as its presenter
// sees its control, and what it asks of the rest of the web storage.
//
// Rows are addressed by the item id they show, never by position: the view
// keeps the id with each row. Texts are CP949.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/storage/storage_commands.h"
#include "core/storage/web_item.h"
#include "core/ui/view_types.h"

namespace pom {

struct WebRow {
  std::int32_t itemId = 0;
  std::array<std::string, kWebColumns> texts;
  bool folder = false;  // the icon: a folder's, or the system's for the file name
};

// Every odd row is drawn shaded: text RGB(0x25,0x25,0x25) on RGB(0xF5,0xF5,0xF5).
inline bool isShadedRow(int rowIndex) {
  return rowIndex % 2 == 1;
}

class WebFileListView {
 public:
  virtual ~WebFileListView() = default;
  virtual void clearRows() = 0;
  virtual void appendRow(const WebRow& row) = 0;
  virtual void setCellText(std::int32_t itemId, int column, const std::string& text) = 0;
  virtual void removeRow(std::int32_t itemId) = 0;
  // The selected rows' item ids, in row order.
  virtual std::vector<std::int32_t> selectedItems() = 0;
  virtual void deselectAll() = 0;
  virtual void selectAll() = 0;
  virtual void editLabel(std::int32_t itemId) = 0;
  // The folder path above the list.
  virtual void setCaption(const std::string& text) = 0;
  // Tracks a menu at the cursor; the command chosen (None when none).
  virtual WebListCommand trackMenu(WebMenu menu) = 0;
  // The list's rectangle; the header, caption, frames and button follow it.
  virtual void place(const PaneRect& rect) = 0;
  virtual void setVisible(bool visible) = 0;
};

class WebFileListHost {
 public:
  virtual ~WebFileListHost() = default;
  // Lists again the folder that was opened last.
  virtual void refreshListing() = 0;
  // Opens a folder shown in the list through its tree node; with
  // downloadAfter its files are queued once its listing is complete, into
  // the local folder downloadInto (empty: the download folder).
  virtual void openFolder(std::int32_t folderId, const std::string& ownerId, bool downloadAfter,
                          const std::string& downloadInto) = 0;
  // An own folder was renamed: its tree node takes the name.
  virtual void folderRenamed(std::int32_t folderId, const std::string& name) = 0;
  // The list's up button: the parent of the folder shown.
  virtual void selectParentFolder() = 0;
};

}  // namespace pom
