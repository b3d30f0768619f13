// Store: the local service's persistent state (SQLite) and file bodies.
//
// A data directory holds "service.sqlite" (schema in schema.h) and
// "bodies/<item id>", one file per stored file body, exactly the bytes the
// service holds (its length is the item's `stored` count). Both survive a
// restart.
//
// Texts that travel to the client (names, memos, display names) are CP949
// bytes in std::string. Member ids and passwords are ASCII.
//
// Thread safety: one connection, guarded by a recursive mutex taken by every
// member, so the poll-loop thread (login and storage servers) and the web
// threads may share one Store. transaction() holds the mutex for its whole
// callback, so a batch of calls is atomic and runs in one SQLite transaction.
//
// Folder ids 0, 1 and 2 are the member's top level: parent_id 0 in the table.
// Use topLevel() to map a folder id from the wire onto a parent_id.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace pom {
namespace service {

struct Member {
  std::string id;
  std::string password;
  std::string displayName;   // CP949
  std::string registration;  // 13 digits
  int flatRate = 0;          // 0 = none; 1..4 flat-rate classes
  std::int64_t credit = 0;
  std::int64_t extensionQuota = 0;  // bytes a term extension may cover
  bool notesWaiting = false;
  int maxConnections = 2;  // simultaneous logins allowed to a flat-rate member
};

struct Item {
  std::int32_t id = 0;
  std::string owner;
  std::int32_t parentId = 0;
  char kind = 'f';           // 'd' folder, 'f' file
  std::string name;          // CP949
  char share = 'f';          // 't', 'f', 'c', 'b', 's'
  std::int64_t size = 0;     // 0 for folders
  std::int64_t stored = 0;   // bytes held in the body file
  std::string uniqueCode;    // 32 lowercase hex digits (files)
  std::string sampleDigest;  // 32 lowercase hex digits (files)
  int daysKept = 30;
  int downloads = 0;
  std::int64_t createdAt = 0;  // seconds since 1970, UTC

  bool isFolder() const { return kind == 'd'; }
  bool complete() const { return stored >= size; }
};

struct Friend {
  std::string friendId;
  std::string displayName;  // CP949
  std::string memo;         // CP949
};

struct PeerReportRecord {
  std::int32_t fileId = 0;
  std::string memberId;
  std::int64_t fileSize = 0;
  std::int64_t peerBytes = 0;
  bool completed = false;
  int flatRate = 0;
};

class Store {
 public:
  // Opens (creating when needed) the database and the bodies folder.
  // nullptr with a reason on failure.
  static std::unique_ptr<Store> open(const std::string& dataDir, std::string* error);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  const std::string& dataDir() const { return dataDir_; }
  // Path of an item's body file.
  std::string bodyPath(std::int32_t itemId) const;

  // Runs fn under the lock inside BEGIN/COMMIT (ROLLBACK when fn returns false).
  bool transaction(const std::function<bool()>& fn);

  // Key/value pairs of the meta table (seed marker and the like).
  std::optional<std::string> meta(const std::string& key);
  bool setMeta(const std::string& key, const std::string& value);

  // ---- members
  bool addMember(const Member& member);
  std::optional<Member> member(const std::string& id);
  // The member when id and password match, else nullopt.
  std::optional<Member> authenticate(const std::string& id, const std::string& password);
  bool setCredit(const std::string& id, std::int64_t credit);
  // Subtracts amount (may go below zero); the new balance, nullopt for an unknown id.
  std::optional<std::int64_t> charge(const std::string& id, std::int64_t amount);
  bool setNotesWaiting(const std::string& id, bool waiting);
  std::vector<Member> members();

  // ---- folders and files
  static std::int32_t topLevel(std::int32_t folderId) { return folderId < 3 ? 0 : folderId; }
  std::int32_t addFolder(const std::string& owner, std::int32_t parentId, const std::string& name,
                         char share);
  // Adds a file record (the body is written separately). Returns its id, 0 on failure.
  std::int32_t addFile(const Item& file);
  std::optional<Item> item(std::int32_t id);
  // Items of owner directly in parent with id > afterId, ascending id, at most limit.
  // publicOnly keeps items shared 't' only. File records whose upload has not yet
  // announced a size are left out (a size of 0 would make them look like folders).
  std::vector<Item> listPage(const std::string& owner, std::int32_t parentId, std::int32_t afterId,
                             int limit, bool publicOnly);
  // Files of owner directly in parent (publicOnly as above), ascending id.
  std::vector<Item> filesIn(const std::string& owner, std::int32_t parentId, bool publicOnly);
  int countChildren(std::int32_t folderId);
  // Items with this name directly in parent.
  std::vector<Item> findByName(const std::string& owner, std::int32_t parentId,
                               const std::string& name);
  bool setShare(std::int32_t id, char share);
  bool rename(std::int32_t id, const std::string& name);
  bool move(std::int32_t id, std::int32_t parentId);
  // Deletes the record and its body file.
  bool remove(std::int32_t id);
  bool setStored(std::int32_t id, std::int64_t stored);
  bool setFileInfo(std::int32_t id, std::int64_t size, std::int64_t stored, char share,
                   const std::string& uniqueCode, const std::string& sampleDigest);
  bool countDownload(std::int32_t id);
  // Adds days to days_kept of every file directly in the folder.
  bool extendTerm(std::int32_t folderId, int days);
  // Sum of file sizes directly in the folder.
  std::int64_t folderBytes(std::int32_t folderId);
  // Public, complete files whose name contains keyword (ASCII case-insensitive),
  // ascending id, after skipping offset matches.
  std::vector<Item> searchPublic(const std::string& keyword, int offset, int limit);
  std::optional<Item> fileByUniqueCode(const std::string& uniqueCode);

  // ---- friends
  std::vector<Friend> friends(const std::string& owner);
  bool isFriend(const std::string& owner, const std::string& friendId);
  bool addFriend(const std::string& owner, const std::string& friendId, const std::string& memo);
  bool removeFriend(const std::string& owner, const std::string& friendId);
  bool setMemo(const std::string& owner, const std::string& friendId, const std::string& memo);

  // ---- protected list, combined links, peer reports, peer holders
  bool isProtected(const std::string& uniqueCode);
  bool addProtected(const std::string& uniqueCode);
  bool addCombinedLink(const std::string& code, const std::string& owner,
                       const std::string& fileIds);
  std::optional<std::string> combinedLinkFiles(const std::string& code);
  bool addPeerReport(const PeerReportRecord& report);
  std::vector<PeerReportRecord> peerReports();
  bool addPeerHolder(const std::string& uniqueCode, const std::string& address);
  std::vector<std::string> peerHolders(const std::string& uniqueCode);

 private:
  Store() = default;
  class Statement;
  bool exec(const char* sql);

  std::string dataDir_;
  sqlite3* db_ = nullptr;
  std::recursive_mutex mutex_;
};

}  // namespace service
}  // namespace pom
