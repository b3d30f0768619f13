#include "core/base/config_keys.h"

#include <cstdio>

#include "core/ports/profile.h"
#include "core/ports/registry.h"

namespace pom {

namespace {

struct KeyInfo {
  ConfigKey key;
  const char* name;
  int defaultValue;
};

constexpr KeyInfo kKeys[] = {
    {ConfigKey::UserId, "UserId", 0},
    {ConfigKey::UserPw, "UserPw", 0},
    {ConfigKey::UserPwSave, "UserPwSave", 0},
    {ConfigKey::AotuLogin, "AotuLogin", 0},
    {ConfigKey::AotoUpLoad, "AotoUpLoad", 0},
    {ConfigKey::AotoDownLoad, "AotoDownLoad", 0},
    {ConfigKey::UpLoadPublic1, "UpLoadPublic1", 0},
    {ConfigKey::UpLoadPublic2, "UpLoadPublic2", 0},
    {ConfigKey::UpLoadPublic3, "UpLoadPublic3", 0},
    {ConfigKey::BasicFolder, "BasicFolder", 0},
    {ConfigKey::BadSearch, "BadSearch", 0},
    {ConfigKey::DownLoadCount, "DownLoadCount", 1},
    {ConfigKey::DownLoadWindowClose, "DownLoadWindowClose", 0},
    {ConfigKey::UpLoadCount, "UpLoadCount", 1},
    {ConfigKey::UpLoadWindowClose, "UpLoadWindowClose", 0},
};

const KeyInfo& info(ConfigKey key) {
  for (const KeyInfo& k : kKeys) {
    if (k.key == key) return k;
  }
  return kKeys[0];  // unreachable for valid enumerators
}

std::string pvName(int n) {
  return "Pv_dl" + std::to_string(n);
}

}  // namespace

const char* configKeyName(ConfigKey key) {
  return info(key).name;
}

int configKeyDefault(ConfigKey key) {
  return info(key).defaultValue;
}

int configKeySettingsDialogDefault(ConfigKey key) {
  return key == ConfigKey::UpLoadPublic2 ? 1 : configKeyDefault(key);
}

ConfigStore::ConfigStore(Profile& profile, Registry& registry, std::string workingDir)
    : profile_(profile), registry_(registry), workingDir_(std::move(workingDir)) {}

int ConfigStore::readInt(ConfigKey key) const {
  return profile_.readInt(kConfigSection, configKeyName(key), configKeyDefault(key), kConfigFile);
}

int ConfigStore::readIntForSettingsDialog(ConfigKey key) const {
  return profile_.readInt(kConfigSection, configKeyName(key), configKeySettingsDialogDefault(key),
                          kConfigFile);
}

std::string ConfigStore::readText(ConfigKey key) const {
  return profile_.readText(kConfigSection, configKeyName(key), "", kConfigTextBuffer, kConfigFile);
}

bool ConfigStore::writeText(ConfigKey key, const std::string& text) {
  return profile_.writeText(kConfigSection, configKeyName(key), text, kConfigFile);
}

bool ConfigStore::writeBool(ConfigKey key, bool value) {
  return writeText(key, value ? "1" : "0");
}

bool ConfigStore::writeInt(ConfigKey key, int value) {
  return writeText(key, std::to_string(value));
}

char ConfigStore::uploadSharingState() const {
  char state = 'f';
  if (readInt(ConfigKey::UpLoadPublic1) != 0) state = 't';
  if (readInt(ConfigKey::UpLoadPublic2) != 0) state = 'f';
  if (readInt(ConfigKey::UpLoadPublic3) != 0) state = 'c';
  return state;
}

std::string ConfigStore::fontFilePath() const {
  return workingDir_ + "/" + kFontFileName;
}

std::string ConfigStore::fontFace() const {
  return profile_.readText(kFontSection, kFontKey, kDefaultFontFace, kFontFaceBuffer,
                           fontFilePath());
}

std::string ConfigStore::uver() const {
  std::string value;
  registry_.readString(kRegistrySubkey, "uver", kDefaultVersion, kRegistryTextBuffer, value);
  return value;
}

std::string ConfigStore::cver() const {
  std::string value;
  registry_.readString(kRegistrySubkey, "cver", kDefaultVersion, kRegistryTextBuffer, value);
  return value;
}

bool ConfigStore::setUver(const std::string& text) {
  return registry_.writeString(kRegistrySubkey, "uver", text);
}

bool ConfigStore::setCver(const std::string& text) {
  return registry_.writeString(kRegistrySubkey, "cver", text);
}

std::string ConfigStore::pvDownloadSpeed(int n, bool* ok) {
  std::string value;
  const bool read =
      registry_.readString(kRegistrySubkey, pvName(n), "0", kRegistryTextBuffer, value);
  if (!read) {
    value = "0";
    registry_.writeString(kRegistrySubkey, pvName(n), value);
  }
  if (ok != nullptr) *ok = read;
  return value;
}

bool ConfigStore::setPvDownloadSpeed(int n, const std::string& text) {
  return registry_.writeString(kRegistrySubkey, pvName(n), text);
}

}  // namespace pom
