// ConfigCommand: `pomcli config get [KEY]` and `pomcli config set KEY VALUE`,
// the settings dialog without its window. It opens the same presenter the
// dialog runs on (SettingsDialog, over the working folder's PomConfig.ini),
// so it reads and writes the same keys by the same rules: a sharing key set
// to 1 leaves exactly that one of UpLoadPublic1..3 set, and a set writes the
// six keys the dialog's OK writes; BasicFolder takes an existing folder, as
// the dialog's folder button does. Needs no login and no service.
//
// Exit codes as pomcli's: 0 done, 1 refused (the reason on the error
// stream), 2 bad usage. Values are printed and taken in UTF-8.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace pom {

// The lines of pomcli's usage that describe the command and its keys.
extern const char kConfigUsage[];

// arguments: what follows "config" ("get" [KEY] or "set" KEY VALUE).
int runConfigCommand(const std::vector<std::string>& arguments,
                     const std::filesystem::path& workDir, std::ostream& out, std::ostream& err);

}  // namespace pom
