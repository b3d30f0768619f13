// FakeLocalShell and FakeLocalListView: a namespace of paths in memory and a
// recording list view, for the local browser's presenters.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/localfs/local_file_list.h"
#include "core/localfs/local_shell.h"

namespace pom {

// An item is its path ("" the desktop, "c:" a drive, "c:\a" below it).
class FakeLocalItem final : public LocalItem {
 public:
  explicit FakeLocalItem(std::string p) : path(std::move(p)) {}
  std::string path;
};

inline const std::string& pathOfItem(const LocalItem& item) {
  return static_cast<const FakeLocalItem&>(item).path;
}

namespace fake_attr {
inline constexpr std::uint32_t kFile = local_attr::kFileSystem | 0x77;
inline constexpr std::uint32_t kFolder = kFile | local_attr::kFolder;
inline constexpr std::uint32_t kDrive = local_attr::kFileSystem | local_attr::kFolder | 0x44;
}  // namespace fake_attr

class FakeLocalShell final : public LocalShell {
 public:
  std::map<std::string, std::vector<LocalEntry>> children;
  bool failEnumeration = false;  // after the first child
  bool refuseRename = false;
  std::vector<std::string> renames;
  std::vector<std::vector<std::string>> removed;
  std::vector<bool> toRecycleBin;
  std::vector<std::string> opened;

  // Adds an item below parent; display defaults to the last component.
  LocalEntry& add(const std::string& parent, const std::string& name, std::uint32_t attributes,
                  std::int64_t size = 0, std::string display = "") {
    LocalEntry entry;
    entry.item = item(parent.empty() ? name : parent + "\\" + name);
    entry.name = display.empty() ? name : display;
    entry.attributes = attributes;
    entry.size = size;
    entry.typeName = (attributes & local_attr::kFolder) != 0 ? "파일 폴더" : "파일";
    children[parent].push_back(entry);
    return children[parent].back();
  }
  static LocalItemPtr item(const std::string& path) {
    return std::make_shared<FakeLocalItem>(path);
  }

  LocalItemPtr desktop() override { return item(""); }
  bool enumerate(const LocalItem& folder, LocalEnum what, std::vector<LocalEntry>& out) override {
    for (const LocalEntry& entry : children[pathOfItem(folder)]) {
      if (what == LocalEnum::Folders && !entry.isFolder()) continue;
      out.push_back(entry);
      if (failEnumeration) return false;
    }
    return true;
  }
  std::string pathOf(const LocalItem& item) override {
    const std::string& path = pathOfItem(item);
    return path.rfind("::", 0) == 0 ? "" : path;  // "::..." is off the disk
  }
  std::string nameOf(const LocalItem& item) override {
    return pathOfItem(item).empty() ? "바탕 화면" : pathOfItem(item);
  }
  int compare(const LocalItem&, const LocalItem& a, const LocalItem& b, int) override {
    return pathOfItem(a).compare(pathOfItem(b));
  }
  int compareText(const std::string& a, const std::string& b) override { return a.compare(b); }
  LocalItemPtr rename(const LocalItem& folder, const LocalItem& old,
                      const std::string& name) override {
    renames.push_back(pathOfItem(old) + ">" + name);
    if (refuseRename) return nullptr;
    for (LocalEntry& entry : children[pathOfItem(folder)]) {
      if (pathOfItem(*entry.item) != pathOfItem(old)) continue;
      entry.item = item(pathOfItem(folder) + "\\" + name);
      entry.name = name;
      return entry.item;
    }
    return nullptr;
  }
  bool remove(const std::vector<std::string>& paths, bool recycle) override {
    removed.push_back(paths);
    toRecycleBin.push_back(recycle);
    return true;
  }
  void open(const LocalItem& item) override { opened.push_back(pathOfItem(item)); }
  std::vector<LocalItemPtr> chainTo(const std::string& path) override {
    // "c:\a\b" -> "c:", "c:\a", "c:\a\b" (the fake has no "내 컴퓨터" level).
    std::vector<LocalItemPtr> chain;
    for (std::size_t at = path.find('\\');; at = path.find('\\', at + 1)) {
      chain.push_back(item(path.substr(0, at)));
      if (at == std::string::npos) break;
    }
    return chain;
  }
  bool sameItem(const LocalItem& a, const LocalItem& b) override {
    return pathOfItem(a) == pathOfItem(b);
  }
};

class FakeLocalListView final : public LocalFileListView {
 public:
  std::size_t rows = 0;
  std::vector<std::size_t> selected;
  std::string caption;
  std::vector<bool> busy;
  std::vector<std::size_t> edited, redrawn;
  LocalMenuChoice choice;
  std::vector<std::string> ranVerbs;

  void setRowCount(std::size_t count) override { rows = count; }
  void redrawRow(std::size_t row) override { redrawn.push_back(row); }
  std::vector<std::size_t> selectedRows() override { return selected; }
  void selectAll() override {
    selected.clear();
    for (std::size_t i = 0; i < rows; ++i) selected.push_back(i);
  }
  void editLabel(std::size_t row) override { edited.push_back(row); }
  void setCaption(const std::string& text) override { caption = text; }
  void setBusy(bool b) override { busy.push_back(b); }
  LocalMenuChoice trackMenu(const std::vector<std::size_t>&) override { return choice; }
  void runMenuCommand(const LocalMenuChoice& c) override { ranVerbs.push_back(c.verb); }
  void place(const PaneRect&) override {}
  void setVisible(bool) override {}
};

}  // namespace pom
