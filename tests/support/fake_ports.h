// Fakes of the ports the application shell uses, for unit tests of the core:
// message boxes and pickers that record and answer from a script, a shell
// that records launches, an HTTP client with canned replies, a scripted
// random generator, and in-memory profile and registry. The file system
// fake is MemoryFileSystem (memory_file_system.h).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "core/ports/dialogs.h"
#include "core/ports/http_client.h"
#include "core/ports/profile.h"
#include "core/ports/random.h"
#include "core/ports/registry.h"
#include "core/ports/shell.h"

namespace pom {

class FakeDialogs : public Dialogs {
 public:
  // Answers for the next boxes, in order; afterwards defaultAnswer.
  std::deque<MessageAnswer> answers;
  MessageAnswer defaultAnswer = MessageAnswer::Ok;
  std::vector<MessageBoxRequest> boxes;
  // Folder picker: the path handed out (none when empty) and the titles asked.
  std::string folderToPick;
  std::vector<std::string> folderTitles;

  MessageAnswer messageBox(const MessageBoxRequest& request) override;
  bool pickFolder(DialogOwner owner, const std::string& title, std::string& path) override;
  bool pickFiles(DialogOwner owner, const std::string& title, const std::string& filter,
                 std::vector<std::string>& paths) override;
  // The text of the last box, or "" when there was none.
  std::string lastText() const { return boxes.empty() ? std::string() : boxes.back().text; }
};

class FakeShell : public Shell {
 public:
  struct Launch {
    std::string verb, file, parameters;
    ShowMode show;
  };
  struct Browser {
    std::string url;
    int left, top, width, height;
  };
  std::vector<Launch> launches;
  std::vector<Browser> browsers;
  std::vector<std::string> programs;
  std::string clipboard;
  int powerOffs = 0;

  bool execute(const std::string& verb, const std::string& file, const std::string& parameters,
               ShowMode show) override;
  bool openBrowserWindow(const std::string& url, int left, int top, int width, int height) override;
  bool runProgram(const std::string& commandLine) override;
  bool setClipboardText(const std::string& text) override;
  bool powerOff() override;
};

class FakeHttpClient : public HttpClient {
 public:
  // Replies by "host path"; an unknown request is not sent.
  std::map<std::string, HttpResponse> replies;
  std::vector<HttpRequest> requests;
  std::vector<std::size_t> maxBodies;

  void reply(const std::string& host, const std::string& path, const std::string& body,
             int status = 200);
  HttpResponse send(const HttpRequest& request, std::size_t maxBody) override;
};

class FakeRandom : public Random {
 public:
  std::deque<int> values;  // handed out in order, then 0
  std::vector<std::uint32_t> seeds;
  void seed(std::uint32_t value) override { seeds.push_back(value); }
  int next() override;
};

class MemoryProfile : public Profile {
 public:
  // file -> section -> key -> value (keys compared as given).
  std::map<std::string, std::map<std::string, std::map<std::string, std::string>>> files;

  int readInt(const std::string& section, const std::string& key, int defaultValue,
              const std::string& file) override;
  std::string readText(const std::string& section, const std::string& key,
                       const std::string& defaultValue, std::size_t bufferSize,
                       const std::string& file) override;
  bool writeText(const std::string& section, const std::string& key, const std::string& text,
                 const std::string& file) override;
  // The value or "<absent>".
  std::string value(const std::string& section, const std::string& key,
                    const std::string& file = "./PomConfig.ini") const;
};

class MemoryRegistry : public Registry {
 public:
  std::map<std::string, std::string> values;  // subkey + name -> text
  bool readString(const std::string& subkey, const std::string& name,
                  const std::string& defaultValue, std::size_t bufferSize,
                  std::string& value) override;
  bool writeString(const std::string& subkey, const std::string& name,
                   const std::string& text) override;
};

}  // namespace pom
