// Shell: what the program asks of the desktop around it.
//
// Web pages open in the system browser program, folders in the file manager,
// the updater and the media player start as processes; the clipboard takes
// web links. Launch failures are reported as false and normally ignored by callers.
//
// Called on the loop thread only. powerOff must never run in tests: fakes
// record it and the POSIX backend refuses it.
#pragma once

#include <string>

namespace pom {

// Show states as the Windows calls number them.
enum class ShowMode { Hidden = 0, Normal = 1, Minimized = 2, Maximized = 3 };

class Shell {
 public:
  virtual ~Shell() = default;

  // Runs "file" with a verb ("open") and parameters, as the shell's execute
  // call does: execute("open", "IEXPLORE.EXE", url, Maximized) opens a page,
  // execute("open", "explorer.exe", folder, Normal) opens a folder.
  virtual bool execute(const std::string& verb, const std::string& file,
                       const std::string& parameters, ShowMode show) = 0;

  // A separate browser window without address, menu, status and tool bars,
  // navigated to url; each of left, top, width, height is applied only when
  // it is 0 or more.
  virtual bool openBrowserWindow(const std::string& url, int left, int top, int width,
                                 int height) = 0;

  // Starts a program as a new process (plain command line, no inheritance).
  virtual bool runProgram(const std::string& commandLine) = 0;

  virtual bool setClipboardText(const std::string& text) = 0;

  // Turns the computer off (after the transfers the member asked for).
  virtual bool powerOff() = 0;
};

}  // namespace pom
