// LocalFolderTree: the presenter of the local folder tree (control 4000):
// the shell namespace from the desktop down, folders only. A node's children
// are enumerated when it is first expanded and kept in the shell's own
// order; selecting a node shows it in the local file list. It is the list's
// host (double click on a folder row, refresh after a command).
//
// Nodes are numbered here (never reused) and the view mirrors them; a
// refresh removes the selected node's children and enumerates them again.
// Owned by the local browser module; loop thread only.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/localfs/local_file_list.h"
#include "core/localfs/local_shell.h"

namespace pom {

class UploadLink;

using LocalNodeId = std::int64_t;
inline constexpr LocalNodeId kNoLocalNode = 0;

class LocalTreeView : public LocalPaneView {
 public:
  // Adds a node under parent (kNoLocalNode: at the top); hasChildren shows
  // the expand button before the children are known.
  virtual void insertNode(LocalNodeId id, LocalNodeId parent, const std::string& name,
                          bool hasChildren) = 0;
  virtual void removeChildren(LocalNodeId id) = 0;
  // Selects the node (the view reports the selection back) and brings it
  // into view.
  virtual void selectNode(LocalNodeId id) = 0;
  virtual void expandNode(LocalNodeId id) = 0;
  // The shell context menu for the node with "업로드하기(&F)" on top.
  virtual LocalMenuChoice trackMenu(LocalNodeId id) = 0;
  virtual void runMenuCommand(const LocalMenuChoice& choice) = 0;
};

class LocalFolderTree final : public LocalListHost {
 public:
  struct Node {
    LocalItemPtr item;
    LocalNodeId parent = kNoLocalNode;
    std::string name;
    std::uint32_t attributes = 0;
    bool enumerated = false;
    std::vector<LocalNodeId> children;
  };

  LocalFolderTree(LocalFileList& list, UploadLink* uploads) : list_(list), uploads_(uploads) {}

  // With a shell and a view: the desktop node, expanded and selected.
  void attach(LocalShell* shell, LocalTreeView* view);

  // What the member (or the view) did.
  void expanding(LocalNodeId id);
  void selected(LocalNodeId id);
  void rightClick(LocalNodeId id);
  // Shows the folder at path: the nodes down to it are expanded and it is
  // selected; false when it is not in the namespace.
  bool pointAt(const std::string& path);
  // Uploads the node's folder into the web folder shown.
  void uploadNode(LocalNodeId id);

  // LocalListHost
  void selectChild(const LocalItem& item) override;
  void refreshTree() override;

  const Node* node(LocalNodeId id) const;
  LocalNodeId selection() const { return selected_; }
  LocalNodeId root() const { return root_; }

 private:
  LocalNodeId addNode(LocalNodeId parent, LocalEntry entry);
  void enumerateChildren(LocalNodeId id);
  void forgetChildren(LocalNodeId id);
  LocalNodeId childMatching(LocalNodeId parent, const LocalItem& item);

  LocalFileList& list_;
  UploadLink* uploads_;
  LocalShell* shell_ = nullptr;
  LocalTreeView* view_ = nullptr;
  std::map<LocalNodeId, Node> nodes_;
  LocalNodeId nextId_ = 1;
  LocalNodeId root_ = kNoLocalNode;
  LocalNodeId selected_ = kNoLocalNode;
};

}  // namespace pom
