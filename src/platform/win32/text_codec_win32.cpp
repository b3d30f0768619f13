// text_codec.h and wide_text.h on top of MultiByteToWideChar / WideCharToMultiByte.
#include <windows.h>

#include "core/base/text_utils.h"
#include "core/ports/text_codec.h"
#include "platform/win32/wide_text.h"

namespace pom {
namespace {

constexpr UINT kCodePage949 = 949;
constexpr wchar_t kReplacement = 0xFFFD;

// Whole-text conversion that fails on any byte sequence the code page lacks.
bool strictToWide(UINT codePage, const char* bytes, int length, std::wstring& out) {
  if (length == 0) {
    out.clear();
    return true;
  }
  int n = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, nullptr, 0);
  if (n <= 0) return false;
  out.resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, length, &out[0], n) == n;
}

std::wstring cp949ToWide(const std::string& text) {
  std::wstring out;
  if (strictToWide(kCodePage949, text.data(), static_cast<int>(text.size()), out)) return out;
  // Slow path: character by character, U+FFFD for each byte that does not
  // start a valid character (so one bad byte never swallows a good one).
  out.clear();
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    std::size_t width = (IsDBCSLeadByteEx(kCodePage949, byte) && i + 1 < text.size()) ? 2 : 1;
    std::wstring piece;
    if (strictToWide(kCodePage949, text.data() + i, static_cast<int>(width), piece) &&
        !piece.empty()) {
      out += piece;
      i += width;
    } else {
      out += kReplacement;
      ++i;
    }
  }
  return out;
}

std::string wideToCodePage(UINT codePage, const wchar_t* text, int length) {
  if (length == 0) return std::string();
  // UTF-8 takes neither a default character nor the best-fit flag.
  const bool utf8 = codePage == CP_UTF8;
  const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* defaultChar = utf8 ? nullptr : "?";
  int n = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, defaultChar, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(codePage, flags, text, length, &out[0], n, defaultChar, nullptr);
  return out;
}

}  // namespace

std::wstring widen(const std::string& cp949) {
  return cp949ToWide(cp949);
}

std::string narrow(const std::wstring& wide) {
  return wideToCodePage(kCodePage949, wide.data(), static_cast<int>(wide.size()));
}

std::string cutCp949(const std::string& text, std::size_t maxBytes) {
  return cutText(text, maxBytes);
}

std::u16string cp949ToUtf16(const std::string& text) {
  const std::wstring wide = cp949ToWide(text);
  return std::u16string(wide.begin(), wide.end());
}

std::string utf16ToCp949(const std::u16string& text) {
  const std::wstring wide(text.begin(), text.end());
  return narrow(wide);
}

std::string cp949ToUtf8(const std::string& text) {
  const std::wstring wide = cp949ToWide(text);
  return wideToCodePage(CP_UTF8, wide.data(), static_cast<int>(wide.size()));
}

std::string utf8ToCp949(const std::string& text) {
  if (text.empty()) return std::string();
  // Invalid UTF-8 becomes U+FFFD here, then '?' on the way to CP949.
  const int length = static_cast<int>(text.size());
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  if (n <= 0) return std::string();
  std::wstring wide(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, &wide[0], n);
  return narrow(wide);
}

}  // namespace pom
