// The keys the web tree and the web lists react to, read from a key message
// (Alt combinations arrive as WM_SYSKEYDOWN, Ctrl ones as WM_KEYDOWN with
// the Ctrl key held).
#pragma once

#include <windows.h>

#include <optional>

#include "core/storage/storage_commands.h"

namespace pom {

inline std::optional<WebKey> webKeyOf(UINT message, WPARAM key) {
  if (message == WM_SYSKEYDOWN) {
    if (key == 'T') return WebKey::AltT;
    if (key == 'F') return WebKey::AltF;
    if (key == 'C') return WebKey::AltC;
    return std::nullopt;
  }
  if (message != WM_KEYDOWN) return std::nullopt;
  if ((GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    switch (key) {
      case 'A':
        return WebKey::CtrlA;
      case 'D':
        return WebKey::CtrlD;
      case 'N':
        return WebKey::CtrlN;
      case 'V':
        return WebKey::CtrlV;
      case 'W':
        return WebKey::CtrlW;
      case 'X':
        return WebKey::CtrlX;
      default:
        return std::nullopt;
    }
  }
  switch (key) {
    case VK_DELETE:
      return WebKey::Delete;
    case VK_F2:
      return WebKey::F2;
    case VK_F5:
      return WebKey::F5;
    default:
      return std::nullopt;
  }
}

}  // namespace pom
