#include "service/schema.h"

namespace pom {
namespace service {

const char* const kSchemaSql = R"sql(
CREATE TABLE IF NOT EXISTS meta (
  key   TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS members (
  id              TEXT PRIMARY KEY,
  password        TEXT NOT NULL,
  display_name    BLOB NOT NULL DEFAULT '',
  registration    TEXT NOT NULL DEFAULT '',
  flat_rate       INTEGER NOT NULL DEFAULT 0,
  credit          INTEGER NOT NULL DEFAULT 0,
  extension_quota INTEGER NOT NULL DEFAULT 0,
  notes_waiting   INTEGER NOT NULL DEFAULT 0,
  max_connections INTEGER NOT NULL DEFAULT 2
);
CREATE TABLE IF NOT EXISTS items (
  id            INTEGER PRIMARY KEY AUTOINCREMENT,
  owner         TEXT NOT NULL REFERENCES members(id),
  parent_id     INTEGER NOT NULL DEFAULT 0,
  kind          TEXT NOT NULL CHECK (kind IN ('d', 'f')),
  name          BLOB NOT NULL,
  share         TEXT NOT NULL DEFAULT 'f',
  size          INTEGER NOT NULL DEFAULT 0,
  stored        INTEGER NOT NULL DEFAULT 0,
  unique_code   TEXT NOT NULL DEFAULT '',
  sample_digest TEXT NOT NULL DEFAULT '',
  days_kept     INTEGER NOT NULL DEFAULT 30,
  downloads     INTEGER NOT NULL DEFAULT 0,
  created_at    INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS items_by_parent ON items(owner, parent_id, id);
CREATE INDEX IF NOT EXISTS items_by_code ON items(unique_code);
CREATE TABLE IF NOT EXISTS friends (
  owner     TEXT NOT NULL,
  friend_id TEXT NOT NULL,
  memo      BLOB NOT NULL DEFAULT '',
  PRIMARY KEY (owner, friend_id)
);
CREATE TABLE IF NOT EXISTS protected_codes (
  unique_code TEXT PRIMARY KEY
);
CREATE TABLE IF NOT EXISTS combined_links (
  code       TEXT PRIMARY KEY,
  owner      TEXT NOT NULL,
  file_ids   TEXT NOT NULL,
  created_at INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS peer_reports (
  id          INTEGER PRIMARY KEY AUTOINCREMENT,
  file_id     INTEGER NOT NULL,
  member_id   TEXT NOT NULL,
  file_size   INTEGER NOT NULL,
  peer_bytes  INTEGER NOT NULL,
  completed   INTEGER NOT NULL,
  flat_rate   INTEGER NOT NULL,
  reported_at INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS peer_holders (
  unique_code TEXT NOT NULL,
  address     TEXT NOT NULL,
  PRIMARY KEY (unique_code, address)
);
-- Folder and file ids start above the reserved root ids 0..2.
INSERT OR IGNORE INTO sqlite_sequence(name, seq)
  SELECT 'items', 99 WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = 'items');
)sql";

}  // namespace service
}  // namespace pom
