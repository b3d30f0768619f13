#include "cli/config_command.h"

#include <system_error>

#include "cli/headless_client.h"
#include "core/base/config_keys.h"
#include "core/ports/text_codec.h"
#include "core/settings/settings_dialog.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_registry.h"

namespace pom {

const char kConfigUsage[] =
    "without a login, in the working folder's PomConfig.ini (--workdir DIR):\n"
    "  config get [KEY]                 one preference of the settings dialog, or all as "
    "KEY=VALUE\n"
    "  config set KEY VALUE             KEY as in PomConfig.ini: AotuLogin, AotoUpLoad, "
    "AotoDownLoad\n"
    "                                   (1 or 0); UpLoadPublic1 (public), UpLoadPublic2 "
    "(private),\n"
    "                                   UpLoadPublic3 (club-only): set one to 1, the others become "
    "0;\n"
    "                                   BasicFolder: an existing folder\n";

namespace {

int code(Outcome outcome) {
  return static_cast<int>(outcome);
}

int refuse(std::ostream& err, const std::string& why) {
  err << "pomcli: config: " << cp949ToUtf8(why) << "\n";
  return code(Outcome::Failed);
}

// The folder as the program keeps it: absolute, CP949.
std::string programFolder(const std::string& utf8) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(utf8, error);
  return utf8ToCp949(error ? utf8 : absolute.lexically_normal().string());
}

}  // namespace

int runConfigCommand(const std::vector<std::string>& arguments,
                     const std::filesystem::path& workDir, std::ostream& out, std::ostream& err) {
  const std::string verb = arguments.empty() ? std::string() : arguments[0];
  const bool get = verb == "get" && arguments.size() <= 2;
  const bool set = verb == "set" && arguments.size() == 3;
  if (!get && !set) {
    err << "pomcli: config takes get [KEY] or set KEY VALUE\n" << kConfigUsage;
    return code(Outcome::BadUsage);
  }
  if (arguments.size() >= 2 && !isSettingsKey(arguments[1])) {
    return refuse(err, "unknown key " + utf8ToCp949(arguments[1]) +
                           " (keys: AotuLogin AotoUpLoad AotoDownLoad UpLoadPublic1 "
                           "UpLoadPublic2 UpLoadPublic3 BasicFolder)");
  }

  PosixProfile profile(workDir);
  PosixRegistry registry(workDir);
  PosixFileSystem files;
  ConfigStore config(profile, registry, workDir.string());
  SettingsDialog dialog(config, files, nullptr, nullptr);
  dialog.open();

  if (get) {
    for (const std::string& key : settingsKeyNames()) {
      if (arguments.size() == 2 && key != arguments[1]) continue;
      if (arguments.size() == 1) out << key << "=";
      out << cp949ToUtf8(settingsValue(dialog.choice(), dialog.folder(), key)) << "\n";
    }
    dialog.cancel();
    return code(Outcome::Done);
  }

  const std::string& key = arguments[1];
  std::string why;
  if (key == configKeyName(ConfigKey::BasicFolder)) {
    const bool used = dialog.useFolder(programFolder(arguments[2]), why);
    dialog.cancel();
    return used ? code(Outcome::Done) : refuse(err, why);
  }
  SettingsChoice choice = dialog.choice();
  if (!applySettingsValue(choice, key, utf8ToCp949(arguments[2]), why)) {
    dialog.cancel();
    return refuse(err, why);
  }
  dialog.setChoice(choice);
  dialog.ok();
  return code(Outcome::Done);
}

}  // namespace pom
