#include "service/request_log.h"

#include <array>
#include <nlohmann/json.hpp>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/net/messages/messages.h"
#include "core/ports/text_codec.h"

namespace pom {
namespace service {

namespace {

using Json = nlohmann::ordered_json;

// The catalogue name and the field names of each request, in the order of
// its tie(); a static_assert below keeps the two the same length, and a
// request added to LoginServerRequests without an entry here does not compile.
template <typename Request>
struct Described;

template <>
struct Described<LoginRequest> {
  static constexpr const char* kName = "LoginRequest";
  static constexpr std::array kFields{"memberId", "password"};
};
template <>
struct Described<FriendListRequest> {
  static constexpr const char* kName = "FriendListRequest";
  static constexpr std::array<const char*, 0> kFields{};
};
template <>
struct Described<FolderListRequest> {
  static constexpr const char* kName = "FolderListRequest";
  static constexpr std::array kFields{"folderId", "lastEntryId", "continuation"};
};
template <>
struct Described<MemberFolderListRequest> {
  static constexpr const char* kName = "MemberFolderListRequest";
  static constexpr std::array kFields{"friendId", "folderId", "lastEntryId", "continuation"};
};
template <>
struct Described<AddFriendRequest> {
  static constexpr const char* kName = "AddFriendRequest";
  static constexpr std::array kFields{"friendId", "memo"};
};
template <>
struct Described<RemoveFriendRequest> {
  static constexpr const char* kName = "RemoveFriendRequest";
  static constexpr std::array kFields{"friendId"};
};
template <>
struct Described<EditMemoRequest> {
  static constexpr const char* kName = "EditMemoRequest";
  static constexpr std::array kFields{"memberId", "friendId", "memo"};
};
template <>
struct Described<CreateFolderRequest> {
  static constexpr const char* kName = "CreateFolderRequest";
  static constexpr std::array kFields{"name", "parentId", "pendingIndex", "sharingState",
                                      "forUpload"};
};
template <>
struct Described<UploadFinished> {
  static constexpr const char* kName = "UploadFinished";
  static constexpr std::array kFields{"value", "result"};
};
template <>
struct Described<UploadTicketRequest> {
  static constexpr const char* kName = "UploadTicketRequest";
  static constexpr std::array kFields{"uploadRow", "fileName", "folderId"};
};
template <>
struct Described<DownloadTicketRequest> {
  static constexpr const char* kName = "DownloadTicketRequest";
  static constexpr std::array kFields{"fileId", "missingBytes"};
};
template <>
struct Described<SetSharingRequest> {
  static constexpr const char* kName = "SetSharingRequest";
  static constexpr std::array kFields{"parentId", "itemId", "kind", "sharingState"};
};
template <>
struct Described<DeleteItemRequest> {
  static constexpr const char* kName = "DeleteItemRequest";
  static constexpr std::array kFields{"folderId", "itemId", "kind"};
};
template <>
struct Described<RenameFolderRequest> {
  static constexpr const char* kName = "RenameFolderRequest";
  static constexpr std::array kFields{"folderId", "name"};
};
template <>
struct Described<RenameFileRequest> {
  static constexpr const char* kName = "RenameFileRequest";
  static constexpr std::array kFields{"sessionNumber", "fileId", "parentId", "name"};
};
template <>
struct Described<MoveFileRequest> {
  static constexpr const char* kName = "MoveFileRequest";
  static constexpr std::array kFields{"sessionNumber", "fileId", "fromFolderId", "toFolderId"};
};
template <>
struct Described<FolderContentRequest> {
  static constexpr const char* kName = "FolderContentRequest";
  static constexpr std::array kFields{"ownerId", "folderId"};
};
template <>
struct Described<TransferEnded> {
  static constexpr const char* kName = "TransferEnded";
  static constexpr std::array<const char*, 0> kFields{};
};
template <>
struct Described<ExtendTermRequest> {
  static constexpr const char* kName = "ExtendTermRequest";
  static constexpr std::array kFields{"sessionNumber", "folderId"};
};
template <>
struct Described<CombinedLinkRequest> {
  static constexpr const char* kName = "CombinedLinkRequest";
  static constexpr std::array kFields{"fileIds"};
};
template <>
struct Described<NoteCheckRequest> {
  static constexpr const char* kName = "NoteCheckRequest";
  static constexpr std::array<const char*, 0> kFields{};
};
template <>
struct Described<PeerReport> {
  static constexpr const char* kName = "PeerReport";
  static constexpr std::array kFields{"sessionNumber", "fileId",    "memberId", "totalSize",
                                      "peerBytes",     "completed", "flatRate"};
};

// Field values: texts are CP949 on the wire and UTF-8 in the log.
Json valueOf(const std::string& text) {
  return cp949ToUtf8(text);
}
Json valueOf(char code) {
  return std::string(1, code);
}
Json valueOf(bool flag) {
  return flag;
}
Json valueOf(const std::vector<std::int32_t>& ids) {
  return ids;
}
template <typename Number, typename = std::enable_if_t<std::is_arithmetic_v<Number>>>
Json valueOf(Number number) {
  return number;
}

template <typename Request, std::size_t... I>
Json fieldsOf(const Request& request, std::index_sequence<I...>) {
  constexpr auto& names = Described<Request>::kFields;
  static_assert(names.size() == sizeof...(I), "one name per field of tie()");
  Json fields = Json::object();
  [[maybe_unused]] auto values = request.tie();
  ((fields[names[I]] = valueOf(std::get<I>(values))), ...);
  if constexpr (std::is_same_v<Request, LoginRequest>) fields["password"] = "***";
  return fields;
}

template <typename Request>
Json fieldsOf(const Request& request) {
  return fieldsOf(request, std::make_index_sequence<std::tuple_size_v<decltype(request.tie())>>{});
}

// Finds the request type of the body among LoginServerRequests and describes it.
template <std::size_t I = 0>
bool describe(std::int32_t type, const std::uint8_t* body, std::size_t length, Json& line) {
  if constexpr (I == std::tuple_size_v<LoginServerRequests>) {
    return false;
  } else {
    using Request = std::tuple_element_t<I, LoginServerRequests>;
    if (type != static_cast<std::int32_t>(Request::kType))
      return describe<I + 1>(type, body, length, line);
    line["name"] = Described<Request>::kName;
    if (auto request = Request::decode(body, length)) {
      line["fields"] = fieldsOf(*request);
    } else if (length == Request::kSize) {
      line["fields"] = Json::object();
      line["malformed"] = true;
    } else {
      return false;
    }
    return true;
  }
}

}  // namespace

RequestLog::~RequestLog() {
  close();
}

bool RequestLog::open(const std::string& dataDir, std::string* error) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  std::string path = dataDir + "/" + kFileName;
  file_ = std::fopen(path.c_str(), "ae");
  if (!file_ && error) *error = "cannot open " + path;
  return file_ != nullptr;
}

void RequestLog::close() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

std::string RequestLog::lineFor(const std::string& memberId, const std::uint8_t* body,
                                std::size_t length) {
  auto type = bodyType(body, length);
  if (!type) return std::string();
  Json line = Json::object();
  line["member"] = cp949ToUtf8(memberId);
  line["type"] = *type;
  if (!describe(*type, body, length, line)) return std::string();
  // Every text went through the codec, so the replacement never shows; it
  // keeps a stray byte from throwing.
  return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void RequestLog::record(const std::string& memberId, const std::uint8_t* body, std::size_t length) {
  append(lineFor(memberId, body, length));
}

void RequestLog::recordDownloadRequest(const DownloadRequest& request) {
  Json line = Json::object();
  line["member"] = cp949ToUtf8(request.memberId);
  line["server"] = "storage";
  line["type"] = static_cast<int>(DownloadRequest::kType);
  line["name"] = "DownloadRequest";
  Json fields = Json::object();
  fields["sessionNumber"] = request.sessionNumber;
  fields["fileId"] = request.fileId;
  fields["memberId"] = cp949ToUtf8(request.memberId);
  fields["password"] = "***";
  fields["path"] = cp949ToUtf8(request.path);
  fields["offset"] = request.offset;
  line["fields"] = std::move(fields);
  append(line.dump(-1, ' ', false, Json::error_handler_t::replace));
}

namespace {

Json storageLine(const std::string& memberId, UploadRequestType type, const char* name) {
  Json line = Json::object();
  line["member"] = cp949ToUtf8(memberId);
  line["server"] = "storage";
  line["type"] = static_cast<int>(type);
  line["name"] = name;
  return line;
}

std::string dumped(const Json& line) {
  return line.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace

void RequestLog::recordUploadRequest(const UploadRequest& request) {
  Json line = storageLine(request.memberId, UploadRequest::kType, "UploadRequest");
  Json fields = Json::object();
  fields["sessionNumber"] = request.sessionNumber;
  fields["serverFileId"] = request.serverFileId;
  fields["folderId"] = request.folderId;
  fields["memberId"] = cp949ToUtf8(request.memberId);
  fields["subFolder"] = cp949ToUtf8(request.subFolder);
  fields["fileName"] = cp949ToUtf8(request.fileName);
  fields["totalSize"] = request.totalSize;
  fields["offset"] = request.offset;
  fields["sharingLetter"] = std::string(1, request.sharingLetter);
  fields["sampleDigest"] = digestToHex(request.sampleDigest);
  line["fields"] = std::move(fields);
  append(dumped(line));
}

void RequestLog::recordFileChunk(const std::string& memberId, std::size_t size, std::int64_t offset,
                                 bool beforeAck) {
  // Two short lines at most per chunk: a large upload logs one line per
  // chunk and never its data.
  Json line = storageLine(memberId, FileChunk::kType, "FileChunk");
  line["fields"] = Json{{"size", size}, {"offset", offset}};
  std::string text = dumped(line);
  if (beforeAck) {
    line["name"] = "ChunkBeforeAck";
    text += '\n' + dumped(line);
  }
  append(std::move(text));
}

void RequestLog::recordUploadCancel(const std::string& memberId, std::int32_t serverFileId,
                                    std::int64_t offset) {
  Json line = storageLine(memberId, UploadCancel::kType, "UploadCancel");
  line["fields"] = Json{{"serverFileId", serverFileId}, {"offset", offset}};
  append(dumped(line));
}

void RequestLog::recordPeerHeader(const PeerHeaderEntry& entry) {
  Json line = Json::object();
  line["member"] = "";
  line["server"] = "peer";
  line["peer"] = entry.peer;
  line["name"] = "PeerHeader";
  Json fields = Json::object();
  if (!entry.malformed) {
    fields["checksum"] = cp949ToUtf8(entry.checksum);
    fields["totalSize"] = entry.totalSize;
    fields["offset"] = entry.offset;
  }
  line["fields"] = std::move(fields);
  if (entry.malformed) line["malformed"] = true;
  append(line.dump(-1, ' ', false, Json::error_handler_t::replace));
}

void RequestLog::recordSearch(const SearchLogEntry& entry) {
  static const char kHex[] = "0123456789abcdef";
  std::string hex;
  for (const char c : entry.keyword) {
    hex += kHex[static_cast<unsigned char>(c) >> 4];
    hex += kHex[static_cast<unsigned char>(c) & 0x0F];
  }
  Json line = Json::object();
  line["member"] = cp949ToUtf8(entry.memberId);
  line["server"] = "search";
  line["name"] = "SearchRequest";
  line["fields"] = Json{{"kind", entry.natural ? "natural" : "normal"},
                        {"keyword", cp949ToUtf8(entry.keyword)},
                        {"keywordHex", hex},
                        {"page", entry.page},
                        {"hits", entry.hits},
                        {"blocked", entry.blocked}};
  append(dumped(line));
}

void RequestLog::append(std::string line) {
  if (line.empty()) return;
  line += '\n';
  std::lock_guard<std::mutex> lock(mutex_);
  if (!file_) return;
  // One write per line: a reader never sees half a line unless it reads
  // during that write, and then the line has no newline yet.
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

}  // namespace service
}  // namespace pom
