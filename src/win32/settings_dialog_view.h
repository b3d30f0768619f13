// Win32SettingsDialogView: the settings dialog, modeless and without owner,
// from template 184 (group frames, labels, the note and the three push
// buttons), with its boxes, radios, edits and the folder button created in
// code at their client pixel positions in the "font.ini" face. The id and
// password edits are read-only (the dialog shows them, it does not save
// them). Commands go to the presenter; Escape and the close command cancel.
// GUI thread only; at most one window exists.
#pragma once

#include <windows.h>

#include <string>

#include "core/settings/settings_dialog.h"
#include "win32/window.h"

namespace pom {

class Win32SettingsDialogView final : public Dialog, public SettingsDialogView {
 public:
  Win32SettingsDialogView(HINSTANCE instance, SettingsDialog& presenter, std::string fontFace);
  ~Win32SettingsDialogView() override;

  bool exists() override { return dialogExists(); }
  bool create(const std::string& title) override;
  void setChecked(SettingsControl control, bool checked) override;
  bool isChecked(SettingsControl control) override;
  void setCredentials(const std::string& id, const std::string& password) override;
  void setFolder(const std::string& path) override;
  void showAndFocus() override { showDialog(); }
  void destroy() override;

 protected:
  bool onCommand(int id, int code, HWND control) override;
  bool onClose() override;

 private:
  HWND controlOf(SettingsControl control) const;
  HWND make(const wchar_t* className, const std::string& text, DWORD style, int id, int x, int y,
            int width, int height);

  HINSTANCE instance_;
  SettingsDialog& presenter_;
  std::string fontFace_;
  HFONT font_ = nullptr;
  HBITMAP folderBitmap_ = nullptr;
  HWND boxes_[3] = {};   // auto-login, auto-upload, auto-download
  HWND radios_[3] = {};  // public, private, club-only
  HWND idEdit_ = nullptr;
  HWND passwordEdit_ = nullptr;
  HWND folderEdit_ = nullptr;
};

}  // namespace pom
