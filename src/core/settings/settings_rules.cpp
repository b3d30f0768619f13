#include "core/settings/settings_rules.h"

#include "core/base/config_keys.h"
#include "core/ports/file_system.h"

namespace pom {

namespace {

constexpr char kBasicFolderKey[] = "BasicFolder";

// The sharing key of each choice, in the file's order.
struct SharingKey {
  ConfigKey key;
  UploadSharing sharing;
};
constexpr SharingKey kSharingKeys[] = {{ConfigKey::UpLoadPublic1, UploadSharing::Public},
                                       {ConfigKey::UpLoadPublic2, UploadSharing::Private},
                                       {ConfigKey::UpLoadPublic3, UploadSharing::Club}};

UploadSharing sharingOfLetter(char letter) {
  switch (letter) {
    case 't':
      return UploadSharing::Public;
    case 'c':
      return UploadSharing::Club;
    default:
      return UploadSharing::Private;
  }
}

// The boolean field a key names, or null for the sharing keys and BasicFolder.
bool* flagOf(SettingsChoice& choice, const std::string& key) {
  if (key == configKeyName(ConfigKey::AotuLogin)) return &choice.autoLogin;
  if (key == configKeyName(ConfigKey::AotoUpLoad)) return &choice.autoUpload;
  if (key == configKeyName(ConfigKey::AotoDownLoad)) return &choice.autoDownload;
  return nullptr;
}

const SharingKey* sharingKeyOf(const std::string& key) {
  for (const SharingKey& each : kSharingKeys) {
    if (key == configKeyName(each.key)) return &each;
  }
  return nullptr;
}

}  // namespace

SettingsChoice readSettingsChoice(const ConfigStore& config) {
  SettingsChoice choice;
  choice.autoLogin = config.readBool(ConfigKey::AotuLogin);
  choice.autoUpload = config.readBool(ConfigKey::AotoUpLoad);
  choice.autoDownload = config.readBool(ConfigKey::AotoDownLoad);
  choice.sharing = sharingOfLetter(config.uploadSharingState());
  return choice;
}

void writeSettingsChoice(ConfigStore& config, const SettingsChoice& choice) {
  config.writeBool(ConfigKey::AotuLogin, choice.autoLogin);
  config.writeBool(ConfigKey::AotoUpLoad, choice.autoUpload);
  config.writeBool(ConfigKey::AotoDownLoad, choice.autoDownload);
  for (const SharingKey& each : kSharingKeys) {
    config.writeBool(each.key, choice.sharing == each.sharing);
  }
}

UploadSharing sharingFromChecks(bool publicChecked, bool privateChecked, bool clubChecked) {
  UploadSharing sharing = UploadSharing::Private;
  if (publicChecked) sharing = UploadSharing::Public;
  if (privateChecked) sharing = UploadSharing::Private;
  if (clubChecked) sharing = UploadSharing::Club;
  return sharing;
}

const std::vector<std::string>& settingsKeyNames() {
  static const std::vector<std::string> names = {configKeyName(ConfigKey::AotuLogin),
                                                 configKeyName(ConfigKey::AotoUpLoad),
                                                 configKeyName(ConfigKey::AotoDownLoad),
                                                 configKeyName(ConfigKey::UpLoadPublic1),
                                                 configKeyName(ConfigKey::UpLoadPublic2),
                                                 configKeyName(ConfigKey::UpLoadPublic3),
                                                 kBasicFolderKey};
  return names;
}

bool isSettingsKey(const std::string& name) {
  for (const std::string& each : settingsKeyNames()) {
    if (each == name) return true;
  }
  return false;
}

std::string settingsValue(const SettingsChoice& choice, const std::string& folder,
                          const std::string& key) {
  if (key == kBasicFolderKey) return folder;
  SettingsChoice copy = choice;
  if (const bool* flag = flagOf(copy, key)) return *flag ? "1" : "0";
  const SharingKey* sharing = sharingKeyOf(key);
  return sharing != nullptr && sharing->sharing == choice.sharing ? "1" : "0";
}

bool applySettingsValue(SettingsChoice& choice, const std::string& key, const std::string& value,
                        std::string& why) {
  if (value != "1" && value != "0") {
    why = key + " takes 1 or 0, not \"" + value + "\"";
    return false;
  }
  const bool on = value == "1";
  if (bool* flag = flagOf(choice, key)) {
    *flag = on;
    return true;
  }
  const SharingKey* sharing = sharingKeyOf(key);
  if (sharing == nullptr) {
    why = "unknown key " + key;
    return false;
  }
  if (on) {
    choice.sharing = sharing->sharing;
  } else if (choice.sharing == sharing->sharing) {
    why =
        "the UpLoadPublic keys are one choice: set the one to use to 1 instead of " + key + " to 0";
    return false;
  }
  return true;
}

bool acceptableFolder(FileSystem& files, const std::string& path, std::string& why) {
  if (path.empty() || path.size() > kMaxFolderBytes) {
    why = "a folder path takes 1 to " + std::to_string(kMaxFolderBytes) + " bytes";
    return false;
  }
  if (!files.info(path).isDirectory) {
    why = "no such folder: " + path;
    return false;
  }
  return true;
}

}  // namespace pom
