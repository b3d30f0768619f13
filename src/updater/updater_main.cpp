// PomUpdater.exe: updates the client in its own folder and starts it again.
//
// The update server's host comes from "PomConfig.ini" (section "Servers", key
// "UpdateServer") in the updater's folder, like the client's (127.0.0.1 when
// unset). Exit code 0 when the client was updated, 1 otherwise; either way the
// client in the folder is started (the old one, unchanged, after a failure,
// told not to hand over again) and one line is appended to "PomUpdater.log".
#include <windows.h>

#include <cstdio>
#include <string>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "core/update/version_check.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_http_client.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "updater/updater.h"

namespace pom {
namespace {

std::wstring ownFolder() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  std::wstring path(buffer, length < MAX_PATH ? length : 0);
  const std::wstring::size_type slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

void sleepFor(int ms) {
  Sleep(static_cast<DWORD>(ms));
}

std::string updateServer(Profile& profile, const std::string& folder) {
  const std::string value =
      profile.readText(kServersSection, serverKeyName(Server::UpdateServer),
                       serverDefault(Server::UpdateServer), 260, folder + "\\PomConfig.ini");
  HostPort server;
  if (!parseHostPort(value, kHttpPort, server) &&
      !parseHostPort(serverDefault(Server::UpdateServer), kHttpPort, server))
    return "127.0.0.1:80";
  return server.host + ":" + std::to_string(server.port);
}

void appendLog(const std::wstring& folder, const std::string& line) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  const std::string text = stamp + line + "\r\n";
  HANDLE file = CreateFileW((folder + L"\\PomUpdater.log").c_str(), FILE_APPEND_DATA,
                            FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

// Starts the client from the folder, with the folder as its working directory.
bool startClient(const std::wstring& folder, bool updateFailed) {
  if (updateFailed) SetEnvironmentVariableW(widen(kUpdateFailedVariable).c_str(), L"1");
  std::wstring line = L"\"" + folder + L"\\" + widen(kClientProgram) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

int run() {
  const std::wstring folder = ownFolder();
  const std::string folderText = narrow(folder);
  Win32Profile profile;
  Win32Registry registry;
  Win32FileSystem files;
  Win32HttpClient http;
  ConfigStore config(profile, registry, folderText);
  const UpdateOutcome outcome =
      updateClient(http, files, config, folderText, updateServer(profile, folderText), sleepFor);
  std::string line = outcome.message;
  const bool started = startClient(folder, !outcome.replaced);
  line += started ? (outcome.replaced ? "; started the new client" : "; started the old client")
                  : "; the client could not be started";
  appendLog(folder, line);
  return outcome.replaced ? 0 : 1;
}

}  // namespace
}  // namespace pom

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return pom::run();
}
