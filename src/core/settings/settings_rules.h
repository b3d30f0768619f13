// The preferences the settings dialog edits and the rules both of its front
// ends (the dialog, `pomcli config`) apply to them: how they are read from
// section Config, how they are written, and which values a key takes.
//
// The three UpLoadPublic keys are one choice. They are read with the upload
// engine's own rule (ConfigStore::uploadSharingState: UpLoadPublic1, 2, 3 in
// that order, the last one set wins, none set means private), so the dialog
// shows exactly the sharing state new uploads get, and they are always
// written back with exactly one of them "1".
//
// Pure functions over ConfigStore and FileSystem; loop thread only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pom {

class ConfigStore;
class FileSystem;

enum class UploadSharing { Public, Private, Club };

struct SettingsChoice {
  bool autoLogin = false;     // AotuLogin
  bool autoUpload = false;    // AotoUpLoad
  bool autoDownload = false;  // AotoDownLoad
  UploadSharing sharing = UploadSharing::Private;

  bool operator==(const SettingsChoice& other) const {
    return autoLogin == other.autoLogin && autoUpload == other.autoUpload &&
           autoDownload == other.autoDownload && sharing == other.sharing;
  }
};

// The longest folder path a reader gets back whole (260-byte buffers).
inline constexpr std::size_t kMaxFolderBytes = 259;

// The choice as section Config holds it now.
SettingsChoice readSettingsChoice(const ConfigStore& config);
// Writes AotuLogin, AotoUpLoad, AotoDownLoad, UpLoadPublic1, UpLoadPublic2,
// UpLoadPublic3 in this order, each "1" or "0".
void writeSettingsChoice(ConfigStore& config, const SettingsChoice& choice);
// The sharing of three radio states by the same rule (later ones win, none
// checked: private), so even a view that reported two checked saves one.
UploadSharing sharingFromChecks(bool publicChecked, bool privateChecked, bool clubChecked);

// The keys `pomcli config` reads and writes, named as in the file, in the
// dialog's order: the six above, then BasicFolder.
const std::vector<std::string>& settingsKeyNames();
bool isSettingsKey(const std::string& name);
// The value of a key as the dialog would show it ("1"/"0", or the folder).
std::string settingsValue(const SettingsChoice& choice, const std::string& folder,
                          const std::string& key);
// Applies "KEY VALUE" to the choice (not BasicFolder). Booleans take "1" or
// "0"; a sharing key takes "1" (it becomes the choice) or "0" only when it is
// not the current choice, since no sharing key set is not a choice. False
// with the reason in `why`.
bool applySettingsValue(SettingsChoice& choice, const std::string& key, const std::string& value,
                        std::string& why);
// A download folder can be kept when it is an existing folder whose path a
// reader gets back whole. False with the reason in `why`.
bool acceptableFolder(FileSystem& files, const std::string& path, std::string& why);

}  // namespace pom
