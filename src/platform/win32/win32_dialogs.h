// Win32Dialogs: the Dialogs port on MessageBoxW, the shell's folder browser
// and the common file picker. Texts arrive as CP949 bytes and are widened
// with code page 949 at this edge, so Hangul shows on every locale.
//
// The owner of a box is a role (login window, download window, ...); the
// program supplies a resolver that maps a role onto its current window
// handle (null: no owner). Loop thread only. A message box runs a modal loop,
// so socket and timer messages may be handled while it is open.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "core/ports/dialogs.h"

namespace pom {

class Win32Dialogs final : public Dialogs {
 public:
  using OwnerResolver = std::function<HWND(DialogOwner)>;
  explicit Win32Dialogs(OwnerResolver resolver = nullptr) : resolver_(std::move(resolver)) {}
  void setResolver(OwnerResolver resolver) { resolver_ = std::move(resolver); }

  MessageAnswer messageBox(const MessageBoxRequest& request) override;
  bool pickFolder(DialogOwner owner, const std::string& title, std::string& path) override;
  bool pickFiles(DialogOwner owner, const std::string& title, const std::string& filter,
                 std::vector<std::string>& paths) override;

 private:
  HWND ownerWindow(DialogOwner owner) const;
  OwnerResolver resolver_;
};

// The MessageBoxW style bits of a request (icon | buttons).
UINT messageBoxStyle(MessageIcon icon, MessageButtons buttons);

// The full paths (CP949) the file picker's buffer names: one file as its
// full path, or several as the folder followed by each name, every part
// ended by a zero and the list by an empty part. Each name is joined to the
// folder with one backslash (a drive's root already ends in one).
std::vector<std::string> pickedFilePaths(const wchar_t* buffer);

}  // namespace pom
