// Messages of the download data session with a storage server (framed, not
// enciphered). The session also receives KeepAlive and SessionInfo, declared
// with the login-server replies.
//
// FileData is the hot path: view() points into the received body without
// copying, so the engine can write the bytes straight to the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/net/messages/message_types.h"
#include "core/net/messages/replies.h"

namespace pom {

struct DownloadRequest {
  static constexpr DownloadRequestType kType = DownloadRequestType::DownloadRequest;
  static constexpr std::size_t kSize = 562;
  static constexpr std::size_t kPathField = 512;
  std::uint16_t sessionNumber = 0;  // the login session's number
  std::int32_t fileId = 0;
  std::string memberId;     // char[21] at 10
  std::string password;     // char[11] at 31
  std::string path;         // storagePath followed directly by serverPath, char[512] at 42
  std::int64_t offset = 0;  // bytes already on disk
  static std::string joinPath(const std::string& storagePath, const std::string& serverPath) {
    return storagePath + serverPath;
  }
  Bytes encode() const;
  static std::optional<DownloadRequest> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(sessionNumber, fileId, memberId, password, path, offset); }
};

struct DownloadAccept {
  static constexpr DownloadReplyType kType = DownloadReplyType::DownloadAccept;
  static constexpr std::size_t kSize = 19;
  std::int64_t fileSize = 0;
  std::int32_t fileId = 0;
  std::uint8_t refused = 0;  // non-zero: refusal
  Bytes encode() const;
  static std::optional<DownloadAccept> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(fileSize, fileId, refused); }
};

// int32 n at 4, n data bytes at 8. Bytes past 8 + n are ignored; an n that
// is negative or runs past the body refuses the message.
struct FileData {
  static constexpr DownloadReplyType kType = DownloadReplyType::FileData;
  static constexpr std::size_t kHeadSize = 8;
  struct View {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
  };
  std::vector<std::uint8_t> data;
  Bytes encode() const;
  static std::optional<View> view(const std::uint8_t* body, std::size_t length);
  static std::optional<FileData> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(data); }
};

struct CreditInfo {
  static constexpr DownloadReplyType kType = DownloadReplyType::CreditInfo;
  static constexpr std::size_t kSize = 16;
  std::int64_t credit = 0;  // remaining credit
  std::uint16_t flatRate = 0;
  Bytes encode() const;
  static std::optional<CreditInfo> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(credit, flatRate); }
};

struct CreditShortage {
  static constexpr DownloadReplyType kType = DownloadReplyType::CreditShortage;
  static constexpr std::size_t kSize = 17;
  std::int64_t credit = 0;
  std::uint16_t flatRate = 0;
  std::uint8_t force = 0;  // non-zero: stop everything whatever the balance
  Bytes encode() const;
  static std::optional<CreditShortage> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(credit, flatRate, force); }
};

// 9 bytes; acted on whatever its length.
struct FileRefused {
  static constexpr DownloadReplyType kType = DownloadReplyType::FileRefused;
  static constexpr std::size_t kSize = 9;
  Bytes encode() const;
  static std::optional<FileRefused> decode(const std::uint8_t* body, std::size_t length);
  auto tie() const { return std::tie(); }
};

}  // namespace pom
