#include "core/settings/settings_dialog.h"

#include "core/base/config_keys.h"
#include "core/ports/dialogs.h"
#include "core/session/saved_credentials.h"

namespace pom {

namespace {

constexpr SettingsControl kBoxes[] = {SettingsControl::AutoLogin, SettingsControl::AutoUpload,
                                      SettingsControl::AutoDownload};
constexpr SettingsControl kRadios[] = {SettingsControl::Public, SettingsControl::Private,
                                       SettingsControl::Club};

bool SettingsChoice::*flagOf(SettingsControl box) {
  switch (box) {
    case SettingsControl::AutoLogin:
      return &SettingsChoice::autoLogin;
    case SettingsControl::AutoUpload:
      return &SettingsChoice::autoUpload;
    default:
      return &SettingsChoice::autoDownload;
  }
}

UploadSharing sharingOf(SettingsControl radio) {
  return radio == SettingsControl::Public    ? UploadSharing::Public
         : radio == SettingsControl::Private ? UploadSharing::Private
                                             : UploadSharing::Club;
}

}  // namespace

SettingsDialog::SettingsDialog(ConfigStore& config, FileSystem& files, Dialogs* dialogs,
                               SettingsDialogHost* host)
    : config_(config), files_(files), dialogs_(dialogs), host_(host) {}

bool SettingsDialog::isOpen() const {
  return view_ != nullptr ? view_->exists() : open_;
}

bool SettingsDialog::open() {
  if (isOpen()) return false;
  savedId_ = config_.readText(ConfigKey::UserId);
  savedPassword_ = decodeSavedPassword(config_.readText(ConfigKey::UserPw));
  folder_ = host_ != nullptr ? host_->downloadFolder() : config_.readText(ConfigKey::BasicFolder);
  const SettingsChoice shown = readSettingsChoice(config_);
  if (view_ != nullptr) {
    if (!view_->create(kSettingsDialogTitle)) return false;
    view_->setCredentials(savedId_, savedPassword_);
    view_->setFolder(folder_);
  }
  open_ = true;
  setChoice(shown);
  if (view_ != nullptr) view_->showAndFocus();
  return true;
}

SettingsChoice SettingsDialog::choice() {
  if (view_ == nullptr || !view_->exists()) return choice_;
  SettingsChoice read;
  for (SettingsControl box : kBoxes) read.*flagOf(box) = view_->isChecked(box);
  read.sharing = sharingFromChecks(view_->isChecked(SettingsControl::Public),
                                   view_->isChecked(SettingsControl::Private),
                                   view_->isChecked(SettingsControl::Club));
  return read;
}

void SettingsDialog::setChoice(const SettingsChoice& choice) {
  choice_ = choice;
  if (view_ == nullptr || !view_->exists()) return;
  for (SettingsControl box : kBoxes) view_->setChecked(box, choice.*flagOf(box));
  for (SettingsControl radio : kRadios)
    view_->setChecked(radio, sharingOf(radio) == choice.sharing);
}

void SettingsDialog::ok() {
  if (!isOpen()) return;
  writeSettingsChoice(config_, choice());
  close();
}

void SettingsDialog::cancel() {
  close();
}

void SettingsDialog::defaults() {
  if (isOpen()) setChoice(SettingsChoice{});
}

void SettingsDialog::chooseFolder() {
  std::string path;
  if (dialogs_ == nullptr ||
      !dialogs_->pickFolder(DialogOwner::SettingsDialog, kFolderPickerTitle, path))
    return;
  std::string why;
  useFolder(path, why);  // a folder the program cannot keep leaves the old one
}

bool SettingsDialog::useFolder(const std::string& path, std::string& why) {
  if (!acceptableFolder(files_, path, why)) return false;
  config_.writeText(ConfigKey::BasicFolder, path);
  if (host_ != nullptr) host_->downloadFolderChosen(path);
  folder_ = path;
  if (view_ != nullptr && view_->exists()) view_->setFolder(path);
  return true;
}

void SettingsDialog::close() {
  open_ = false;
  if (view_ != nullptr) view_->destroy();
}

}  // namespace pom
