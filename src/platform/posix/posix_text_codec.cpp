// The text codec of the POSIX backend: glibc iconv between CP949 and UTF-16 or
// UTF-8. Conversion goes one step at a time so that a byte sequence that does
// not convert becomes U+FFFD (towards Unicode) or '?' (towards CP949), as the
// Win32 conversions do, instead of ending the conversion.
#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "core/ports/text_codec.h"

namespace pom {

namespace {

// One iconv descriptor, reset before each use. The handle is per thread, as
// iconv descriptors carry state.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Converter() {
    if (handle_ != reinterpret_cast<iconv_t>(-1)) iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts input; a unit that does not convert is skipped (unitSize bytes,
  // or the rest of an incomplete sequence) and replacement is written instead.
  std::string run(const char* input, std::size_t length, std::size_t unitSize,
                  const std::string& replacement) const {
    std::string output;
    if (handle_ == reinterpret_cast<iconv_t>(-1)) return output;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input);
    std::size_t inLeft = length;
    char buffer[256];
    while (inLeft > 0) {
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, static_cast<std::size_t>(out - buffer));
      if (result != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      output += replacement;
      if (errno == EINVAL) break;  // incomplete sequence at the end
      const std::size_t skip = std::min(unitSize, inLeft);
      in += skip;
      inLeft -= skip;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    iconv(handle_, nullptr, nullptr, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    return output;
  }

 private:
  iconv_t handle_;
};

bool littleEndian() {
  const std::uint16_t probe = 1;
  unsigned char first;
  std::memcpy(&first, &probe, 1);
  return first == 1;
}

const char* utf16Name() {
  return littleEndian() ? "UTF-16LE" : "UTF-16BE";
}

std::string utf16Bytes(char16_t c) {
  std::string bytes(2, '\0');
  std::memcpy(bytes.data(), &c, 2);
  return bytes;
}

}  // namespace

std::u16string cp949ToUtf16(const std::string& text) {
  thread_local const Converter converter(utf16Name(), "CP949");
  const std::string bytes = converter.run(text.data(), text.size(), 1, utf16Bytes(u'\uFFFD'));
  std::u16string result(bytes.size() / 2, u'\0');
  std::memcpy(result.data(), bytes.data(), result.size() * 2);
  return result;
}

std::string utf16ToCp949(const std::u16string& text) {
  thread_local const Converter converter("CP949", utf16Name());
  return converter.run(reinterpret_cast<const char*>(text.data()), text.size() * 2, 2, "?");
}

std::string cp949ToUtf8(const std::string& text) {
  thread_local const Converter converter("UTF-8", "CP949");
  return converter.run(text.data(), text.size(), 1, "\xEF\xBF\xBD");
}

std::string utf8ToCp949(const std::string& text) {
  thread_local const Converter converter("CP949", "UTF-8");
  return converter.run(text.data(), text.size(), 1, "?");
}

}  // namespace pom
