#include "service/store.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "service/schema.h"

namespace pom {
namespace service {

// A prepared statement with positional binding and column reads; finalised on
// destruction. Texts are bound as blobs so that CP949 bytes are kept as they are.
class Store::Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  bool ok() const { return stmt_ != nullptr; }

  Statement& bind(const std::string& text) {
    if (stmt_)
      sqlite3_bind_blob(stmt_, ++index_, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT);
    return *this;
  }
  Statement& bindText(const std::string& text) {
    if (stmt_)
      sqlite3_bind_text(stmt_, ++index_, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT);
    return *this;
  }
  Statement& bind(std::int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, ++index_, value);
    return *this;
  }
  Statement& bind(int value) { return bind(static_cast<std::int64_t>(value)); }
  Statement& bind(char value) { return bindText(std::string(1, value)); }

  // One step: true while a row is available.
  bool row() { return stmt_ && sqlite3_step(stmt_) == SQLITE_ROW; }
  // Runs to completion: true when the statement finished without error.
  bool run() {
    if (!stmt_) return false;
    int rc;
    while ((rc = sqlite3_step(stmt_)) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
  }

  std::int64_t integer(int column) const { return sqlite3_column_int64(stmt_, column); }
  std::string text(int column) const {
    const void* data = sqlite3_column_blob(stmt_, column);
    int size = sqlite3_column_bytes(stmt_, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size))
                : std::string();
  }
  char letter(int column) const {
    std::string value = text(column);
    return value.empty() ? '\0' : value[0];
  }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int index_ = 0;
};

namespace {

constexpr const char* kItemColumns =
    "id, owner, parent_id, kind, name, share, size, stored, unique_code, sample_digest, "
    "days_kept, downloads, created_at";

bool makeDirectory(const std::string& path) {
  return ::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST;
}

std::int64_t now() {
  return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace

std::unique_ptr<Store> Store::open(const std::string& dataDir, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return nullptr;
  };
  if (!makeDirectory(dataDir) || !makeDirectory(dataDir + "/bodies"))
    return fail("cannot create " + dataDir);
  std::unique_ptr<Store> store(new Store());
  store->dataDir_ = dataDir;
  std::string path = dataDir + "/service.sqlite";
  if (sqlite3_open(path.c_str(), &store->db_) != SQLITE_OK)
    return fail("cannot open " + path + ": " + sqlite3_errmsg(store->db_));
  sqlite3_busy_timeout(store->db_, 5000);
  // WAL keeps readers (the web side) from blocking the writer; NORMAL sync is
  // durable across a process crash, which is what a restart test needs.
  if (!store->exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;") ||
      !store->exec(kSchemaSql))
    return fail(std::string("cannot create schema: ") + sqlite3_errmsg(store->db_));
  store->setMeta("schema_version", std::to_string(kSchemaVersion));
  return store;
}

Store::~Store() {
  sqlite3_close(db_);
}

bool Store::exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

std::string Store::bodyPath(std::int32_t itemId) const {
  return dataDir_ + "/bodies/" + std::to_string(itemId);
}

bool Store::transaction(const std::function<bool()>& fn) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  if (!exec("BEGIN IMMEDIATE")) return false;
  if (!fn()) {
    exec("ROLLBACK");
    return false;
  }
  return exec("COMMIT");
}

std::optional<std::string> Store::meta(const std::string& key) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT value FROM meta WHERE key = ?");
  st.bindText(key);
  if (!st.row()) return std::nullopt;
  return st.text(0);
}

bool Store::setMeta(const std::string& key, const std::string& value) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "INSERT OR REPLACE INTO meta(key, value) VALUES (?, ?)");
  return st.bindText(key).bindText(value).run();
}

// ---- members

namespace {
constexpr const char* kMemberColumns =
    "id, password, display_name, registration, flat_rate, credit, extension_quota, "
    "notes_waiting, max_connections";
}

bool Store::addMember(const Member& m) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, (std::string("INSERT INTO members(") + kMemberColumns +
                     ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                        .c_str());
  return st.bindText(m.id)
      .bindText(m.password)
      .bind(m.displayName)
      .bindText(m.registration)
      .bind(m.flatRate)
      .bind(m.credit)
      .bind(m.extensionQuota)
      .bind(m.notesWaiting ? 1 : 0)
      .bind(m.maxConnections)
      .run();
}

