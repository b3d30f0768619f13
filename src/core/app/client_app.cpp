#include "core/app/client_app.h"

#include <cstdlib>

#include "core/hub/main_window_link.h"
#include "core/hub/session_link.h"
#include "core/localfs/local_browser_module.h"
#include "core/mainwindow/main_window_module.h"
#include "core/search/search_module.h"
#include "core/session/session_module.h"
#include "core/storage/storage_module.h"
#include "core/transfer/download_module.h"
#include "core/transfer/peer_module.h"
#include "core/transfer/upload_module.h"
#include "core/update/update_module.h"

namespace pom {
namespace {

ClientApp* g_app = nullptr;
std::vector<std::string> g_startProblems;
bool g_handedOver = false;

}  // namespace

MessageBoxRequest alreadyRunningBox() {
  MessageBoxRequest box;
  box.text = "폼베일2.0b가 이미 실행중입니다!     ";
  box.icon = MessageIcon::Warning;
  box.owner = DialogOwner::None;
  return box;
}

// The modules in module order. Within each creation stage the members come
// to life in this order, which gives the designed order of the whole
// program: session state; login-server connection, upload sessions, download
// sessions; login window, main window, (upload window, download window,
// settings dialog, friend and memo dialogs,) progress dialog, term-extension
// dialog; peer-source manager.
void ClientApp::addModules() {
  add<UpdateModule>();
  // The updater takes over: nothing else of the program is made.
  if (module<UpdateModule>().handingOver()) return;
  add<SessionModule>();
  add<MainWindowModule>();
  add<UploadModule>();
  add<DownloadModule>();
  add<LocalBrowserModule>();
  add<StorageModule>();
  add<PeerModule>();
  add<SearchModule>();
}

ClientApp* ClientApp::instance() {
  return g_app;
}

const std::vector<std::string>& ClientApp::startProblems() {
  return g_startProblems;
}

bool ClientApp::handedOverToUpdater() {
  return g_handedOver;
}

ClientApp::ClientApp(const AppPorts& ports) : context_(ports) {}

ClientApp::~ClientApp() {
  deleteMembers();
  // Modules go in reverse order of making, each withdrawing its links.
  while (!modules_.empty()) modules_.pop_back();
}

ClientApp* ClientApp::createAndInitialise(const AppPorts& ports) {
  if (g_app != nullptr) return g_app;
  g_startProblems.clear();
  g_handedOver = false;
  if (!ports.complete()) {
    g_startProblems.push_back("a port is missing");
    return nullptr;
  }
  g_app = new ClientApp(ports);
  if (!g_app->initialise()) {
    g_startProblems = g_app->context_.problems();
    g_handedOver = g_app->module<UpdateModule>().handingOver();
    teardown();
    return nullptr;
  }
  return g_app;
}

void ClientApp::teardown() {
  delete g_app;  // the destructor deletes the members in their order
  g_app = nullptr;
}

bool ClientApp::initialise() {
  // The version check against the update server comes first (the update
  // module runs it as it is made, before any other module exists).
  addModules();
  if (module<UpdateModule>().handingOver()) return false;
  bool wired = true;
  for (auto& module : modules_) wired = module->connect() && wired;
  if (!wired || !context_.problems().empty()) return false;
  for (Stage stage : kCreationStages) {
    for (auto& module : modules_) module->create(stage);
    if (stage == Stage::Connections) {
      gameSettingsPath_ = context_.ports().workingDir + "\\GameSetting.ini";
      context_.note("+GameSettingsPath");
    }
  }
  created_ = true;
  return context_.problems().empty();
}

void ClientApp::deleteMembers() {
  if (!created_) return;
  created_ = false;
  for (Stage stage : kTeardownStages) {
    for (auto& module : modules_) module->destroy(stage);
    if (stage == Stage::State) {
      gameSettingsPath_.clear();
      context_.note("-GameSettingsPath");
    }
  }
  if (frontEnd_ != nullptr) frontEnd_->withdrawViews(context_);
}

void ClientApp::run(FrontEnd& frontEnd) {
  frontEnd_ = &frontEnd;
  frontEnd.offerViews(context_);
  for (auto& module : modules_) module->attachViews();
  for (auto& module : modules_) module->start();
  for (auto& module : modules_) module->show();
}

void ClientApp::dispatchWindowMessage(std::uint32_t message, std::uintptr_t wParam,
                                      std::intptr_t lParam) {
  context_.fanOut().dispatch(message, wParam, lParam);
}

void ClientApp::repaintAll() {
  MainWindowLink* main = context_.find<MainWindowLink>();
  SessionLink* session = context_.find<SessionLink>();
  if (session == nullptr || main == nullptr) return;
  if (session->loggedIn()) main->paint();
  session->paintLoginWindow();
}

std::vector<std::string> ClientApp::moduleNames() const {
  std::vector<std::string> names;
  for (const auto& m : modules_) names.push_back(m->name());
  return names;
}

}  // namespace pom
