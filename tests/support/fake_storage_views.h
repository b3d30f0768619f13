// Recording fakes of the web storage's views: the tree, the file list and
// the two modal dialogs. They report nothing back on their own (no
// selection notifications): a test drives the presenter as the member would.
#pragma once

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/storage/storage_dialogs.h"
#include "core/storage/web_file_list_view.h"
#include "core/storage/web_folder_tree.h"

namespace pom {

class FakeWebFileListView : public WebFileListView {
 public:
  std::vector<WebRow> rows;
  std::vector<std::int32_t> selected;  // in row order, as the control reports them
  std::int32_t editing = 0;
  std::string caption;
  WebListCommand menuAnswer = WebListCommand::None;
  std::vector<WebMenu> menus;
  PaneRect rect;
  bool visible = false;
  int clears = 0;
  // Called as a row goes, before it is removed (to check what is gone already).
  std::function<void(std::int32_t)> onRemoveRow;

  void clearRows() override {
    rows.clear();
    ++clears;
  }
  void appendRow(const WebRow& row) override { rows.push_back(row); }
  void setCellText(std::int32_t itemId, int column, const std::string& text) override {
    if (WebRow* row = find(itemId)) row->texts[column] = text;
  }
  void removeRow(std::int32_t itemId) override {
    if (onRemoveRow) onRemoveRow(itemId);
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [itemId](const WebRow& r) { return r.itemId == itemId; }),
               rows.end());
    selected.erase(std::remove(selected.begin(), selected.end(), itemId), selected.end());
  }
  std::vector<std::int32_t> selectedItems() override { return selected; }
  void deselectAll() override { selected.clear(); }
  void selectAll() override {
    selected.clear();
    for (const WebRow& row : rows) selected.push_back(row.itemId);
  }
  void editLabel(std::int32_t itemId) override { editing = itemId; }
  void setCaption(const std::string& text) override { caption = text; }
  WebListCommand trackMenu(WebMenu menu) override {
    menus.push_back(menu);
    return menuAnswer;
  }
  void place(const PaneRect& r) override { rect = r; }
  void setVisible(bool v) override { visible = v; }

  WebRow* find(std::int32_t itemId) {
    for (WebRow& row : rows) {
      if (row.itemId == itemId) return &row;
    }
    return nullptr;
  }
  // The texts of one column, in row order.
  std::vector<std::string> column(int index) const {
    std::vector<std::string> texts;
    for (const WebRow& row : rows) texts.push_back(row.texts[index]);
    return texts;
  }
  // Selects the rows showing these names.
  void select(const std::vector<std::string>& names) {
    selected.clear();
    for (const WebRow& row : rows) {
      if (std::find(names.begin(), names.end(), row.texts[0]) != names.end())
        selected.push_back(row.itemId);
    }
  }
};

class FakeWebTreeView : public WebTreeView {
 public:
  struct Shown {
    WebNodeId parent = 0;
    WebNodeKind kind = WebNodeKind::Root;
    std::string label;
  };
  std::map<WebNodeId, Shown> nodes;
  WebNodeId selected = 0;
  std::set<WebNodeId> expanded;
  WebTreeCommand menuAnswer = WebTreeCommand::None;
  std::vector<WebMenu> menus;
  PaneRect rect;
  bool visible = false;

  void insertNode(WebNodeId id, WebNodeId parent, WebNodeKind kind,
                  const std::string& label) override {
    nodes[id] = Shown{parent, kind, label};
  }
  void removeNode(WebNodeId id) override {
    std::vector<WebNodeId> doomed{id};
    for (std::size_t i = 0; i < doomed.size(); ++i) {
      for (const auto& [child, shown] : nodes) {
        if (shown.parent == doomed[i]) doomed.push_back(child);
      }
    }
    for (WebNodeId gone : doomed) nodes.erase(gone);
  }
  void setLabel(WebNodeId id, const std::string& label) override { nodes[id].label = label; }
  void selectNode(WebNodeId id) override { selected = id; }
  void expandNode(WebNodeId id) override { expanded.insert(id); }
  WebTreeCommand trackMenu(WebMenu menu) override {
    menus.push_back(menu);
    return menuAnswer;
  }
  void place(const PaneRect& r) override { rect = r; }
  void setVisible(bool v) override { visible = v; }

  // The labels below a node, in order.
  std::vector<std::string> childrenOf(WebNodeId parent) const {
    std::vector<std::string> labels;
    for (const auto& [id, shown] : nodes) {
      if (shown.parent == parent) labels.push_back(shown.label);
    }
    return labels;
  }
  WebNodeId idOf(const std::string& label) const {
    for (const auto& [id, shown] : nodes) {
      if (shown.label == label) return id;
    }
    return 0;
  }
};

class FakeFriendAddView : public FriendAddDialogView {
 public:
  bool answer = true;
  std::string id, memo;
  std::vector<bool> idShown;
  bool runModal(bool shown, std::string& typedId, std::string& typedMemo) override {
    idShown.push_back(shown);
    typedId = id;
    typedMemo = memo;
    return answer;
  }
};

class FakeMemoView : public MemoDialogView {
 public:
  bool answer = true;
  std::string text;
  std::vector<std::string> titles, labels;
  // Runs while the dialog is open (its modal loop pumps messages).
  std::function<void()> whileOpen;
  bool runModal(const std::string& title, const std::string& label, std::string& typed) override {
    if (whileOpen) whileOpen();
    titles.push_back(title);
    labels.push_back(label);
    typed = text;
    return answer;
  }
};

}  // namespace pom