namespace {
template <typename S>
Member readMember(const S& st) {
  Member m;
  m.id = st.text(0);
  m.password = st.text(1);
  m.displayName = st.text(2);
  m.registration = st.text(3);
  m.flatRate = static_cast<int>(st.integer(4));
  m.credit = st.integer(5);
  m.extensionQuota = st.integer(6);
  m.notesWaiting = st.integer(7) != 0;
  m.maxConnections = static_cast<int>(st.integer(8));
  return m;
}
}  // namespace

std::optional<Member> Store::member(const std::string& id) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               (std::string("SELECT ") + kMemberColumns + " FROM members WHERE id = ?").c_str());
  st.bindText(id);
  if (!st.row()) return std::nullopt;
  return readMember(st);
}

std::optional<Member> Store::authenticate(const std::string& id, const std::string& password) {
  auto m = member(id);
  if (!m || m->password != password) return std::nullopt;
  return m;
}

bool Store::setCredit(const std::string& id, std::int64_t credit) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE members SET credit = ? WHERE id = ?");
  return st.bind(credit).bindText(id).run() && sqlite3_changes(db_) == 1;
}

std::optional<std::int64_t> Store::charge(const std::string& id, std::int64_t amount) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE members SET credit = credit - ? WHERE id = ?");
  if (!st.bind(amount).bindText(id).run() || sqlite3_changes(db_) != 1) return std::nullopt;
  return member(id)->credit;
}

bool Store::setNotesWaiting(const std::string& id, bool waiting) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE members SET notes_waiting = ? WHERE id = ?");
  return st.bind(waiting ? 1 : 0).bindText(id).run();
}

std::vector<Member> Store::members() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               (std::string("SELECT ") + kMemberColumns + " FROM members ORDER BY id").c_str());
  std::vector<Member> all;
  while (st.row()) all.push_back(readMember(st));
  return all;
}

// ---- folders and files

namespace {
template <typename S>
Item readItem(const S& st) {
  Item it;
  it.id = static_cast<std::int32_t>(st.integer(0));
  it.owner = st.text(1);
  it.parentId = static_cast<std::int32_t>(st.integer(2));
  it.kind = st.letter(3);
  it.name = st.text(4);
  it.share = st.letter(5);
  it.size = st.integer(6);
  it.stored = st.integer(7);
  it.uniqueCode = st.text(8);
  it.sampleDigest = st.text(9);
  it.daysKept = static_cast<int>(st.integer(10));
  it.downloads = static_cast<int>(st.integer(11));
  it.createdAt = st.integer(12);
  return it;
}

std::string selectItems(const char* where) {
  return std::string("SELECT ") + kItemColumns + " FROM items WHERE " + where;
}
}  // namespace

std::int32_t Store::addFolder(const std::string& owner, std::int32_t parentId,
                              const std::string& name, char share) {
  Item folder;
  folder.owner = owner;
  folder.parentId = topLevel(parentId);
  folder.kind = 'd';
  folder.name = name;
  folder.share = share;
  return addFile(folder);
}

std::int32_t Store::addFile(const Item& f) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "INSERT INTO items(owner, parent_id, kind, name, share, size, stored, unique_code, "
               "sample_digest, days_kept, downloads, created_at) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  st.bindText(f.owner)
      .bind(static_cast<int>(topLevel(f.parentId)))
      .bind(f.kind)
      .bind(f.name)
      .bind(f.share)
      .bind(f.size)
      .bind(f.stored)
      .bindText(f.uniqueCode)
      .bindText(f.sampleDigest)
      .bind(f.daysKept)
      .bind(f.downloads)
      .bind(f.createdAt ? f.createdAt : now());
  if (!st.run()) return 0;
  return static_cast<std::int32_t>(sqlite3_last_insert_rowid(db_));
}

std::optional<Item> Store::item(std::int32_t id) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, selectItems("id = ?").c_str());
  st.bind(static_cast<int>(id));
  if (!st.row()) return std::nullopt;
  return readItem(st);
}

std::vector<Item> Store::listPage(const std::string& owner, std::int32_t parentId,
                                  std::int32_t afterId, int limit, bool publicOnly) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               selectItems(publicOnly ? "owner = ? AND parent_id = ? AND id > ? AND share = 't' "
                                        "AND (kind = 'd' OR size > 0) ORDER BY id LIMIT ?"
                                      : "owner = ? AND parent_id = ? AND id > ? "
                                        "AND (kind = 'd' OR size > 0) ORDER BY id LIMIT ?")
                   .c_str());
  st.bindText(owner)
      .bind(static_cast<int>(topLevel(parentId)))
      .bind(static_cast<int>(afterId))
      .bind(limit);
  std::vector<Item> page;
  while (st.row()) page.push_back(readItem(st));
  return page;
}

