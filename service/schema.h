// The SQLite schema of the local service's store.
//
// One database file, "service.sqlite" in the data directory, holds everything
// but file bodies (those are files "bodies/<item id>" beside it). Texts that
// the client sees (names, memos, display names) are stored as the CP949 bytes
// the wire carries; member ids and passwords are ASCII.
//
// Tables:
//   meta(key, value)                   schema version and seed marker
//   members(id, password, display_name, registration, flat_rate, credit,
//           extension_quota, notes_waiting, max_connections)
//   items(id, owner, parent_id, kind 'd'|'f', name, share, size, stored,
//         unique_code, sample_digest, days_kept, downloads, created_at)
//        folders and files share one id space (ids below 3 are the roots:
//        parent_id 0 means "at the member's top level"); size 0 = folder
//   friends(owner, friend_id, memo)
//   protected_codes(unique_code)       files that may never be made public
//   combined_links(code, owner, file_ids, created_at)
//   peer_reports(id, file_id, member_id, file_size, peer_bytes, completed,
//                flat_rate, reported_at)
//   peer_holders(unique_code, address) peers that hold a copy of a file
#pragma once

namespace pom {
namespace service {

constexpr int kSchemaVersion = 1;

// Statements that create every table and index; safe to run on an existing
// database (CREATE ... IF NOT EXISTS).
extern const char* const kSchemaSql;

}  // namespace service
}  // namespace pom
