#include "platform/win32/win32_shell.h"

#include <exdisp.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstring>

#include "platform/win32/wide_text.h"

namespace pom {

bool Win32Shell::execute(const std::string& verb, const std::string& file,
                         const std::string& parameters, ShowMode show) {
  const std::wstring wideVerb = widen(verb), wideFile = widen(file), wideParams = widen(parameters);
  HINSTANCE result = ShellExecuteW(
      nullptr, verb.empty() ? nullptr : wideVerb.c_str(), wideFile.c_str(),
      parameters.empty() ? nullptr : wideParams.c_str(), nullptr, static_cast<int>(show));
  // ShellExecute reports success as a value above 32.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::openBrowserWindow(const std::string& url, int left, int top, int width,
                                   int height) {
  // OLE is normally up already on the GUI thread; the result does not matter.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  IWebBrowser2* browser = nullptr;
  if (FAILED(CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_LOCAL_SERVER,
                              IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) ||
      browser == nullptr)
    return false;
  browser->put_RegisterAsBrowser(VARIANT_TRUE);
  browser->put_AddressBar(VARIANT_FALSE);
  browser->put_MenuBar(VARIANT_FALSE);
  browser->put_StatusBar(VARIANT_FALSE);
  browser->put_ToolBar(FALSE);
  browser->put_Visible(VARIANT_TRUE);
  if (left >= 0) browser->put_Left(left);
  if (top >= 0) browser->put_Top(top);
  if (width >= 0) browser->put_Width(width);
  if (height >= 0) browser->put_Height(height);
  browser->put_Offline(VARIANT_FALSE);
  BSTR address = SysAllocString(widen(url).c_str());
  VARIANT empty;
  VariantInit(&empty);
  browser->Navigate(address, &empty, &empty, &empty, &empty);
  SysFreeString(address);
  SHANDLE_PTR handle = 0;
  if (SUCCEEDED(browser->get_HWND(&handle)) && handle != 0) {
    HWND window = reinterpret_cast<HWND>(handle);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  }
  browser->Release();
  return true;
}

bool Win32Shell::runProgram(const std::string& commandLine) {
  std::wstring line = widen(commandLine);  // CreateProcessW may write into it
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Shell::setClipboardText(const std::string& text) {
  const std::wstring wide = widen(text);
  const size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return false;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, wide.c_str(), bytes);
  GlobalUnlock(memory);
  if (!OpenClipboard(nullptr)) {
    GlobalFree(memory);
    return false;
  }
  EmptyClipboard();
  bool ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
  if (!ok) GlobalFree(memory);  // on success the clipboard owns it
  CloseClipboard();
  return ok;
}

bool Win32Shell::powerOff() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool granted = LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid) &&
                 AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr) &&
                 GetLastError() == ERROR_SUCCESS;
  CloseHandle(token);
  if (!granted) return false;
  // Programs that still answer may save their work; only hung ones are ended.
  return ExitWindowsEx(EWX_POWEROFF | EWX_FORCEIFHUNG, SHTDN_REASON_FLAG_PLANNED) != FALSE;
}

}  // namespace pom
