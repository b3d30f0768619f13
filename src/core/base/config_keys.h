// Configuration keys and the store that reads and writes them at the moment
// of use.
//
// There is no cached configuration object: every accessor of ConfigStore goes
// straight to the Profile ("./PomConfig.ini" section Config, "<working
// dir>/font.ini" section FONT) or the Registry (HKCU\Software\Pomvale2.0\), so a
// value written by one part of the program is seen by the next read anywhere.
// Missing files, sections and keys yield the defaults below; nothing is
// reported. Booleans are stored as "1"/"0" and read as integers (text that does
// not start with digits reads 0). Texts are CP949 bytes.
//
// ConfigStore holds references to the ports only; it is cheap to construct
// wherever it is needed and must not outlive the ports it was given.
#pragma once

#include <cstddef>
#include <string>

namespace pom {

class Profile;
class Registry;

// Files, sections and buffers.
inline constexpr char kConfigFile[] = "./PomConfig.ini";
inline constexpr char kConfigSection[] = "Config";
inline constexpr std::size_t kConfigTextBuffer = 260;
inline constexpr char kFontFileName[] = "font.ini";
inline constexpr char kFontSection[] = "FONT";
inline constexpr char kFontKey[] = "font";
inline constexpr char kDefaultFontFace[] = "굴림체";
inline constexpr std::size_t kFontFaceBuffer = 30;  // at most 29 bytes
inline constexpr int kFontHeight = 12;

inline constexpr char kRegistrySubkey[] = "Software\\Pomvale2.0\\";
inline constexpr std::size_t kRegistryTextBuffer = 256;  // up to 255 bytes
inline constexpr char kDefaultVersion[] = "0.9";
inline constexpr int kPvDownloadSpeedCount = 10;  // "Pv_dl1" .. "Pv_dl10"

// Every key of section Config. Names are exactly as stored in the file
// (including their historical spellings "AotuLogin", "AotoUpLoad", ...).
enum class ConfigKey {
  UserId,
  UserPw,
  UserPwSave,
  AotuLogin,
  AotoUpLoad,
  AotoDownLoad,
  UpLoadPublic1,
  UpLoadPublic2,
  UpLoadPublic3,
  BasicFolder,
  BadSearch,
  DownLoadCount,
  DownLoadWindowClose,
  UpLoadCount,
  UpLoadWindowClose,
};

// The key's name in the file ("UserId", "AotoDownLoad", ...).
const char* configKeyName(ConfigKey key);
// The integer default for every reader except the settings dialog
// (DownLoadCount and UpLoadCount 1, everything else 0).
int configKeyDefault(ConfigKey key);
// The integer default the settings dialog uses: as above, except that
// UpLoadPublic2 defaults to 1 there (private is the dialog's initial choice).
int configKeySettingsDialogDefault(ConfigKey key);

class ConfigStore {
 public:
  // workingDir: the program's working directory as the platform reports it
  // (font.ini lives there); no trailing separator needed.
  ConfigStore(Profile& profile, Registry& registry, std::string workingDir);

  // Section Config of "./PomConfig.ini".
  int readInt(ConfigKey key) const;                   // default: configKeyDefault
  int readIntForSettingsDialog(ConfigKey key) const;  // default: configKeySettingsDialogDefault
  bool readBool(ConfigKey key) const { return readInt(key) != 0; }
  std::string readText(ConfigKey key) const;  // 260-byte buffer, default empty
  bool writeText(ConfigKey key, const std::string& text);
  bool writeBool(ConfigKey key, bool value);  // "1" or "0"
  bool writeInt(ConfigKey key, int value);    // decimal

  // Sharing state letter for a new upload or folder from the three
  // UpLoadPublic keys: 't' for 1, 'f' for 2, 'c' for 3, a later key winning;
  // 'f' when none is set.
  char uploadSharingState() const;

  // "<working dir>/font.ini", section FONT, key font, default "굴림체", cut to
  // 29 bytes. The client never writes it.
  std::string fontFilePath() const;
  std::string fontFace() const;

  // Registry HKCU\Software\Pomvale2.0\ values; "0.9" when missing.
  std::string uver() const;
  std::string cver() const;
  bool setUver(const std::string& text);
  bool setCver(const std::string& text);
  // "Pv_dl<n>", n from 1 to 10: the value text, or "0" (then also written)
  // when it cannot be read. ok (optional) tells whether the value was read.
  std::string pvDownloadSpeed(int n, bool* ok = nullptr);
  bool setPvDownloadSpeed(int n, const std::string& text);

  const std::string& workingDir() const { return workingDir_; }

 private:
  Profile& profile_;
  Registry& registry_;
  std::string workingDir_;
};

}  // namespace pom
