// SettingsDialog: the settings dialog ("환경설정", template 184), as a presenter
// over a humble modeless view.
//
// Open reads the preferences (settings_rules), the saved id and the decoded
// saved password, and shows them; the choice then lives in the view's boxes
// and radios until OK reads it back and writes the six keys exactly as
// chosen. "기본값" only changes what is shown; "취소", Escape and the close
// command write nothing. The folder button writes BasicFolder at once (a
// choice that stays even when the dialog is cancelled) and tells the host,
// which points the local tree and the main window at it.
//
// The id and password are shown read-only: the dialog never saves them (the
// login window does, with its own checks), so an edit there would be lost.
//
// Without a view (the headless front end) the choice is kept here and set
// with setChoice. Owned by the local browser module; loop thread only; at
// most one dialog is open.
#pragma once

#include <string>

#include "core/settings/settings_rules.h"

namespace pom {

class ConfigStore;
class Dialogs;
class FileSystem;

inline constexpr int kSettingsDialogTemplate = 184;
inline constexpr char kSettingsDialogTitle[] = "환경설정";
inline constexpr char kFolderPickerTitle[] = "디렉토리를 선택하세요";

// The boxes and radios of the dialog.
enum class SettingsControl { AutoLogin, AutoUpload, AutoDownload, Public, Private, Club };

class SettingsDialogView {
 public:
  virtual ~SettingsDialogView() = default;
  virtual bool exists() = 0;
  // Creates the dialog from its template without owner, gives it the title
  // and creates its controls; false when the dialog cannot be created.
  virtual bool create(const std::string& title) = 0;
  virtual void setChecked(SettingsControl control, bool checked) = 0;
  virtual bool isChecked(SettingsControl control) = 0;
  virtual void setCredentials(const std::string& id, const std::string& password) = 0;
  virtual void setFolder(const std::string& path) = 0;
  virtual void showAndFocus() = 0;
  virtual void destroy() = 0;
};

// What the dialog needs of the rest of the program.
class SettingsDialogHost {
 public:
  virtual ~SettingsDialogHost() = default;
  // The main window's download folder as it stands.
  virtual std::string downloadFolder() = 0;
  // BasicFolder has just been written: the local tree and the main window
  // take the folder.
  virtual void downloadFolderChosen(const std::string& path) = 0;
};

class SettingsDialog {
 public:
  // dialogs and host may be null (no folder picker, nobody to tell).
  SettingsDialog(ConfigStore& config, FileSystem& files, Dialogs* dialogs,
                 SettingsDialogHost* host);
  void attach(SettingsDialogView* view) { view_ = view; }

  // Shows the dialog; false (and nothing changes) when it is already open or
  // cannot be created.
  bool open();
  bool isOpen() const;

  // The commands.
  void ok();
  void cancel();
  void defaults();
  void chooseFolder();
  // Makes path the download folder (the folder button after the picker):
  // false with the reason when it is no acceptable folder.
  bool useFolder(const std::string& path, std::string& why);

  // The choice shown now, the credentials and the folder shown.
  SettingsChoice choice();
  void setChoice(const SettingsChoice& choice);
  const std::string& savedId() const { return savedId_; }
  const std::string& savedPassword() const { return savedPassword_; }
  const std::string& folder() const { return folder_; }

 private:
  void close();

  ConfigStore& config_;
  FileSystem& files_;
  Dialogs* dialogs_;
  SettingsDialogHost* host_;
  SettingsDialogView* view_ = nullptr;
  bool open_ = false;  // without a view
  SettingsChoice choice_;
  std::string savedId_, savedPassword_, folder_;
};

}  // namespace pom
