// The command ids of the web tree's and the web file list's menus (as the
// menu resources number them), the menus themselves, and the keys the two
// controls take.
#pragma once

namespace pom {

enum class WebListCommand {
  None = 0,
  Delete = 40001,
  Rename = 40002,
  Public = 40003,
  Private = 40004,
  Club = 40005,
  NewFolder = 40006,
  Refresh = 40011,
  WebLink = 40014,
  Download = 40017,
  Cut = 40035,
  Paste = 40036,
  ExtendTerm = 40043,
  CombinedLink = 40047,
  PlayBox = 40049,
};

enum class WebTreeCommand {
  None = 0,
  Refresh = 40019,
  NewFolder = 40020,
  Public = 40021,
  Private = 40022,
  Club = 40023,
  Delete = 40024,
  Rename = 40026,
  FriendDelete = 40032,
  FriendAdd = 40033,
  FriendAddFromList = 40041,
  ExtendTerm = 40043,
  MemoEdit = 40046,
  Download = 40051,
};

// Menu resources.
enum class WebMenu {
  None = 0,
  OwnList = 113,          // own listing, anywhere in the list
  FriendList = 193,       // a friend's listing, over a row
  OwnFolder = 191,        // an own folder node
  OwnFolderBusy = 40050,  // the same without delete, while uploads run
  FriendFolder = 40051,   // a friend's folder node: download only
  Friend = 194,           // a friend node
  Friends = 195,          // the "내친구" node
};

// Keys the tree and the list react to (the view maps the platform's keys).
enum class WebKey { Delete, F2, F5, CtrlA, CtrlD, CtrlN, CtrlV, CtrlW, CtrlX, AltC, AltF, AltT };

}  // namespace pom
