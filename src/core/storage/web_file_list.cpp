#include "core/storage/web_file_list.h"

#include <algorithm>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "core/base/text_utils.h"
#include "core/hub/local_browser_link.h"
#include "core/hub/session_link.h"
#include "core/hub/transfer_links.h"
#include "core/net/messages/requests.h"
#include "core/ports/dialogs.h"
#include "core/ports/event_loop.h"
#include "core/ports/shell.h"
#include "core/storage/progress_dialog.h"
#include "core/storage/storage_dialogs.h"
#include "core/storage/web_links.h"

namespace pom {
namespace {

constexpr std::size_t kFileNameBytes = 255;
constexpr int kUpButtonBitmap = 196;

bool blank(const std::string& text) {
  return text.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

std::string newFolderName(const std::vector<WebItem>& listing) {
  const auto taken = [&listing](const std::string& name) {
    return std::any_of(listing.begin(), listing.end(),
                       [&name](const WebItem& item) { return item.name == name; });
  };
  std::string name = "새폴더";
  for (int attempt = 1; taken(name); ++attempt) name = "새폴더(" + std::to_string(attempt) + ")";
  return name;
}

Bytes newFolderRequest(const std::vector<WebItem>& listing, std::int32_t parentId,
                       const ConfigStore& config) {
  CreateFolderRequest request;
  request.name = newFolderName(listing);
  request.parentId = parentId < 0 ? 0 : parentId;
  request.sharingState = sharingLetterFor(config.readBool(ConfigKey::UpLoadPublic1),
                                          config.readBool(ConfigKey::UpLoadPublic2),
                                          config.readBool(ConfigKey::UpLoadPublic3));
  return request.encode();
}

WebFileList::WebFileList(Deps deps) : deps_(std::move(deps)) {
  layout_.rect = {236, 118, 640, 248};
  layout_.side = PaneLayout::Side::Right;
  layout_.band = PaneLayout::Band::Upper;
}

WebFileList::~WebFileList() {
  if (moveTimer_ != 0) deps_.loop->stopTimer(moveTimer_);
}

void WebFileList::attachView(WebFileListView* view, SkinPainter* painter) {
  deps_.view = view;
  if (painter != nullptr) {
    upButton_.load(0, 0, painter, kUpButtonBitmap);
  } else {
    upButton_.destroy();
  }
  if (view != nullptr) view->setCaption("내웹폴더");
  place();
}

void WebFileList::place() {
  const PaneRect& r = layout_.rect;
  upButton_.setPosition(r.x + r.width - 27, r.y - 23);
  upButton_.setEnabled(shown_);
  if (deps_.view != nullptr) deps_.view->place(r);
}

// --- the listing ---------------------------------------------------------

void WebFileList::beginListing(std::int32_t folderId, const std::string& friendId) {
  items_.clear();
  folder_ = folderId;
  friendId_ = friendId;
  if (deps_.view != nullptr) deps_.view->clearRows();
}

void WebFileList::appendEntries(const std::vector<FolderEntry>& entries) {
  for (const FolderEntry& entry : entries) {
    // Only the records of the folder being listed: a row and its record
    // must always be of the folder shown.
    if (entry.itemId == 0 || entry.parentId != folder_) continue;
    items_.push_back(WebItem::fromEntry(entry, friendId_));
    appendRow(items_.back(), false);
  }
}

void WebFileList::appendRow(const WebItem& item, bool refilled) {
  if (deps_.view == nullptr) return;
  WebRow row;
  row.itemId = item.itemId;
  row.texts = webRowTexts(item, refilled);
  row.folder = item.isFolder();
  deps_.view->appendRow(row);
}

void WebFileList::refill() {
  if (deps_.view == nullptr) return;
  deps_.view->clearRows();
  for (const WebItem& item : items_) appendRow(item, true);
}

void WebFileList::showFolder(std::int32_t folderId) {
  folder_ = folderId;
  std::stable_sort(items_.begin(), items_.end(), [this](const WebItem& a, const WebItem& b) {
    return webItemBefore(a, b, sort_);
  });
  refill();
}

void WebFileList::setCaption(const std::string& caption) {
  if (deps_.view != nullptr) deps_.view->setCaption(caption);
}

void WebFileList::columnClick(int column) {
  sort_.click(column);
  showFolder(folder_);
}

const WebItem* WebFileList::find(std::int32_t itemId) const {
  const auto found = std::find_if(items_.begin(), items_.end(),
                                  [itemId](const WebItem& item) { return item.itemId == itemId; });
  return found == items_.end() ? nullptr : &*found;
}

WebItem* WebFileList::findItem(std::int32_t itemId) {
  return const_cast<WebItem*>(find(itemId));
}

bool WebFileList::hasSelection() {
  return deps_.view != nullptr && !deps_.view->selectedItems().empty();
}

std::vector<const WebItem*> WebFileList::selection() {
  std::vector<const WebItem*> rows;
  if (deps_.view == nullptr) return rows;
  for (std::int32_t id : deps_.view->selectedItems()) {
    if (const WebItem* item = find(id)) rows.push_back(item);
  }
  return rows;
}

// --- answers -------------------------------------------------------------

void WebFileList::addItem(const WebItem& item) {
  if (!ownListing() || item.parentId < 0 || item.parentId != folder_) return;
  if (find(item.itemId) != nullptr) return;
  items_.push_back(item);
  showFolder(folder_);
}

void WebFileList::updateItem(const ItemSizeUpdate& update) {
  WebItem* item = findItem(update.itemId);
  if (item == nullptr) return;
  item->sizeBytes = update.size;
  item->storedBytes = update.storedBytes;
  item->stamp.day = update.daysKept;
  showFolder(folder_);
}

void WebFileList::shareConfirmed(std::int32_t itemId, char state) {
  if (WebItem* item = findItem(itemId)) {
    item->share = state;
    const char* text = shareText(state);
    if (deps_.view != nullptr)
      deps_.view->setCellText(itemId, kShareColumn, *text ? text : "비공개");
  }
  if (!shares_.empty() && shares_.front().itemId == itemId) {
    shares_.pop_front();
    sendShare();
  }
}

void WebFileList::shareFailed(std::int32_t itemId) {
  // The failed change is dropped, so one failure never stalls the others.
  if (!shares_.empty() && shares_.front().itemId == itemId) {
    shares_.pop_front();
    sendShare();
  }
}

void WebFileList::deleteConfirmed(std::int32_t itemId, bool deleted) {
  if (deleted) {
    const auto at = std::find_if(items_.begin(), items_.end(),
                                 [itemId](const WebItem& item) { return item.itemId == itemId; });
    if (at != items_.end()) {
      items_.erase(at);
      if (deps_.view != nullptr) deps_.view->removeRow(itemId);
    }
  }
  if (!deletes_.empty() && deletes_.front().itemId == itemId) {
    deletes_.pop_front();
    sendDelete();
  }
}

void WebFileList::clearQueues() {
  shares_.clear();
  deletes_.clear();
  combinedTitles_.clear();
}

void WebFileList::editLabel(std::int32_t itemId) {
  if (deps_.view != nullptr && find(itemId) != nullptr) deps_.view->editLabel(itemId);
}

// --- commands ------------------------------------------------------------

void WebFileList::key(WebKey key) {
  switch (key) {
    case WebKey::CtrlD:
      return command(WebListCommand::Download);
    case WebKey::CtrlW:
      return command(WebListCommand::WebLink);
    case WebKey::AltT:
      return command(WebListCommand::Public);
    case WebKey::AltF:
      return command(WebListCommand::Private);
    case WebKey::AltC:
      return command(WebListCommand::Club);
    case WebKey::CtrlN:
      return command(WebListCommand::NewFolder);
    case WebKey::Delete:
      return command(WebListCommand::Delete);
    case WebKey::F2:
      return command(WebListCommand::Rename);
    case WebKey::CtrlX:
      return command(WebListCommand::Cut);
    case WebKey::CtrlV:
      return command(WebListCommand::Paste);
    case WebKey::F5:
      return command(WebListCommand::Refresh);
    case WebKey::CtrlA:
      if (deps_.view != nullptr) deps_.view->selectAll();
      return;
  }
}

void WebFileList::command(WebListCommand command) {
  switch (command) {
    case WebListCommand::Download:
      return download(selection(), "");
    case WebListCommand::WebLink:
      return copyWebLinks(selectedLinkRows());
    case WebListCommand::CombinedLink:
      return requestCombinedLink(selectedLinkRows());
    case WebListCommand::Public:
      return setSharing(sharing::kPublic);
    case WebListCommand::Private:
      return setSharing(sharing::kPrivate);
    case WebListCommand::Club:
      return setSharing(sharing::kClub);
    case WebListCommand::NewFolder:
      return newFolder();
    case WebListCommand::Delete:
      return remove();
    case WebListCommand::Rename:
      return rename();
    case WebListCommand::Cut:
      return cut();
    case WebListCommand::Paste:
      return paste();
    case WebListCommand::Refresh:
      return deps_.host->refreshListing();
    case WebListCommand::PlayBox:
      deps_.dialogs->show("서비스가 준비 중입니다.    ", "확인", MessageIcon::Warning,
                          DialogOwner::MainWindow);
      return;
    case WebListCommand::ExtendTerm:
      return extendTerm();
    case WebListCommand::None:
      return;
  }
}

void WebFileList::download(const std::vector<const WebItem*>& rows, const std::string& into) {
  if (rows.empty()) return;
  if (rows.size() == 1 && rows[0]->isFolder()) {
    deps_.host->openFolder(rows[0]->itemId, rows[0]->ownerId, true, into);
    return;
  }
  for (const WebItem* item : rows) {
    if (!item->isFolder())
      deps_.downloads->addDownloadTo(item->itemId, item->name, item->sizeBytes, into, "");
  }
  deps_.downloads->autoStart();
}

void WebFileList::dropForDownload(bool onTarget) {
  const std::vector<const WebItem*> rows = selection();
  const bool oneFolder = rows.size() == 1 && rows[0]->isFolder();
  if (oneFolder || onTarget) download(rows, "");
}

void WebFileList::dropOnLocalList() {
  download(selection(), deps_.local != nullptr ? deps_.local->shownFolder() : "");
}

void WebFileList::doubleClick() {
  const std::vector<const WebItem*> rows = selection();
  if (rows.empty()) return;
  const WebItem& first = *rows[0];
  if (first.isFolder()) {
    deps_.host->openFolder(first.itemId, first.ownerId, false, "");
  } else {
    deps_.downloads->addDownload(first.itemId, first.name, first.sizeBytes);
    deps_.downloads->autoStart();
  }
}

void WebFileList::rightClick(bool onRow) {
  if (deps_.view == nullptr) return;
  WebMenu menu = WebMenu::None;
  if (ownListing()) {
    menu = WebMenu::OwnList;
  } else if (onRow) {
    menu = WebMenu::FriendList;
  }
  if (menu != WebMenu::None) command(deps_.view->trackMenu(menu));
}

void WebFileList::setSharing(char state) {
  if (!ownListing() || deps_.view == nullptr) return;
  const bool idle = shares_.empty();
  for (const WebItem* item : selection()) {
    if (item->itemId < kFirstOwnItem) continue;
    shares_.push_back(Pending{item->isFolder(), item->itemId, item->parentId, state});
  }
  deps_.view->deselectAll();
  if (idle) sendShare();
}

void WebFileList::sendShare() {
  if (shares_.empty()) return;
  const Pending& head = shares_.front();
  SetSharingRequest request;
  request.parentId = head.parentId;
  request.itemId = head.itemId;
  request.kind = head.folder ? item_kind::kFolder : item_kind::kFile;
  request.sharingState = head.state;
  deps_.session->send(request.encode());
}

void WebFileList::remove() {
  if (deps_.uploads->transferring() || deps_.view == nullptr) return;
  // What is deleted is decided now: the question pumps messages, and a
  // listing that arrives meanwhile must not change it.
  const std::vector<const WebItem*> chosen =
      ownListing() ? selection() : std::vector<const WebItem*>{};
  std::vector<Pending> entries;
  for (const WebItem* item : chosen) {
    if (item->itemId >= kFirstOwnItem)
      entries.push_back(Pending{item->isFolder(), item->itemId, item->parentId, 0});
  }
  const MessageAnswer answer = deps_.dialogs->show(
      "폴더/파일을 삭제 하시겠습니까?\r\n\r\n[위험]삭제한 파일은 복구할수 없습니다.     ",
      "Pomvale", MessageIcon::Warning, DialogOwner::MainWindow, MessageButtons::YesNo);
  if (answer != MessageAnswer::Yes || entries.empty()) return;
  const bool idle = deletes_.empty();
  deletes_.insert(deletes_.end(), entries.begin(), entries.end());
  deps_.view->deselectAll();
  if (idle) sendDelete();
}

void WebFileList::sendDelete() {
  if (deletes_.empty()) return;
  const Pending& head = deletes_.front();
  DeleteItemRequest request;
  request.folderId = head.folder ? head.itemId : head.parentId;
  request.itemId = head.itemId;
  request.kind = head.folder ? item_kind::kFolder : item_kind::kFile;
  deps_.session->send(request.encode());
}

void WebFileList::rename() {
  if (deps_.uploads->transferring() || !ownListing()) return;
  const std::vector<const WebItem*> rows = selection();
  if (!rows.empty()) deps_.view->editLabel(rows[0]->itemId);
}

void WebFileList::endLabelEdit(std::int32_t itemId, const std::optional<std::string>& text) {
  WebItem* item = findItem(itemId);
  if (!text || item == nullptr || !ownListing()) return;
  // An unchanged, empty or blank name is a cancel.
  if (blank(*text) || *text == item->name) return;
  std::string name = item->isFolder() ? cutText(*text, RenameFolderRequest::kMaxName)
                                      : cutText(*text, kFileNameBytes);
  // A folder's name travels with ' , ; as '!': the record, the row and the
  // tree node keep what the server keeps.
  if (item->isFolder()) name = replaceReservedMarks(name);
  // "a,b" typed over "a!b" is the same name on the server: still a cancel.
  if (name == item->name) return;
  const bool duplicate = std::any_of(items_.begin(), items_.end(), [&](const WebItem& other) {
    return other.itemId != itemId && other.name == name;
  });
  if (duplicate) {
    deps_.dialogs->show("폴더명이 동일한 폴더가 존재합니다.     ", "Pomvale", MessageIcon::None,
                        DialogOwner::MainWindow);
    if (deps_.view != nullptr) deps_.view->setCellText(itemId, kNameColumn, item->name);
    return;
  }
  item->name = name;
  if (deps_.view != nullptr) deps_.view->setCellText(itemId, kNameColumn, name);
  if (item->isFolder()) {
    RenameFolderRequest request;
    request.folderId = itemId;
    request.name = name;
    deps_.session->send(request.encode());
    deps_.host->folderRenamed(itemId, name);
  } else {
    RenameFileRequest request;
    request.sessionNumber = static_cast<std::uint16_t>(deps_.session->state().sessionNumber);
    request.fileId = itemId;
    request.parentId = item->parentId;
    request.name = name;
    deps_.session->send(request.encode());
  }
}

void WebFileList::cut() {
  if (!ownListing()) return;
  for (const WebItem* item : selection()) {
    cut_.push_back(Pending{item->isFolder(), item->itemId, item->parentId, 0});
  }
}

void WebFileList::paste() {
  if (!ownListing() || moveTimer_ != 0) return;
  deps_.progress->openMoving();
  if (folder_ > 1) {
    // Files only: folders are never moved. The requests are paced by a
    // timer instead of a wait that would stop the one thread; the target is
    // the folder pasted into, even if another one is opened meanwhile.
    moveTarget_ = folder_;
    for (const Pending& entry : cut_) {
      if (!entry.folder) moves_.push_back(entry);
    }
    cut_.clear();
  }
  moveNext();
}

void WebFileList::moveNext() {
  moveTimer_ = 0;
  if (moves_.empty()) {
    deps_.progress->finish();
    deps_.host->refreshListing();
    return;
  }
  const Pending entry = moves_.front();
  moves_.pop_front();
  MoveFileRequest request;
  request.sessionNumber = static_cast<std::uint16_t>(deps_.session->state().sessionNumber);
  request.fileId = entry.itemId;
  request.fromFolderId = entry.parentId;
  request.toFolderId = moveTarget_;
  deps_.session->send(request.encode());
  moveTimer_ = deps_.loop->postDelayed(kMovePaceMs, [this] { moveNext(); });
}

void WebFileList::newFolder() {
  if (!ownListing()) return;
  deps_.session->send(newFolderRequest(items_, folder_, *deps_.config));
}

void WebFileList::info(const std::string& text, const std::string& caption) {
  deps_.dialogs->show(text, caption, MessageIcon::Warning, DialogOwner::MainWindow);
}

std::vector<LinkRow> WebFileList::selectedLinkRows() {
  std::vector<LinkRow> rows;
  for (const WebItem* item : selection())
    rows.push_back({item->itemId, item->name, item->sizeBytes});
  return rows;
}

void WebFileList::copyWebLinks(const std::vector<LinkRow>& rows) {
  const std::string text = webLinksText(rows, downloadPageUrl(*deps_.servers));
  // "Copied" only when the clipboard really took the text.
  if (deps_.shell->setClipboardText(text)) info("복사되었습니다.     ", "알림");
}

void WebFileList::requestCombinedLink(const std::vector<LinkRow>& rows) {
  // The rows are taken (by the caller) before the title is asked: the dialog
  // pumps messages, and a listing that arrives meanwhile must not change
  // what is linked.
  if (!deps_.memo->show("통합링크 제목 설정", "통합링크명")) return;
  std::string title = deps_.memo->text();
  if (title.empty()) title = "통합링크파일";
  const CombinedLinkChoice choice = chooseCombinedLinkFiles(rows);
  if (choice.tooMany) info("통합링크는 10개까지만 묶을 수 있습니다.     ", "알림");
  if (choice.fileIds.empty()) {
    info("선택목록이 없습니다.     ", "알림");
    return;
  }
  CombinedLinkRequest request;
  request.fileIds = choice.fileIds;
  // The title travels with its request: a memo edit before the answer
  // cannot retitle it.
  combinedTitles_.push_back(title);
  deps_.session->send(request.encode());
}

bool WebFileList::pasteCombinedLink(const std::string& code) {
  std::string title;
  if (!combinedTitles_.empty()) {
    title = combinedTitles_.front();
    combinedTitles_.pop_front();
  } else {
    title = deps_.memo->text();
  }
  return deps_.shell->setClipboardText(
      combinedLinkText(code, title, downloadPageUrl(*deps_.servers)));
}

void WebFileList::combinedLinkFailed() {
  // The refused request's title goes with it, so the next link keeps its own.
  if (!combinedTitles_.empty()) combinedTitles_.pop_front();
}

void WebFileList::extendTerm() {
  // The folder is taken before asking: the question pumps messages.
  const std::vector<const WebItem*> rows = selection();
  const bool eligible =
      ownListing() && !rows.empty() && rows[0]->isFolder() && rows[0]->itemId >= kFirstOwnItem;
  const std::int32_t folderId = eligible ? rows[0]->itemId : 0;
  const MessageAnswer answer =
      deps_.dialogs->show("기한을 연장하시겠습니까?     ", "확인", MessageIcon::Warning,
                          DialogOwner::MainWindow, MessageButtons::OkCancel);
  if (answer != MessageAnswer::Ok || !eligible) return;
  ExtendTermRequest request;
  request.sessionNumber = static_cast<std::uint16_t>(deps_.session->state().sessionNumber);
  request.folderId = folderId;
  deps_.session->send(request.encode());
}

// --- pane ----------------------------------------------------------------

void WebFileList::setVisible(bool visible) {
  shown_ = visible;
  if (deps_.view != nullptr) deps_.view->setVisible(visible);
  place();
}

void WebFileList::grow(int dw, int dh) {
  layout_.grow(dw, dh);
  place();
}

void WebFileList::moveToSplit(int x, int y) {
  layout_.moveToSplit(x, y);
  place();
}

void WebFileList::repaint() {
  upButton_.paint();
}

void WebFileList::mouseMove(int x, int y) {
  upButton_.hoverTest(x, y);
}

void WebFileList::leftDown(int x, int y) {
  upButton_.pressTest(x, y);
}

void WebFileList::leftUp(int x, int y) {
  if (upButton_.clickTest(x, y)) deps_.host->selectParentFolder();
}

}  // namespace pom