std::vector<Item> Store::filesIn(const std::string& owner, std::int32_t parentId, bool publicOnly) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               selectItems(publicOnly ? "owner = ? AND parent_id = ? AND kind = 'f' AND "
                                        "share = 't' ORDER BY id"
                                      : "owner = ? AND parent_id = ? AND kind = 'f' ORDER BY id")
                   .c_str());
  st.bindText(owner).bind(static_cast<int>(topLevel(parentId)));
  std::vector<Item> files;
  while (st.row()) files.push_back(readItem(st));
  return files;
}

int Store::countChildren(std::int32_t folderId) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT COUNT(*) FROM items WHERE parent_id = ?");
  st.bind(static_cast<int>(folderId));
  return st.row() ? static_cast<int>(st.integer(0)) : 0;
}

std::vector<Item> Store::findByName(const std::string& owner, std::int32_t parentId,
                                    const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, selectItems("owner = ? AND parent_id = ? AND name = ? ORDER BY id").c_str());
  st.bindText(owner).bind(static_cast<int>(topLevel(parentId))).bind(name);
  std::vector<Item> found;
  while (st.row()) found.push_back(readItem(st));
  return found;
}

namespace {
bool changedOne(sqlite3* db, bool ran) {
  return ran && sqlite3_changes(db) == 1;
}
}  // namespace

bool Store::setShare(std::int32_t id, char share) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE items SET share = ? WHERE id = ?");
  return changedOne(db_, st.bind(share).bind(static_cast<int>(id)).run());
}

bool Store::rename(std::int32_t id, const std::string& name) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE items SET name = ? WHERE id = ?");
  return changedOne(db_, st.bind(name).bind(static_cast<int>(id)).run());
}

bool Store::move(std::int32_t id, std::int32_t parentId) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE items SET parent_id = ? WHERE id = ?");
  return changedOne(db_,
                    st.bind(static_cast<int>(topLevel(parentId))).bind(static_cast<int>(id)).run());
}

bool Store::remove(std::int32_t id) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "DELETE FROM items WHERE id = ?");
  if (!changedOne(db_, st.bind(static_cast<int>(id)).run())) return false;
  ::unlink(bodyPath(id).c_str());
  return true;
}

bool Store::setStored(std::int32_t id, std::int64_t stored) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE items SET stored = ? WHERE id = ?");
  return changedOne(db_, st.bind(stored).bind(static_cast<int>(id)).run());
}

bool Store::setFileInfo(std::int32_t id, std::int64_t size, std::int64_t stored, char share,
                        const std::string& uniqueCode, const std::string& sampleDigest) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "UPDATE items SET size = ?, stored = ?, share = ?, unique_code = ?, "
               "sample_digest = ? WHERE id = ?");
  return changedOne(db_, st.bind(size)
                             .bind(stored)
                             .bind(share)
                             .bindText(uniqueCode)
                             .bindText(sampleDigest)
                             .bind(static_cast<int>(id))
                             .run());
}

bool Store::countDownload(std::int32_t id) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE items SET downloads = MIN(downloads + 1, 65535) WHERE id = ?");
  return changedOne(db_, st.bind(static_cast<int>(id)).run());
}

bool Store::extendTerm(std::int32_t folderId, int days) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "UPDATE items SET days_kept = MIN(days_kept + ?, 65535) "
               "WHERE parent_id = ? AND kind = 'f'");
  return st.bind(days).bind(static_cast<int>(folderId)).run();
}

std::int64_t Store::folderBytes(std::int32_t folderId) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT COALESCE(SUM(size), 0) FROM items WHERE parent_id = ? AND kind = 'f'");
  st.bind(static_cast<int>(folderId));
  return st.row() ? st.integer(0) : 0;
}

std::vector<Item> Store::searchPublic(const std::string& keyword, int offset, int limit) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  // LIKE is case-insensitive for ASCII letters only, as the search expects;
  // the keyword's own wildcard characters are escaped.
  std::string pattern = "%";
  for (char c : keyword) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  pattern += "%";
  Statement st(db_, selectItems("kind = 'f' AND share = 't' AND stored >= size AND "
                                "CAST(name AS TEXT) LIKE CAST(? AS TEXT) ESCAPE '\\' "
                                "ORDER BY id LIMIT ? OFFSET ?")
                        .c_str());
  st.bind(pattern).bind(limit).bind(offset);
  std::vector<Item> hits;
  while (st.row()) hits.push_back(readItem(st));
  return hits;
}

