// WireWriter and WireReader: byte-exact little-endian access to message
// bodies, by offset, the way every record of the protocol is laid out.
//
// WireWriter owns a zero-filled buffer of a given size; every write is placed
// at an explicit offset and is dropped (never written past the end) when it
// does not fit, so a wrong offset can corrupt nothing outside the body.
// WireReader borrows a body for the duration of one decode; every read is
// checked against the body length and yields zero (or an empty text) when the
// bytes are not there. Decoders check the length first and rely on this only
// as a second line of defence.
//
// Texts are CP949 byte strings. A fixed text field of n bytes holds at most
// n - 1 bytes and a terminating zero; reading stops at the first zero inside
// the field. Used on the loop thread only; no shared state.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pom {

class WireWriter {
 public:
  explicit WireWriter(std::size_t size) : bytes_(size, 0) {}

  std::size_t size() const { return bytes_.size(); }
  // Appends n zero bytes (for variable lists) and returns the old size, the
  // offset at which the new bytes start.
  std::size_t grow(std::size_t n);

  void u8(std::size_t offset, std::uint8_t value);
  void u16(std::size_t offset, std::uint16_t value);
  void i16(std::size_t offset, std::int16_t value);
  void u32(std::size_t offset, std::uint32_t value);
  void i32(std::size_t offset, std::int32_t value);
  void i64(std::size_t offset, std::int64_t value);
  // Copies at most fieldSize - 1 bytes of text, so the field always ends in
  // zero; the rest of the field stays zero.
  void text(std::size_t offset, std::size_t fieldSize, const std::string& text);
  // Copies at most maxBytes bytes of text into a field without requiring a
  // terminator inside it (digit strings and name bytes counted elsewhere).
  void raw(std::size_t offset, std::size_t maxBytes, const std::string& text);
  void bytes(std::size_t offset, const std::uint8_t* data, std::size_t n);

  const std::vector<std::uint8_t>& data() const { return bytes_; }
  std::vector<std::uint8_t> take() { return std::move(bytes_); }

 private:
  bool fits(std::size_t offset, std::size_t n) const;
  std::vector<std::uint8_t> bytes_;
};

class WireReader {
 public:
  WireReader(const std::uint8_t* body, std::size_t length)
      : body_(body), length_(body ? length : 0) {}

  std::size_t length() const { return length_; }
  // True when [offset, offset + n) lies wholly inside the body.
  bool has(std::size_t offset, std::size_t n) const;

  std::uint8_t u8(std::size_t offset) const;
  std::uint16_t u16(std::size_t offset) const;
  std::int16_t i16(std::size_t offset) const;
  std::uint32_t u32(std::size_t offset) const;
  std::int32_t i32(std::size_t offset) const;
  std::int64_t i64(std::size_t offset) const;
  // The bytes of a fixed text field up to its first zero (or the whole field
  // when it holds none); the part of the field past the body end is not read.
  std::string text(std::size_t offset, std::size_t fieldSize) const;
  // Exactly n bytes as a string (embedded zeros kept); empty if not all there.
  std::string bytes(std::size_t offset, std::size_t n) const;
  const std::uint8_t* at(std::size_t offset) const {
    return offset <= length_ ? body_ + offset : nullptr;
  }

 private:
  std::uint64_t little(std::size_t offset, std::size_t n) const;
  const std::uint8_t* body_;
  std::size_t length_;
};

}  // namespace pom
