// The program's entry point: the single-instance check, the ports, the one
// ClientApp, the top window with its views, the only message loop and the
// teardown, with the exit codes the program promises (-1 when another
// instance runs or start-up fails, 1 when the member closed the program).
#include <windows.h>

#include <objbase.h>

#include "core/app/client_app.h"
#include "core/base/config_keys.h"
#include "core/mainwindow/main_window_presenter.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/winsock_socket.h"
#include "win32/dialog_views.h"
#include "win32/login_window.h"
#include "win32/main_window.h"
#include "win32/top_window.h"

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

bool isOwnWindow(HWND top, HWND window) {
  return window != nullptr && (window == top || IsChild(top, window));
}

// The splitter tracker sees every mouse move, left-button down and up of any
// window of the program, in the top window's client coordinates; Escape in
// the window (or any of its controls) sends the close command.
void preTranslate(const MSG& message, TopWindow& top) {
  ClientApp* app = ClientApp::instance();
  MainWindowPresenter* main = app != nullptr ? app->mainWindow() : nullptr;
  if (main == nullptr || !main->layoutBuilt()) return;
  switch (message.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      const POINT at = top.cursorInClient();
      if (message.message == WM_MOUSEMOVE) main->trackMouseMove(at.x, at.y);
      if (message.message == WM_LBUTTONDOWN) main->trackLeftDown(at.x, at.y);
      if (message.message == WM_LBUTTONUP) main->trackLeftUp(at.x, at.y);
      break;
    }
    case WM_KEYDOWN:
      if (message.wParam == VK_ESCAPE && isOwnWindow(top.handle(), message.hwnd)) main->onEscape();
      break;
  }
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

  Win32EventLoop loop;
  Win32Clock clock;
  CrtRandom random;
  WinsockSocketFactory sockets;
  Win32Profile profile;
  Win32Registry registry;
  Win32FileSystem files;
  Win32HttpClient http;
  Win32Dialogs dialogs;
  Win32Shell shell;

  AppPorts ports;
  ports.loop = &loop;
  ports.clock = &clock;
  ports.random = &random;
  ports.sockets = &sockets;
  ports.profile = &profile;
  ports.registry = &registry;
  ports.files = &files;
  ports.http = &http;
  ports.dialogs = &dialogs;
  ports.shell = &shell;
  ports.workingDir = workingDirectory();

  ClientApp* app = ClientApp::createAndInitialise(ports);
  if (app == nullptr) return kExitAlreadyRunning;

  int exitCode = kExitAfterClose;
  {
    TopWindow top(instance, app->config().fontFace());
    Win32LoginView login(top);
    Win32MainWindowView main(top);
    Win32ProgressDialogView progress(instance);
    Win32TermExtensionDialogView termExtension(instance);
    // Message boxes are owned by the window the core names.
    dialogs.setResolver([&](DialogOwner owner) -> HWND {
      switch (owner) {
        case DialogOwner::TopWindow:
        case DialogOwner::LoginWindow:
        case DialogOwner::MainWindow:
          return top.handle();
        case DialogOwner::TermExtensionDialog:
          return termExtension.handle();
        default:
          return nullptr;
      }
    });

    // A window that cannot be created leaves the program without one, as
    // designed; the loop then simply finds nothing to do but the sockets.
    if (top.createWindow()) {
      sockets.setWindow(top.handle());
      login.createControls();
    }
    FrontEnd frontEnd;
    frontEnd.login = top.handle() != nullptr ? &login : nullptr;
    frontEnd.main = top.handle() != nullptr ? &main : nullptr;
    frontEnd.progress = &progress;
    frontEnd.termExtension = &termExtension;
    frontEnd.mainWindowSink = &main;
    frontEnd.loginWindowSink = &login;
    frontEnd.endProgram = [] { PostQuitMessage(0); };
    app->run(frontEnd);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      preTranslate(message, top);
      if (progress.exists() && IsDialogMessageW(progress.handle(), &message)) continue;
      if (termExtension.exists() && IsDialogMessageW(termExtension.handle(), &message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    exitCode = top.closedByMember() ? kExitAfterClose : static_cast<int>(message.wParam);
    dialogs.setResolver(nullptr);
    // The views die with this scope: detach them from the core first.
    ClientApp::teardown();
  }
  OleUninitialize();
  return exitCode;
}

}  // namespace
}  // namespace pom

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  return pom::runProgram(instance);
}
