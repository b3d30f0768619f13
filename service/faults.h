// Faults: the switches tests use to provoke the client's failure branches.
//
// A switch is a key with a text value and a use count. Switches are set from
// the command line (--fault key=value[*count]) or at run time through the
// control endpoint ("set key value [count]"). A count of -1 means "until
// cleared"; a positive count is decremented by every consume() and the switch
// disappears at zero, so "set login_result 100 1" affects the next login only.
//
// Keys understood by the service (values are decimal unless said otherwise):
//   login_result N            LoginReply result code instead of the real verdict
//   notice TEXT               ServerNotice text (UTF-8 on the control line); sent
//                             at once to every logged-in session and after each login
//   drop_login_after N        close a login connection after N bytes sent to it
//   drop_logins 1             reset every login connection at once (within
//                             100 ms), as a server restart would; the value
//                             is not read, each use drops them once
//   drop_download_after N     close a download session after N bytes sent
//   drop_upload_after N       close an upload session after N data bytes received
//   download_ticket_result N  DownloadTicket result (255 unavailable, 1 payment, ...)
//   upload_ticket_result N    UploadTicket result (anything but 0/255 refuses)
//   credit_shortage force|soft  the next download sends CreditShortage after its
//                             first data message (force flag 1 or 0) and stops
//   download_refuse type|flag the next download is refused with FileRefused
//                             (type) or with the refusal flag of DownloadAccept
//   upload_accept_result N    UploadAccept result (255 restart, other refuses)
//   upload_chunk_size N       the chunk size UploadAccept grants to upload
//                             sessions that connect while it is set (default
//                             1048576; N may be 0, negative or above what a
//                             client can send, to provoke its checks). A
//                             session takes chunks of up to the size it
//                             granted, and of at most 4 MiB (kMaxBufferedChunk,
//                             storage_sessions.h); anything larger, and any
//                             chunk under a grant of 0 or less, closes it
//   upload_no_ack 1           the next accepted upload session stores its
//                             chunks but never sends ChunkAck (UploadDone
//                             still follows once every byte is held)
//   upload_early_done 1       the next accepted upload session answers its
//                             first chunk with UploadDone (result 0) although
//                             bytes are missing; the file stays incomplete
//   upload_done_result N      the next UploadDone carries result N (2: digest
//                             mismatch). For anything but 0 and 1 the bytes
//                             are discarded as for a real mismatch, so the
//                             file is not complete; 0 and 1 store it as usual
//   upload_ticket_sizes SIZE,HELD  the next UploadTicket says result 0 with
//                             this file size and held count, naming the
//                             first file record of the requested name in the
//                             folder (a new record when there is none). Only
//                             the ticket says so: the store keeps what it
//                             holds, and no session is expected when HELD
//                             equals SIZE. A HELD above SIZE marks the record
//                             (heldBeyondSize): the storage server refuses an
//                             UploadRequest for it (UploadAccept result 1,
//                             then it closes) until clearAll()
//
// Peer switches take "N" for every peer or "N@P" for one peer only, P being
// its number (1 for the first peer host, 127.0.0.11) or its address; a peer
// the selector does not name leaves the switch alone. Each is used once per
// connection that it applies to.
//   peer_stall 1              the peer reads the header and sends nothing
//   peer_rate N               the peer sends at most N bytes per second
//   download_rate N           download sessions that start while it is set
//                             send at most N data bytes per second (so a
//                             transfer can be watched, stopped and resumed)
//   peer_corrupt N            answer bytes from the N-th on (0 = all) are inverted
//   peer_close_after N        the peer closes after N bytes of its answer
//   peer_list MODE            the peer-list reply: hang (the address of a
//                             listener that never answers a connect, then the
//                             holders), hang_only, bad (malformed entries,
//                             then the holders), bad_only, 404, 500, cut (a
//                             Content-Length larger than the body that is sent
//                             before the connection closes)
//   keepalive_ms N            interval of KeepAlive messages (default 30000)
//
// Result switches of the web-storage replies: the number replaces the result
// byte the reply would carry. A non-zero value also leaves the store as it
// was (the request is refused); 0 does the real work and reports success
// whatever the real verdict was.
//   add_friend_result N       AddFriendReply (type 4; 2 no such id, 3 already
//                             a friend, 4 own id, other failure)
//   remove_friend_result N    RemoveFriendReply (type 5)
//   edit_memo_result N        EditMemoReply (type 6)
//   sharing_result N          SetSharingReply (type 14; 3 protected file)
//   delete_result N           DeleteItemReply (type 15)
//   rename_result N           RenameFileReply (type 17). A folder rename
//                             (type 16) has no reply in the protocol and is
//                             not affected.
//   extend_term_result N      ExtendTermReply (type 25; 2 not eligible, 4
//                             capacity exceeded, other: try again later)
//   combined_link_result N    CombinedLinkReply (type 26)
//   folder_created_byte152 N  byte 152 of FolderCreated (0, the default: the
//                             client starts editing the new folder's name);
//                             the folder is created as usual
//
// Switches of the HTTP side (update files, advertisement line, searches, peer
// list, web pages):
//   http_fault MODE[@PATH]    the next answer on PATH ("/UpdateFiles/CverChk.dat";
//                             every route when no PATH is given) is spoilt:
//                             404 or 500 (an error page instead), cut (the
//                             real Content-Length, then half the body and the
//                             connection closes), long (the real
//                             Content-Length followed by more bytes than it
//                             says), stall (nothing for http_stall_ms, then
//                             the real answer), dribble (the head at once,
//                             then one body byte every http_dribble_ms). A
//                             refused connection needs no switch: point the
//                             client at a closed loopback port
//   http_stall_ms N           wait of "stall" (default 10000)
//   http_dribble_ms N         gap between the bytes of "dribble" (default 500)
//   update_uver TEXT          body of "/UpdateFiles/UverChk.dat" instead of the
//                             configured updater version
//   update_cver TEXT          body of "/UpdateFiles/CverChk.dat" instead of the
//                             configured client version
//   update_updater_path PATH  the program file served as
//                             "/UpdateFiles/PomUpdater.exe", read at each
//                             request (e.g. the win64 build's updater)
//   update_client_path PATH   the program file served as
//                             "/UpdateFiles/Pomvale.exe" (the new client the
//                             updater installs); 404 when unset or unreadable
//   search_page_size N        hits per page of both searches (default
//                             kSearchPageSize, web_search.h; 1..100000)
//
// Thread safety: every member takes the internal mutex; the login and storage
// servers, the web side and the control endpoint share one instance.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pom {
namespace service {

class Faults {
 public:
  // Sets a switch; false (with a reason) for an unknown key or a bad value.
  bool set(const std::string& key, const std::string& value, int count = -1,
           std::string* error = nullptr);
  // Parses "key=value" or "key=value*count" (the command-line form).
  bool setFromArgument(const std::string& argument, std::string* error = nullptr);
  void clear(const std::string& key);
  void clearAll();

