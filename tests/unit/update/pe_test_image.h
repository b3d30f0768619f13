// A minimal PE image for the update tests: DOS header with the PE offset,
// the signature, a file header for the given machine and one section whose
// raw bytes fill the rest of the image.
#pragma once

#include <cstdint>
#include <string>

namespace pom::test {

inline std::string peImage(std::uint16_t machine, std::size_t size = 1024) {
  std::string image(size, '\0');
  auto put16 = [&](std::size_t at, std::uint32_t v) {
    image[at] = static_cast<char>(v & 0xFF);
    image[at + 1] = static_cast<char>((v >> 8) & 0xFF);
  };
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  image[0] = 'M';
  image[1] = 'Z';
  put32(0x3C, 0x40);
  image.replace(0x40, 4, std::string("PE\0\0", 4));
  put16(0x44, machine);
  put16(0x46, 1);  // one section
  put16(0x54, 0);  // no optional header
  const std::size_t section = 0x44 + 20;
  put32(section + 16, static_cast<std::uint32_t>(size - 0x200));  // raw size
  put32(section + 20, 0x200);                                     // raw offset
  return image;
}

}  // namespace pom::test
