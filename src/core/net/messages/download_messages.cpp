#include "core/net/messages/download_messages.h"

#include "core/net/messages/body_check.h"
#include "core/net/wire.h"

namespace pom {

Bytes DownloadRequest::encode() const {
  auto out = body::start(kType, kSize);
  out.u16(4, sessionNumber);
  out.i32(6, fileId);
  out.text(10, 21, memberId);
  out.text(31, 11, password);
  out.text(42, kPathField, path);
  out.i64(554, offset);
  return out.take();
}

std::optional<DownloadRequest> DownloadRequest::decode(const std::uint8_t* data,
                                                       std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  DownloadRequest m;
  m.sessionNumber = in.u16(4);
  m.fileId = in.i32(6);
  m.memberId = in.text(10, 21);
  m.password = in.text(31, 11);
  m.path = in.text(42, kPathField);
  m.offset = in.i64(554);
  return m;
}

Bytes DownloadAccept::encode() const {
  auto out = body::start(kType, kSize);
  out.i64(6, fileSize);
  out.i32(14, fileId);
  out.u8(18, refused);
  return out.take();
}

std::optional<DownloadAccept> DownloadAccept::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  DownloadAccept m;
  m.fileSize = in.i64(6);
  m.fileId = in.i32(14);
  m.refused = in.u8(18);
  return m;
}

Bytes FileData::encode() const {
  return body::encodeCounted(kType, data);
}

std::optional<FileData::View> FileData::view(const std::uint8_t* data, std::size_t length) {
  const auto counted = body::viewCounted(data, length, kType);
  if (!counted) return std::nullopt;
  return View{counted->first, counted->second};
}

std::optional<FileData> FileData::decode(const std::uint8_t* data, std::size_t length) {
  const auto v = view(data, length);
  if (!v) return std::nullopt;
  FileData m;
  m.data.assign(v->data, v->data + v->size);
  return m;
}

Bytes CreditInfo::encode() const {
  auto out = body::start(kType, kSize);
  out.i64(6, credit);
  out.u16(14, flatRate);
  return out.take();
}

std::optional<CreditInfo> CreditInfo::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  CreditInfo m;
  m.credit = in.i64(6);
  m.flatRate = in.u16(14);
  return m;
}

Bytes CreditShortage::encode() const {
  auto out = body::start(kType, kSize);
  out.i64(6, credit);
  out.u16(14, flatRate);
  out.u8(16, force);
  return out.take();
}

std::optional<CreditShortage> CreditShortage::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isExact(in, kType, kSize)) return std::nullopt;
  CreditShortage m;
  m.credit = in.i64(6);
  m.flatRate = in.u16(14);
  m.force = in.u8(16);
  return m;
}

Bytes FileRefused::encode() const {
  return body::start(kType, kSize).take();
}

std::optional<FileRefused> FileRefused::decode(const std::uint8_t* data, std::size_t length) {
  WireReader in(data, length);
  if (!body::isAtLeast(in, kType, 4)) return std::nullopt;
  return FileRefused{};
}

}  // namespace pom
