// Win32Shell: the Shell port on ShellExecuteW, the browser's automation
// object (a separate window without bars), CreateProcessW, the clipboard and
// ExitWindowsEx. CP949 texts are widened with code page 949 at this edge.
//
// powerOff really turns the machine off: tests must use a fake. Loop thread
// only (the clipboard and COM calls assume the GUI thread).
#pragma once

#include <windows.h>

#include "core/ports/shell.h"

namespace pom {

class Win32Shell final : public Shell {
 public:
  bool execute(const std::string& verb, const std::string& file, const std::string& parameters,
               ShowMode show) override;
  bool openBrowserWindow(const std::string& url, int left, int top, int width, int height) override;
  bool runProgram(const std::string& commandLine) override;
  bool setClipboardText(const std::string& text) override;
  bool powerOff() override;
};

}  // namespace pom
