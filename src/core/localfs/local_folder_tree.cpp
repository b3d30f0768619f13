#include "core/localfs/local_folder_tree.h"

#include <algorithm>

#include "core/hub/transfer_links.h"

namespace pom {

void LocalFolderTree::attach(LocalShell* shell, LocalTreeView* view) {
  shell_ = shell;
  view_ = view;
  nodes_.clear();
  root_ = selected_ = kNoLocalNode;
  if (shell_ == nullptr) return;
  LocalEntry desktop;
  desktop.item = shell_->desktop();
  if (desktop.item == nullptr) return;
  desktop.name = shell_->nameOf(*desktop.item);
  desktop.attributes = local_attr::kFolder | local_attr::kHasSubFolder;
  root_ = addNode(kNoLocalNode, std::move(desktop));
  expanding(root_);
  if (view_ != nullptr) view_->expandNode(root_);
  selected(root_);
  if (view_ != nullptr) view_->selectNode(root_);
}

const LocalFolderTree::Node* LocalFolderTree::node(LocalNodeId id) const {
  const auto found = nodes_.find(id);
  return found == nodes_.end() ? nullptr : &found->second;
}

LocalNodeId LocalFolderTree::addNode(LocalNodeId parent, LocalEntry entry) {
  const LocalNodeId id = nextId_++;
  Node& added = nodes_[id];
  added.item = std::move(entry.item);
  added.parent = parent;
  added.name = std::move(entry.name);
  added.attributes = entry.attributes;
  if (parent != kNoLocalNode) nodes_[parent].children.push_back(id);
  if (view_ != nullptr) view_->insertNode(id, parent, added.name, true);
  return id;
}

void LocalFolderTree::enumerateChildren(LocalNodeId id) {
  Node* parent = &nodes_[id];
  parent->enumerated = true;
  std::vector<LocalEntry> children;
  shell_->enumerate(*parent->item, LocalEnum::Folders, children);
  const LocalItemPtr folder = parent->item;
  std::stable_sort(children.begin(), children.end(), [&](const LocalEntry& a, const LocalEntry& b) {
    return shell_->compare(*folder, *a.item, *b.item, 0) < 0;
  });
  for (LocalEntry& child : children) {
    if (child.isFolder()) addNode(id, std::move(child));
  }
}

void LocalFolderTree::expanding(LocalNodeId id) {
  const auto found = nodes_.find(id);
  if (shell_ == nullptr || found == nodes_.end() || found->second.enumerated) return;
  enumerateChildren(id);
}

void LocalFolderTree::selected(LocalNodeId id) {
  const Node* shown = node(id);
  if (shown == nullptr) return;
  selected_ = id;
  list_.showFolder(shown->item);
}

void LocalFolderTree::forgetChildren(LocalNodeId id) {
  Node& parent = nodes_[id];
  for (LocalNodeId child : parent.children) {
    forgetChildren(child);
    nodes_.erase(child);
  }
  parent.children.clear();
  parent.enumerated = false;
}

void LocalFolderTree::refreshTree() {
  if (shell_ == nullptr || node(selected_) == nullptr) return;
  forgetChildren(selected_);
  if (view_ != nullptr) view_->removeChildren(selected_);
  enumerateChildren(selected_);
  selected(selected_);
}

LocalNodeId LocalFolderTree::childMatching(LocalNodeId parent, const LocalItem& item) {
  expanding(parent);
  for (LocalNodeId child : nodes_[parent].children) {
    if (shell_->sameItem(*nodes_[child].item, item)) return child;
  }
  return kNoLocalNode;
}

void LocalFolderTree::selectChild(const LocalItem& item) {
  if (shell_ == nullptr || node(selected_) == nullptr) return;
  const LocalNodeId child = childMatching(selected_, item);
  if (child == kNoLocalNode) return;
  if (view_ != nullptr) view_->expandNode(selected_);
  selected(child);
  if (view_ != nullptr) view_->selectNode(child);
}

bool LocalFolderTree::pointAt(const std::string& path) {
  if (shell_ == nullptr || root_ == kNoLocalNode) return false;
  LocalNodeId at = root_;
  for (const LocalItemPtr& step : shell_->chainTo(path)) {
    const LocalNodeId child = childMatching(at, *step);
    if (child == kNoLocalNode) return false;
    if (view_ != nullptr) view_->expandNode(at);
    at = child;
  }
  if (at == root_) return false;
  selected(at);
  if (view_ != nullptr) view_->selectNode(at);
  return true;
}

void LocalFolderTree::rightClick(LocalNodeId id) {
  if (view_ == nullptr || node(id) == nullptr) return;
  const LocalMenuChoice choice = view_->trackMenu(id);
  if (choice.command == 0) return;
  switch (localMenuAction(choice.command, choice.verb)) {
    case LocalMenuAction::Upload:
      uploadNode(id);
      break;
    case LocalMenuAction::EditLabel:  // the tree has no label editing
      break;
    case LocalMenuAction::InvokeThenRefresh:
      view_->runMenuCommand(choice);
      refreshTree();
      break;
    case LocalMenuAction::Invoke:
      view_->runMenuCommand(choice);
      break;
  }
}

void LocalFolderTree::uploadNode(LocalNodeId id) {
  const Node* folder = node(id);
  if (folder == nullptr || uploads_ == nullptr || shell_ == nullptr) return;
  const std::string path = shell_->pathOf(*folder->item);
  if (path.empty()) return;
  // The notice page comes first here, then the folder is asked for.
  uploads_->noteUploadStarted(UploadLink::kNoticeHeight);
  uploads_->uploadLocalFolder(path);
}

}  // namespace pom
