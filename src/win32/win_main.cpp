// The program's entry point: the single-instance check, the ports, the one
// ClientApp, the front end with its views, the only message loop and the
// teardown, with the exit codes the program promises (-1 when another
// instance runs or start-up fails, 0 when the updater takes over, 1 when the
// program was ended).
#include <windows.h>

#include <objbase.h>

#include "core/app/client_app.h"
#include "core/update/version_check.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_ports.h"
#include "win32/win32_front_end.h"

namespace pom {
namespace {

// True when another instance holds the mutex (or it cannot be created). The
// handle stays open for the life of the process.
bool anotherInstanceRuns() {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, widen(kInstanceMutexName).c_str());
  if (mutex == nullptr) return true;
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  ReleaseMutex(mutex);
  return existed;
}

std::string workingDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetCurrentDirectoryW(MAX_PATH, buffer);
  return length > 0 && length < MAX_PATH ? narrow(std::wstring(buffer, length)) : std::string(".");
}

// The folder of the program file: the updater is kept and started there,
// whatever the working directory is.
std::string programDirectory() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  std::wstring path(buffer, length);
  const std::wstring::size_type slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::string() : narrow(path.substr(0, slash));
}

// True when the updater started this client after a failed update (see
// kUpdateFailedVariable); the mark is removed so that it reaches no child.
bool updateJustFailed() {
  const std::wstring name = widen(kUpdateFailedVariable);
  wchar_t value[8] = {};
  const bool set = GetEnvironmentVariableW(name.c_str(), value, 8) > 0;
  SetEnvironmentVariableW(name.c_str(), nullptr);
  return set;
}

int runProgram(HINSTANCE instance) {
  if (anotherInstanceRuns()) {
    Win32Dialogs dialogs;
    dialogs.messageBox(alreadyRunningBox());
    ClientApp::teardown();  // nothing exists yet
    return kExitAlreadyRunning;
  }
  // The shell's pickers and the browser objects want OLE on this thread.
  OleInitialize(nullptr);

  int exitCode = kExitAlreadyRunning;
  {
    Win32Ports platform(workingDirectory());
    AppPorts ports = platform.ports();
    ports.programDir = programDirectory();
    ports.versionCheck = !updateJustFailed();
    ClientApp* app = ClientApp::createAndInitialise(ports);
    // The updater was started: end at once, before any window exists.
    if (app == nullptr && ClientApp::handedOverToUpdater()) exitCode = kExitForUpdate;
    if (app != nullptr) {
      Win32FrontEnd front(instance, *app, platform.sockets, platform.dialogs);
      app->run(front);
      MSG message{};
      while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (front.preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
      }
      exitCode = static_cast<int>(message.wParam);
      // The views die with the application: the front end forgets them first.
      front.forgetViews();
      ClientApp::teardown();
    }
  }
  OleUninitialize();
  return exitCode;
}

}  // namespace
}  // namespace pom

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return pom::runProgram(instance);
}
