#include "cli/cli_ports.h"

#include "core/ports/text_codec.h"

namespace pom {

MessageAnswer CliDialogs::messageBox(const MessageBoxRequest& request) {
  shown.push_back(request);
  out_ << "[" << cp949ToUtf8(request.caption) << "] " << cp949ToUtf8(request.text) << "\n";
  switch (request.buttons) {
    case MessageButtons::OkCancel:
      return okCancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel:
      return yesNo;
    default:
      return MessageAnswer::Ok;
  }
}

bool CliDialogs::pickFolder(DialogOwner, const std::string&, std::string&) {
  return false;
}

bool CliDialogs::pickFiles(DialogOwner, const std::string&, const std::string&,
                           std::vector<std::string>&) {
  return false;
}

bool CliShell::execute(const std::string& verb, const std::string& file,
                       const std::string& parameters, ShowMode) {
  out_ << "(would " << verb << " " << file << " " << cp949ToUtf8(parameters) << ")\n";
  return true;
}

bool CliShell::openBrowserWindow(const std::string& url, int, int, int, int) {
  out_ << "(would open a browser window on " << cp949ToUtf8(url) << ")\n";
  return true;
}

bool CliShell::runProgram(const std::string& commandLine) {
  out_ << "(would run " << cp949ToUtf8(commandLine) << ")\n";
  return false;
}

bool CliShell::setClipboardText(const std::string& text) {
  clipboard = text;
  return true;
}

bool CliShell::powerOff() {
  return false;
}  // never from the headless front end

}  // namespace pom
