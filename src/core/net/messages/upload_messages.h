// Messages of the upload data session with a storage server (framed, not
// enciphered). The session also receives KeepAlive and SessionInfo, declared
// with the login-server replies.
//
// FileChunk is the hot path: writeHead() lets the engine build the chunk in
// place in the send buffer and read the file bytes straight behind it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/net/messages/message_types.h"
#include "core/net/messages/replies.h"

namespace pom {

using SampleDigest = std::array<std::uint8_t, 16>;

struct UploadRequest {
  static constexpr UploadRequestType kType = UploadRequestType::UploadRequest;
  static constexpr std::size_t kSize = 442;
  std::uint16_t sessionNumber = 0;  // the login session's number
  std::int32_t serverFileId = 0;
  std::int32_t folderId = 0;  // 0 or below is sent as 2
  std::string memberId;       // char[21] at 14
  std::string subFolder;      // char[100] at 35
  std::string fileName;       // char[256] at 135
  std::int64_t totalSize = 0;
  std::int64_t offset = 0;                 // bytes the service holds
  char sharingLetter = sharing::kPrivate;  // 't', 'f', 'c' or 'b'
  SampleDigest sampleDigest{};             // 32 lowercase hex digits and a zero at 409
  Bytes encode() const;
  // Refuses a digest field that is not 32 hex digits.
  static std::optional<UploadRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const {
    return std::tie(sessionNumber, serverFileId, folderId, memberId, subFolder, fileName, totalSize,
                    offset, sharingLetter, sampleDigest);
  }
};

// int32 n at 4, n bytes at 8; the framed packet is n + 20 bytes.
struct FileChunk {
  static constexpr UploadRequestType kType = UploadRequestType::FileChunk;
  static constexpr std::size_t kHeadSize = 8;
  struct View {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
  };
  std::vector<std::uint8_t> data;
  // Writes the 8-byte head (type, n) at dest.
  static void writeHead(std::uint8_t* dest, std::int32_t n);
  Bytes encode() const;
  static std::optional<View> view(const std::uint8_t* body, std::size_t length);
  static std::optional<FileChunk> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(data); }
};

struct UploadCancel {
  static constexpr UploadRequestType kType = UploadRequestType::UploadCancel;
  static constexpr std::size_t kSize = 6;
  Bytes encode() const;
  static std::optional<UploadCancel> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

struct UploadAccept {
  static constexpr UploadReplyType kType = UploadReplyType::UploadAccept;
  static constexpr std::size_t kSize = 11;
  enum class Result : std::uint8_t { Resume = 0, FromStart = 255 };
  std::int32_t chunkSize = 0;  // as sent; callers must bound it before use
  Result result = Result::Resume;
  Bytes encode() const;
  static std::optional<UploadAccept> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(chunkSize, result); }
};

struct UploadDone {
  static constexpr UploadReplyType kType = UploadReplyType::UploadDone;
  static constexpr std::size_t kSize = 11;
  enum class Result : std::uint8_t { Stored = 0 };
  std::int32_t value = 0;
  Result result = Result::Stored;
  Bytes encode() const;
  static std::optional<UploadDone> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(value, result); }
};

// 4 bytes; acted on whatever its length.
struct ChunkAck {
  static constexpr UploadReplyType kType = UploadReplyType::ChunkAck;
  static constexpr std::size_t kSize = 4;
  Bytes encode() const;
  static std::optional<ChunkAck> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

// "%02x" per byte; and back (nothing unless exactly 32 hex digits).
std::string digestToHex(const SampleDigest& digest);
std::optional<SampleDigest> digestFromHex(const std::string& hex);

}  // namespace pom
