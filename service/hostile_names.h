// Hostile names: the names a file may carry on the service that a client
// must never turn into a local path as they stand.
//
// The "hostile_name" switch (faults.h) takes "KIND@ID": file ID is then
// served under the name of that kind wherever the service names it (folder
// listings of its owner and of friends, folder content, search results) and
// its download ticket's server path becomes "<id>/<name>". The stored record
// keeps its real name. Kinds:
//   dotdot  "..\x"          drive   "C:\x"          unc    "\\host\x"
//   con     "CON"           slash   "a/b"           dot    "x." (trailing dot)
//   blank   "x " (trailing blank)
//   long    300 bytes: 148 times "긴" (CP949, 2 bytes each) then ".txt"
// A listing entry's name length is 16 bits, so the whole 300 bytes travel;
// what the client keeps of them is bounded by its own name field. The
// ticket's server path field holds 255 bytes, so a long name arrives cut
// there, and the storage server expects the cut form back.
//
// Stateless; any thread.
#pragma once

#include <optional>
#include <string>
#include <utility>

#include "service/faults.h"
#include "service/store.h"

namespace pom {
namespace service {

// The name of a kind (CP949), nullopt for an unknown kind.
std::optional<std::string> hostileName(const std::string& kind);
// "dotdot|drive|..." for messages.
std::string hostileNameKinds();
// The kind and file id of a switch value "KIND@ID".
std::optional<std::pair<std::string, std::int32_t>> parseHostileSwitch(const std::string& value);

// The name the service shows for an item: the hostile one while the switch
// names this item, else its own.
std::string servedName(const Faults& faults, const Item& item);

}  // namespace service
}  // namespace pom
