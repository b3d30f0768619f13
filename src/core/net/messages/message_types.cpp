#include "core/net/messages/message_types.h"

#include "core/net/wire.h"

namespace pom {
namespace {

constexpr BodySize exact(std::size_t n) {
  return {BodySizeKind::Exact, n};
}
constexpr BodySize atLeast(std::size_t n) {
  return {BodySizeKind::Variable, n};
}
constexpr BodySize unknown() {
  return {BodySizeKind::Unknown, 0};
}

}  // namespace

std::optional<std::int32_t> bodyType(const std::uint8_t* body, std::size_t length) {
  WireReader in(body, length);
  if (!in.has(0, 4)) return std::nullopt;
  return in.i32(0);
}

bool acceptsLength(BodySize size, std::size_t length) {
  switch (size.kind) {
    case BodySizeKind::Exact:
      return length == size.exact;
    case BodySizeKind::Variable:
      return length >= size.exact;
    case BodySizeKind::Unknown:
      break;
  }
  return false;
}

BodySize expectedDownloadReplySize(std::int32_t type) {
  switch (type) {
    case 3:
      return exact(19);  // DownloadAccept
    case 5:
      return atLeast(8);  // FileData
    case 6:
      return exact(16);  // CreditInfo
    case 7:
      return exact(17);  // CreditShortage
    case 10:
      return atLeast(4);  // FileRefused, whatever its length
    case 50:
      return atLeast(4);  // KeepAlive, whatever its length
    case 51:
      return exact(7);  // SessionInfo
    default:
      return unknown();
  }
}

BodySize expectedUploadReplySize(std::int32_t type) {
  switch (type) {
    case 0:
      return exact(11);  // UploadAccept
    case 2:
      return exact(11);  // UploadDone
    case 8:
      return atLeast(4);  // ChunkAck, whatever its length
    case 50:
      return atLeast(4);  // KeepAlive
    case 51:
      return exact(7);  // SessionInfo
    default:
      return unknown();
  }
}

BodySize expectedDownloadRequestSize(std::int32_t type) {
  return type == 3 ? exact(562) : unknown();
}

BodySize expectedUploadRequestSize(std::int32_t type) {
  switch (type) {
    case 0:
      return exact(442);  // UploadRequest
    case 1:
      return atLeast(8);  // FileChunk
    case 2:
      return exact(6);  // UploadCancel
    default:
      return unknown();
  }
}

char sharingLetterFor(bool upLoadPublic1, bool upLoadPublic2, bool upLoadPublic3) {
  char letter = sharing::kPrivate;
  if (upLoadPublic1) letter = sharing::kPublic;
  if (upLoadPublic2) letter = sharing::kPrivate;
  if (upLoadPublic3) letter = sharing::kClub;
  return letter;
}

std::string replaceReservedMarks(std::string name) {
  for (char& c : name) {
    if (c == '\'' || c == ',' || c == ';') c = '!';
  }
  return name;
}

}  // namespace pom
