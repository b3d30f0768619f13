#include "core/update/pe_image.h"

#include <cstddef>

namespace pom {
namespace {

// Little-endian reads; false when the bytes end first.
bool read16(std::string_view bytes, std::size_t at, std::uint32_t& value) {
  if (at > bytes.size() || bytes.size() - at < 2) return false;
  value = static_cast<unsigned char>(bytes[at]) |
          static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
  return true;
}

bool read32(std::string_view bytes, std::size_t at, std::uint32_t& value) {
  std::uint32_t low = 0, high = 0;
  if (!read16(bytes, at, low) || !read16(bytes, at + 2, high)) return false;
  value = low | high << 16;
  return true;
}

constexpr std::size_t kPeOffsetField = 0x3C;  // e_lfanew of the DOS header
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionHeaderSize = 40;

}  // namespace

bool isPeProgramFor(std::string_view bytes, PeMachine machine) {
  if (bytes.size() < 64 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
  std::uint32_t peOffset = 0;
  if (!read32(bytes, kPeOffsetField, peOffset)) return false;
  if (peOffset > bytes.size() || bytes.size() - peOffset < 4 + kFileHeaderSize) return false;
  if (bytes.substr(peOffset, 4) != std::string_view("PE\0\0", 4)) return false;
  const std::size_t fileHeader = peOffset + 4;
  std::uint32_t fileMachine = 0, sections = 0, optionalSize = 0;
  if (!read16(bytes, fileHeader, fileMachine) || !read16(bytes, fileHeader + 2, sections) ||
      !read16(bytes, fileHeader + 16, optionalSize))
    return false;
  if (fileMachine != static_cast<std::uint32_t>(machine) || sections == 0) return false;
  // Every section's raw bytes must be in the file: a cut transfer that still
  // holds the headers is refused here.
  const std::size_t table = fileHeader + kFileHeaderSize + optionalSize;
  for (std::uint32_t i = 0; i < sections; ++i) {
    const std::size_t header = table + i * kSectionHeaderSize;
    std::uint32_t rawSize = 0, rawOffset = 0;
    if (!read32(bytes, header + 16, rawSize) || !read32(bytes, header + 20, rawOffset))
      return false;
    if (rawSize != 0 && (rawOffset > bytes.size() || bytes.size() - rawOffset < rawSize))
      return false;
  }
  return true;
}

}  // namespace pom
