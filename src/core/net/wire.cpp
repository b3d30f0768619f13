#include "core/net/wire.h"

#include <algorithm>
#include <cstring>

#include "core/base/text_utils.h"

namespace pom {

std::size_t WireWriter::grow(std::size_t n) {
  const std::size_t start = bytes_.size();
  bytes_.resize(start + n, 0);
  return start;
}

bool WireWriter::fits(std::size_t offset, std::size_t n) const {
  return offset <= bytes_.size() && n <= bytes_.size() - offset;
}

void WireWriter::u8(std::size_t offset, std::uint8_t value) {
  if (fits(offset, 1)) bytes_[offset] = value;
}

void WireWriter::u16(std::size_t offset, std::uint16_t value) {
  if (!fits(offset, 2)) return;
  bytes_[offset] = static_cast<std::uint8_t>(value);
  bytes_[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void WireWriter::i16(std::size_t offset, std::int16_t value) {
  u16(offset, static_cast<std::uint16_t>(value));
}

void WireWriter::u32(std::size_t offset, std::uint32_t value) {
  if (!fits(offset, 4)) return;
  for (std::size_t i = 0; i < 4; ++i)
    bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void WireWriter::i32(std::size_t offset, std::int32_t value) {
  u32(offset, static_cast<std::uint32_t>(value));
}

void WireWriter::i64(std::size_t offset, std::int64_t value) {
  if (!fits(offset, 8)) return;
  const auto bits = static_cast<std::uint64_t>(value);
  for (std::size_t i = 0; i < 8; ++i)
    bytes_[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void WireWriter::text(std::size_t offset, std::size_t fieldSize, const std::string& text) {
  if (fieldSize == 0) return;
  raw(offset, fieldSize - 1, text);
}

void WireWriter::raw(std::size_t offset, std::size_t maxBytes, const std::string& text) {
  // A cut never leaves a lone lead byte in the field.
  const std::string cut = cutText(text, maxBytes);
  bytes(offset, reinterpret_cast<const std::uint8_t*>(cut.data()), cut.size());
}

void WireWriter::bytes(std::size_t offset, const std::uint8_t* data, std::size_t n) {
  if (n == 0 || !fits(offset, n)) return;
  std::memcpy(bytes_.data() + offset, data, n);
}

bool WireReader::has(std::size_t offset, std::size_t n) const {
  return offset <= length_ && n <= length_ - offset;
}

std::uint64_t WireReader::little(std::size_t offset, std::size_t n) const {
  if (!has(offset, n)) return 0;
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < n; ++i) value |= std::uint64_t{body_[offset + i]} << (8 * i);
  return value;
}

std::uint8_t WireReader::u8(std::size_t offset) const {
  return static_cast<std::uint8_t>(little(offset, 1));
}

std::uint16_t WireReader::u16(std::size_t offset) const {
  return static_cast<std::uint16_t>(little(offset, 2));
}

std::int16_t WireReader::i16(std::size_t offset) const {
  return static_cast<std::int16_t>(u16(offset));
}

std::uint32_t WireReader::u32(std::size_t offset) const {
  return static_cast<std::uint32_t>(little(offset, 4));
}

std::int32_t WireReader::i32(std::size_t offset) const {
  return static_cast<std::int32_t>(u32(offset));
}

std::int64_t WireReader::i64(std::size_t offset) const {
  return static_cast<std::int64_t>(little(offset, 8));
}

std::string WireReader::text(std::size_t offset, std::size_t fieldSize) const {
  if (offset >= length_) return {};
  const std::size_t available = std::min(fieldSize, length_ - offset);
  const auto* start = body_ + offset;
  const auto* zero = static_cast<const std::uint8_t*>(std::memchr(start, 0, available));
  const std::size_t n = zero ? static_cast<std::size_t>(zero - start) : available;
  return std::string(reinterpret_cast<const char*>(start), n);
}

std::string WireReader::bytes(std::size_t offset, std::size_t n) const {
  if (!has(offset, n)) return {};
  return std::string(reinterpret_cast<const char*>(body_ + offset), n);
}

}  // namespace pom
