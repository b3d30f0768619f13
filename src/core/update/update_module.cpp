#include "core/update/update_module.h"

#include "core/hub/module_context.h"
#include "core/ports/dialogs.h"
#include "core/ports/shell.h"
#include "core/update/banned_word_load.h"

namespace pom {

MessageBoxRequest updaterFailedBox() {
  MessageBoxRequest box;
  box.text = "업데이트 프로그램을 실행할 수 없습니다. 이전 버전으로 실행합니다.     ";
  box.caption = "알림";
  box.icon = MessageIcon::Warning;
  box.owner = DialogOwner::None;
  return box;
}

UpdateModule::UpdateModule(ModuleContext& context) : context_(context) {
  versions_.load(context_.config());
  if (context_.ports().versionCheck) runVersionCheck();
  context_.provide<VersionLink>(*this);
}

UpdateModule::~UpdateModule() {
  context_.withdraw<VersionLink>();
}

void UpdateModule::runVersionCheck() {
  const AppPorts& ports = context_.ports();
  const HostPort server = context_.servers().http(Server::UpdateServer);
  VersionCheckSettings settings;
  settings.updateServer = server.host + ":" + std::to_string(server.port);
  settings.workingDir = ports.workingDir;
  settings.programDir = ports.programDir;
  VersionCheck check(*ports.http, *ports.files, context_.config(), settings);
  check_ = check.run();
  versions_.set(check_.clientVersion, check_.updaterVersion);
  if (!check_.updateNeeded) return;
  // Quoted: the program's folder may hold blanks.
  if (ports.shell->runProgram("\"" + check.updaterPath() + "\"")) {
    handingOver_ = true;
    return;
  }
  ports.dialogs->messageBox(updaterFailedBox());
}

void UpdateModule::start() {
  if (context_.config().readInt(ConfigKey::BadSearch) != 0) return;
  const HostPort server = context_.servers().http(Server::UpdateServer);
  loadBannedWords(*context_.ports().http, *context_.ports().files,
                  server.host + ":" + std::to_string(server.port), context_.ports().workingDir,
                  check_.serverReachable, kBannedWordTimeoutMs, bannedWords_);
}

}  // namespace pom