std::optional<Item> Store::fileByUniqueCode(const std::string& uniqueCode) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, selectItems("unique_code = ? AND kind = 'f' ORDER BY id LIMIT 1").c_str());
  st.bindText(uniqueCode);
  if (!st.row()) return std::nullopt;
  return readItem(st);
}

// ---- friends

std::vector<Friend> Store::friends(const std::string& owner) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "SELECT f.friend_id, COALESCE(m.display_name, ''), f.memo FROM friends f "
               "LEFT JOIN members m ON m.id = f.friend_id WHERE f.owner = ? ORDER BY f.rowid");
  st.bindText(owner);
  std::vector<Friend> all;
  while (st.row()) all.push_back(Friend{st.text(0), st.text(1), st.text(2)});
  return all;
}

bool Store::isFriend(const std::string& owner, const std::string& friendId) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT 1 FROM friends WHERE owner = ? AND friend_id = ?");
  return st.bindText(owner).bindText(friendId).row();
}

bool Store::addFriend(const std::string& owner, const std::string& friendId,
                      const std::string& memo) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "INSERT INTO friends(owner, friend_id, memo) VALUES (?, ?, ?)");
  return st.bindText(owner).bindText(friendId).bind(memo).run();
}

bool Store::removeFriend(const std::string& owner, const std::string& friendId) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "DELETE FROM friends WHERE owner = ? AND friend_id = ?");
  return changedOne(db_, st.bindText(owner).bindText(friendId).run());
}

bool Store::setMemo(const std::string& owner, const std::string& friendId,
                    const std::string& memo) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "UPDATE friends SET memo = ? WHERE owner = ? AND friend_id = ?");
  return changedOne(db_, st.bind(memo).bindText(owner).bindText(friendId).run());
}

// ---- protected list, combined links, peer reports, peer holders

bool Store::isProtected(const std::string& uniqueCode) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT 1 FROM protected_codes WHERE unique_code = ?");
  return st.bindText(uniqueCode).row();
}

bool Store::addProtected(const std::string& uniqueCode) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "INSERT OR IGNORE INTO protected_codes(unique_code) VALUES (?)");
  return st.bindText(uniqueCode).run();
}

bool Store::addCombinedLink(const std::string& code, const std::string& owner,
                            const std::string& fileIds) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "INSERT INTO combined_links(code, owner, file_ids, created_at) VALUES (?, ?, ?, ?)");
  return st.bindText(code).bindText(owner).bindText(fileIds).bind(now()).run();
}

std::optional<std::string> Store::combinedLinkFiles(const std::string& code) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT file_ids FROM combined_links WHERE code = ?");
  st.bindText(code);
  if (!st.row()) return std::nullopt;
  return st.text(0);
}

bool Store::addPeerReport(const PeerReportRecord& r) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "INSERT INTO peer_reports(file_id, member_id, file_size, peer_bytes, completed, "
               "flat_rate, reported_at) VALUES (?, ?, ?, ?, ?, ?, ?)");
  return st.bind(static_cast<int>(r.fileId))
      .bindText(r.memberId)
      .bind(r.fileSize)
      .bind(r.peerBytes)
      .bind(r.completed ? 1 : 0)
      .bind(r.flatRate)
      .bind(now())
      .run();
}

std::vector<PeerReportRecord> Store::peerReports() {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_,
               "SELECT file_id, member_id, file_size, peer_bytes, completed, flat_rate "
               "FROM peer_reports ORDER BY id");
  std::vector<PeerReportRecord> all;
  while (st.row()) {
    all.push_back(PeerReportRecord{static_cast<std::int32_t>(st.integer(0)), st.text(1),
                                   st.integer(2), st.integer(3), st.integer(4) != 0,
                                   static_cast<int>(st.integer(5))});
  }
  return all;
}

bool Store::addPeerHolder(const std::string& uniqueCode, const std::string& address) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "INSERT OR IGNORE INTO peer_holders(unique_code, address) VALUES (?, ?)");
  return st.bindText(uniqueCode).bindText(address).run();
}

std::vector<std::string> Store::peerHolders(const std::string& uniqueCode) {
  std::lock_guard<std::recursive_mutex> lock(mutex_);
  Statement st(db_, "SELECT address FROM peer_holders WHERE unique_code = ? ORDER BY address");
  st.bindText(uniqueCode);
  std::vector<std::string> all;
  while (st.row()) all.push_back(st.text(0));
  return all;
}

}  // namespace service
}  // namespace pom