  // The current value without using it up.
  std::optional<std::string> peek(const std::string& key) const;
  // The current value, counting one use.
  std::optional<std::string> consume(const std::string& key);
  // Integer forms of the above (nullopt when unset or not a number).
  std::optional<long long> peekInt(const std::string& key) const;
  std::optional<long long> consumeInt(const std::string& key);
  // "A,B" switches (upload_ticket_sizes), counting one use.
  std::optional<std::pair<long long, long long>> consumeIntPair(const std::string& key);
  // A peer switch ("N" or "N@P", see above) when it applies to the peer with
  // this number (1-based) and address, counting one use; nullopt otherwise.
  std::optional<long long> consumeForPeer(const std::string& key, int peerNumber,
                                          const std::string& host);
  // A route switch ("MODE" or "MODE@PATH", see http_fault) when it applies to
  // this request path, counting one use; nullopt otherwise.
  std::optional<std::string> consumeForPath(const std::string& key, const std::string& path);

  // Files an UploadTicket of upload_ticket_sizes said the service holds
  // more of than their size: uploads to them are refused until clearAll().
  void markHeldBeyondSize(std::int32_t fileId);
  bool heldBeyondSize(std::int32_t fileId) const;

  // "key=value*count" lines, sorted by key.
  std::vector<std::string> describe() const;

  static bool knownKey(const std::string& key);

 private:
  struct Switch {
    std::string value;
    int remaining = -1;
  };
  mutable std::mutex mutex_;
  std::map<std::string, Switch> switches_;
  std::set<std::int32_t> heldBeyondSize_;
};

}  // namespace service
}  // namespace pom
