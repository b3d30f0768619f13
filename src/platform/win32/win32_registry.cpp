#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

// Opens (creating when missing) HKCU\subkey with the given access.
HKEY openKey(const std::string& subkey, REGSAM access) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, widen(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

// The whole REG_SZ value, however long; false for anything else.
bool queryText(HKEY key, const std::wstring& name, std::wstring& text) {
  DWORD type = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  // One spare character: a stored value need not end in a zero.
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return false;
  }
  std::size_t length = size / sizeof(wchar_t);
  if (length > buffer.size()) length = buffer.size();
  text.assign(buffer.data(), length);
  const std::size_t zero = text.find(L'\0');
  if (zero != std::wstring::npos) text.resize(zero);
  return true;
}

}  // namespace

bool Win32Registry::readString(const std::string& subkey, const std::string& name,
                               const std::string& defaultValue, std::size_t bufferSize,
                               std::string& value) {
  const std::size_t limit = bufferSize == 0 ? 0 : bufferSize - 1;
  HKEY key = openKey(subkey, KEY_READ | KEY_WRITE);
  std::wstring text;
  const bool ok = key != nullptr && queryText(key, widen(name), text);
  if (key != nullptr) RegCloseKey(key);
  value = cutCp949(ok ? narrow(text) : defaultValue, limit);
  return ok;
}

bool Win32Registry::writeString(const std::string& subkey, const std::string& name,
                                const std::string& text) {
  HKEY key = openKey(subkey, KEY_READ | KEY_WRITE);
  if (key == nullptr) return false;
  const std::wstring wide = widen(text);
  const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
  const LONG result = RegSetValueExW(key, widen(name).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(wide.c_str()), bytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace pom
