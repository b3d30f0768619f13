#include "core/net/messages/upload_messages.h"

#include "core/net/messages/body_check.h"
#include "core/net/wire.h"

namespace pom {
namespace {

constexpr std::size_t kDigestOffset = 409;
constexpr std::size_t kDigestField = 33;

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string digestToHex(const SampleDigest& digest) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  hex.reserve(32);
  for (std::uint8_t b : digest) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 0x0F];
  }
  return hex;
}

std::optional<SampleDigest> digestFromHex(const std::string& hex) {
  if (hex.size() != 32) return std::nullopt;
  SampleDigest digest{};
  for (std::size_t i = 0; i < digest.size(); ++i) {
    const int hi = hexValue(hex[2 * i]);
    const int lo = hexValue(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    digest[i] = static_cast<std::uint8_t>(hi * 16 + lo);
  }
  return digest;
}

Bytes UploadRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  out.i32(6, serverFileId);
  out.i32(10, folderId <= 0 ? 2 : folderId);
  out.text(14, 21, memberId);
  out.text(35, 100, subFolder);
  out.text(135, 256, fileName);
  out.i64(391, totalSize);
  out.i64(399, offset);
  out.u8(407, static_cast<std::uint8_t>(sharingLetter));
  out.u8(408, 'f');
  out.text(kDigestOffset, kDigestField, digestToHex(sampleDigest));
  return out.take();
}

std::optional<UploadRequest> UploadRequest::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  const auto digest = digestFromHex(in.text(kDigestOffset, kDigestField));
  if (!digest) return std::nullopt;
  UploadRequest m;
  m.sessionNumber = in.u16(4);
  m.serverFileId = in.i32(6);
  m.folderId = in.i32(10);
  m.memberId = in.text(14, 21);
  m.subFolder = in.text(35, 100);
  m.fileName = in.text(135, 256);
  m.totalSize = in.i64(391);
  m.offset = in.i64(399);
  m.sharingLetter = static_cast<char>(in.u8(407));
  m.sampleDigest = *digest;
  return m;
}

void FileChunk::writeHead(std::uint8_t* dest, std::int32_t n) {
  const auto type = static_cast<std::uint32_t>(kType);
  const auto count = static_cast<std::uint32_t>(n);
  for (int i = 0; i < 4; ++i) {
    dest[i] = static_cast<std::uint8_t>(type >> (8 * i));
    dest[4 + i] = static_cast<std::uint8_t>(count >> (8 * i));
  }
}

Bytes FileChunk::encode() const {
  return body::encodeCounted(kType, data);
}

std::optional<FileChunk::View> FileChunk::view(const std::uint8_t* data, std::size_t length) {
  const auto counted = body::viewCounted(data, length, kType);
  if (!counted) return std::nullopt;
  return View{counted->first, counted->second};
}

std::optional<FileChunk> FileChunk::decode(const std::uint8_t* data, std::size_t length) {
  const auto v = view(data, length);
  if (!v) return std::nullopt;
  FileChunk m;
  m.data.assign(v->data, v->data + v->size);
  return m;
}

Bytes UploadCancel::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<UploadCancel> UploadCancel::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  return UploadCancel{};
}

Bytes UploadAccept::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, chunkSize);
  out.u8(10, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<UploadAccept> UploadAccept::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  UploadAccept m;
  m.chunkSize = in.i32(6);
  m.result = static_cast<decltype(m.result)>(in.u8(10));
  return m;
}

Bytes UploadDone::encode() const {
  auto out = body::start(kType, kSize);
  out.i32(6, value);
  out.u8(10, static_cast<std::uint8_t>(result));
  return out.take();
}

std::optional<UploadDone> UploadDone::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  UploadDone m;
  m.value = in.i32(6);
  m.result = static_cast<decltype(m.result)>(in.u8(10));
  return m;
}

Bytes ChunkAck::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<ChunkAck> ChunkAck::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, kType, kSize)) return std::nullopt;
  return ChunkAck{};
}

}  // namespace pom
