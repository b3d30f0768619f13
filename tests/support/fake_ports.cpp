#include "fake_ports.h"

#include <cstdlib>

namespace pom {

MessageAnswer FakeDialogs::messageBox(const MessageBoxRequest& request) {
  boxes.push_back(request);
  if (answers.empty()) return defaultAnswer;
  const MessageAnswer answer = answers.front();
  answers.pop_front();
  return answer;
}

bool FakeDialogs::pickFolder(DialogOwner, const std::string& title, std::string& path) {
  folderTitles.push_back(title);
  if (folderToPick.empty()) return false;
  path = folderToPick;
  return true;
}

bool FakeDialogs::pickFiles(DialogOwner, const std::string&, const std::string&,
                            std::vector<std::string>&) {
  return false;
}

bool FakeShell::execute(const std::string& verb, const std::string& file,
                        const std::string& parameters, ShowMode show) {
  launches.push_back({verb, file, parameters, show});
  return true;
}

bool FakeShell::openBrowserWindow(const std::string& url, int left, int top, int width,
                                  int height) {
  browsers.push_back({url, left, top, width, height});
  return true;
}

bool FakeShell::runProgram(const std::string& commandLine) {
  programs.push_back(commandLine);
  return true;
}

bool FakeShell::setClipboardText(const std::string& text) {
  clipboard = text;
  return true;
}

bool FakeShell::powerOff() {
  ++powerOffs;
  return true;
}

void FakeHttpClient::reply(const std::string& host, const std::string& path,
                           const std::string& body, int status) {
  HttpResponse response;
  response.sent = true;
  response.status = status;
  response.hasContentLength = true;
  response.contentLength = static_cast<std::int64_t>(body.size());
  response.body = body;
  replies[host + " " + path] = response;
}

HttpResponse FakeHttpClient::send(const HttpRequest& request, std::size_t maxBody) {
  requests.push_back(request);
  maxBodies.push_back(maxBody);
  const auto found = replies.find(request.host + " " + request.path);
  if (found == replies.end()) return HttpResponse();
  HttpResponse response = found->second;
  if (response.body.size() > maxBody) response.body.resize(maxBody);
  return response;
}

int FakeRandom::next() {
  if (values.empty()) return 0;
  const int value = values.front();
  values.pop_front();
  return value;
}

int MemoryProfile::readInt(const std::string& section, const std::string& key, int defaultValue,
                           const std::string& file) {
  const std::string text = readText(section, key, "", 260, file);
  if (text.empty() && value(section, key, file) == "<absent>") return defaultValue;
  return std::atoi(text.c_str());
}

std::string MemoryProfile::readText(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, std::size_t bufferSize,
                                    const std::string& file) {
  std::string text = value(section, key, file);
  if (text == "<absent>") text = defaultValue;
  if (bufferSize > 0 && text.size() > bufferSize - 1) text.resize(bufferSize - 1);
  return text;
}

bool MemoryProfile::writeText(const std::string& section, const std::string& key,
                              const std::string& text, const std::string& file) {
  files[file][section][key] = text;
  return true;
}

std::string MemoryProfile::value(const std::string& section, const std::string& key,
                                 const std::string& file) const {
  const auto f = files.find(file);
  if (f == files.end()) return "<absent>";
  const auto s = f->second.find(section);
  if (s == f->second.end()) return "<absent>";
  const auto k = s->second.find(key);
  return k == s->second.end() ? "<absent>" : k->second;
}

bool MemoryRegistry::readString(const std::string& subkey, const std::string& name,
                                const std::string& defaultValue, std::size_t bufferSize,
                                std::string& value) {
  const auto found = values.find(subkey + name);
  value = found == values.end() ? defaultValue : found->second;
  if (bufferSize > 0 && value.size() > bufferSize - 1) value.resize(bufferSize - 1);
  return found != values.end();
}

bool MemoryRegistry::writeString(const std::string& subkey, const std::string& name,
                                 const std::string& text) {
  values[subkey + name] = text;
  return true;
}

}  // namespace pom
