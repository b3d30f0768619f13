// UpdateModule: the version check, the hand-over to the updater and the
// banned search words as one module of the composition root.
//
// It is the first module and has no member among those made in the creation stages.
// When the front end asks for the version check (AppPorts::versionCheck), it
// runs in the constructor, before any other module exists; when the client is
// out of date it starts "PomUpdater.exe" from the program's folder and
// reports handingOver(), and the composition root then makes nothing else.
// An updater that cannot be started leaves the old client running, with a
// message box. start() loads the banned words (when "BadSearch" is 0 or
// missing) after the login window exists. Offers VersionLink. Loop thread
// only.
#pragma once

#include "core/hub/module.h"
#include "core/hub/version_link.h"
#include "core/update/banned_word_list.h"
#include "core/update/version_check.h"
#include "core/update/version_info.h"

namespace pom {

class ModuleContext;
struct MessageBoxRequest;

// Shown when the client is out of date but the updater cannot be started.
MessageBoxRequest updaterFailedBox();

class UpdateModule final : public Module, public VersionLink {
 public:
  explicit UpdateModule(ModuleContext& context);
  ~UpdateModule() override;

  const char* name() const override { return "update"; }
  void start() override;

  // VersionLink
  std::string clientVersion() const override { return versions_.clientVersion(); }
  const BannedWordList& bannedWords() const override { return bannedWords_; }
  bool isBannedWord(std::string_view keyword) const override {
    return bannedWords_.contains(keyword);
  }

  const VersionInfo& versions() const { return versions_; }
  // The updater was started: the program must end now with exit code 0.
  bool handingOver() const { return handingOver_; }
  // What the version check found (default values when it did not run).
  const VersionCheckResult& check() const { return check_; }

 private:
  void runVersionCheck();

  ModuleContext& context_;
  VersionInfo versions_;
  VersionCheckResult check_;
  BannedWordList bannedWords_;
  bool handingOver_ = false;
};

}  // namespace pom
