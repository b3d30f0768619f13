// pomcli: the headless front end. Logs in with the core over the POSIX
// backend and runs one command the way the program's windows would.
//
//   pomcli COMMAND [ARGUMENT...] [--id ID] [--password PW] [--port-base N]
//                  [--workdir DIR] [--timeout MS]
//   pomcli get PATH... [--into DIR] [--parallel 1|2|3]
//   pomcli put LOCAL... [--to FOLDER] [--parallel 1|2|3]
//   pomcli search [--natural] [--more] WORDS...
//   pomcli contents OWNER FOLDERKEY
//   pomcli get --file-id N[,N...] --search WORDS [--into DIR]
//   pomcli config get [KEY] | config set KEY VALUE   (no login)
//
// The id and password may come from POM_ID and POM_PASSWORD instead. Exit
// codes: 0 done, 1 refused or failed (the message on standard error), 2 bad
// usage, 3 no answer in time. Output is UTF-8.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/config_command.h"
#include "cli/get_command.h"
#include "cli/headless_client.h"
#include "cli/put_command.h"
#include "cli/search_command.h"
#include "cli/web_commands.h"
#include "core/app/client_app.h"
#include "core/hub/session_state.h"
#include "core/mainwindow/status_panel.h"
#include "core/net/messages/message_types.h"
#include "core/ports/text_codec.h"
#include "core/session/session_module.h"

namespace {

using pom::Outcome;

constexpr char kUsage[] =
    "usage: pomcli COMMAND [ARGUMENT...] [--id ID] [--password PW] [--port-base N]\n"
    "              [--workdir DIR] [--timeout MS]\n"
    "commands:\n"
    "  login [--reconnect yes|no] [--notes yes|no]\n"
    "  ls [FOLDER]                      FOLDER: a/b below 내웹폴더, ~friend/a for a friend's\n"
    "  mkdir FOLDER\n"
    "  rename PATH NEWNAME\n"
    "  mv PATH... FOLDER\n"
    "  rm PATH...\n"
    "  share public|private|club PATH...\n"
    "  extend FOLDER\n"
    "  link PATH...\n"
    "  combined-link --title T PATH...\n"
    "  friends\n"
    "  friend add ID [--memo M]\n"
    "  friend rm ID\n"
    "  memo ID TEXT\n"
    "  get PATH... [--into DIR] [--parallel 1|2|3]   files, or folders into a sub-folder\n"
    "  put LOCAL... [--to FOLDER] [--parallel 1|2|3] local files and folders into FOLDER\n"
    "  search [--natural] [--more] WORDS...  other members' shared files (--more: next page)\n"
    "  contents OWNER FOLDERKEY         a hit's folder (owner, folder key as search prints)\n"
    "  get --file-id N[,N...] --search WORDS  hits of that search, by their file ids\n"
    "the id and password may come from POM_ID and POM_PASSWORD.\n";

struct Command {
  std::string name;
  std::vector<std::string> arguments;
  std::map<std::string, std::string> flags;
};

// Switches without a value.
bool isSwitch(const std::string& name) {
  return name == "natural" || name == "more";
}

// Flags take one value (switches none) and may stand anywhere; the first
// other word is the command, the rest are its arguments.
bool parse(int argc, char** argv, Command& command) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.size() > 2 && word.compare(0, 2, "--") == 0) {
      if (isSwitch(word.substr(2))) {
        command.flags[word.substr(2)] = "yes";
        continue;
      }
      if (i + 1 >= argc) return false;
      command.flags[word.substr(2)] = argv[++i];
    } else if (command.name.empty()) {
      command.name = word;
    } else {
      command.arguments.push_back(word);
    }
  }
  return !command.name.empty();
}

bool known(const Command& command) {
  static const std::map<std::string, std::vector<std::string>> flags = {
      {"login", {"reconnect", "notes"}},
      {"combined-link", {"title"}},
      {"friend", {"memo"}},
      {"get", {"into", "parallel", "file-id", "search"}},
      {"search", {"natural", "more"}},
      {"put", {"to", "parallel"}}};
  for (const auto& [flag, value] : command.flags) {
    if (flag == "id" || flag == "password" || flag == "port-base" || flag == "workdir" ||
        flag == "timeout")
      continue;
    const auto own = flags.find(command.name);
    if (own == flags.end()) return false;
    bool found = false;
    for (const std::string& each : own->second) found |= each == flag;
    if (!found) return false;
  }
  return true;
}

// The number of arguments each command takes: at least, at most (-1: any).
bool argumentsFit(const Command& command) {
  static const std::map<std::string, std::pair<int, int>> counts = {
      {"login", {0, 0}},          {"ls", {0, 1}},      {"mkdir", {1, 1}},
      {"rename", {2, 2}},         {"mv", {2, -1}},     {"rm", {1, -1}},
      {"share", {2, -1}},         {"extend", {1, 1}},  {"link", {1, -1}},
      {"combined-link", {1, -1}}, {"friends", {0, 0}}, {"friend", {2, 2}},
      {"memo", {2, 2}},           {"get", {0, -1}},    {"put", {1, -1}},
      {"search", {1, -1}},        {"contents", {2, 2}}};
  const auto count = counts.find(command.name);
  if (count == counts.end()) return false;
  const int n = static_cast<int>(command.arguments.size());
  if (n < count->second.first || (count->second.second >= 0 && n > count->second.second))
    return false;
  if (command.name == "share") {
    const std::string& state = command.arguments[0];
    if (state != "public" && state != "private" && state != "club") return false;
  }
  if (command.name == "friend") {
    const std::string& verb = command.arguments[0];
    if (verb != "add" && verb != "rm") return false;
    if (verb == "rm" && command.flags.count("memo")) return false;
  }
  if (command.name == "memo" && command.arguments[1].empty()) return false;
  if (command.name == "get") {
    // Paths, or hits of a search by file id (or both).
    const bool byId = command.flags.count("file-id") != 0;
    if (byId != (command.flags.count("search") != 0)) return false;
    if (!byId && n == 0) return false;
  }
  if (command.name == "contents") {
    const std::string& key = command.arguments[1];
    if (key.empty() || key.find_first_not_of("-0123456789") != std::string::npos) return false;
  }
  if ((command.name == "get" || command.name == "put") && command.flags.count("parallel")) {
    const std::string& parallel = command.flags.at("parallel");
    if (parallel != "1" && parallel != "2" && parallel != "3") return false;
  }
  return true;
}

std::string flag(const Command& command, const std::string& name, const char* environment = nullptr,
                 const std::string& fallback = std::string()) {
  const auto at = command.flags.find(name);
  if (at != command.flags.end()) return at->second;
  if (environment != nullptr) {
    if (const char* value = std::getenv(environment)) return value;
  }
  return fallback;
}

bool number(const std::string& text, int& value) {
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || parsed < 0 || parsed > 1000000000) return false;
  value = static_cast<int>(parsed);
  return true;
}

int usage(const std::string& why) {
  if (!why.empty()) std::cerr << "pomcli: " << why << "\n";
  std::cerr << pom::cp949ToUtf8(kUsage) << pom::kConfigUsage;
  return static_cast<int>(Outcome::BadUsage);
}

// The status panel's lines, as the login command prints them.
void printStatus(pom::HeadlessClient& client) {
  const pom::SessionState& member = client.app().module<pom::SessionModule>().state();
  std::cout << "member: " << pom::cp949ToUtf8(member.memberId) << "\n"
            << "points: " << pom::formatPoints(member.credit) << "\n"
            << "connection: " << pom::cp949ToUtf8(pom::connectionKindText(member.flatRate)) << "\n";
}

Outcome runWebCommand(const Command& command, pom::WebCommands& web) {
  const std::vector<std::string>& a = command.arguments;
  const std::string& name = command.name;
  if (name == "ls") return web.list(a.empty() ? std::string() : a[0]);
  if (name == "mkdir") return web.makeFolder(a[0]);
  if (name == "rename") return web.rename(a[0], a[1]);
  if (name == "mv") return web.move({a.begin(), a.end() - 1}, a.back());
  if (name == "rm") return web.remove(a);
  if (name == "share") {
    const char state = a[0] == "public"    ? pom::sharing::kPublic
                       : a[0] == "private" ? pom::sharing::kPrivate
                                           : pom::sharing::kClub;
    return web.share(state, {a.begin() + 1, a.end()});
  }
  if (name == "extend") return web.extendTerm(a[0]);
  if (name == "link") return web.webLinks(a);
  if (name == "combined-link") return web.combinedLink(flag(command, "title"), a);
  if (name == "friends") return web.listFriends();
  if (name == "friend" && a[0] == "add") return web.addFriend(a[1], flag(command, "memo"));
  if (name == "friend") return web.removeFriend(a[1]);
  return web.editMemo(a[0], a[1]);
}

}  // namespace

int main(int argc, char** argv) {
  Command command;
  if (!parse(argc, argv, command)) return usage("");
  // The preferences need no login: the working folder's PomConfig.ini only.
  if (command.name == "config")
    return pom::runConfigCommand(command.arguments, flag(command, "workdir", nullptr, "."),
                                 std::cout, std::cerr);
  if (!known(command)) return usage("unknown option for " + command.name);
  if (!argumentsFit(command)) return usage("wrong arguments for " + command.name);

  pom::HeadlessOptions options;
  options.id = pom::utf8ToCp949(flag(command, "id", "POM_ID"));
  options.password = pom::utf8ToCp949(flag(command, "password", "POM_PASSWORD"));
  options.workDir = flag(command, "workdir", nullptr, ".");
  int portBase = 0;
  int timeoutMs = 10000;
  if (!number(flag(command, "port-base", nullptr, "0"), portBase) || portBase >= 50000)
    return usage("--port-base takes a number below 50000");
  if (!number(flag(command, "timeout", nullptr, "10000"), timeoutMs) || timeoutMs == 0)
    return usage("--timeout takes a number of milliseconds");
  options.portBase = portBase;
  options.timeoutMs = static_cast<std::uint32_t>(timeoutMs);
  if (options.id.empty() || options.password.empty())
    return usage("the id and password are needed (--id/--password or POM_ID/POM_PASSWORD)");

  pom::HeadlessClient client(options, std::cerr);
  if (command.name == "login") {
    // A lost connection is answered as the member chose; notes as asked.
    client.dialogs().okCancel =
        flag(command, "reconnect") == "yes" ? pom::MessageAnswer::Ok : pom::MessageAnswer::Cancel;
    client.dialogs().yesNo =
        flag(command, "notes") == "yes" ? pom::MessageAnswer::Yes : pom::MessageAnswer::No;
  }
  if (!client.start()) return static_cast<int>(Outcome::Failed);

  if (command.name == "login") {
    const Outcome outcome = client.login();
    if (outcome == Outcome::Done) {
      client.settle(200);  // the session number and notices that follow the login
      printStatus(client);
    }
    return static_cast<int>(outcome);
  }
  const Outcome loggedIn = client.loginAndList();
  if (loggedIn != Outcome::Done) return static_cast<int>(loggedIn);
  if (command.name == "search") {
    pom::SearchOptions search;
    search.words = command.arguments;
    search.natural = command.flags.count("natural") != 0;
    search.more = command.flags.count("more") != 0;
    return static_cast<int>(pom::runSearch(client, search, std::cout));
  }
  if (command.name == "contents") {
    const long key = std::strtol(command.arguments[1].c_str(), nullptr, 10);
    return static_cast<int>(
        pom::runContents(client, command.arguments[0], static_cast<std::int32_t>(key), std::cout));
  }
  if (command.name == "get") {
    pom::GetOptions get;
    get.paths = command.arguments;
    if (command.flags.count("file-id") &&
        !pom::parseFileIds(command.flags.at("file-id"), get.fileIds))
      return usage("--file-id takes file ids separated by commas");
    get.search = flag(command, "search");
    get.into = flag(command, "into");
    get.parallel = command.flags.count("parallel") ? std::stoi(command.flags.at("parallel")) : 0;
    pom::GetCommand download(client, std::cout, std::cerr, ::isatty(2) == 1);
    return static_cast<int>(download.run(get));
  }
  if (command.name == "put") {
    pom::PutOptions put;
    put.paths = command.arguments;
    put.to = flag(command, "to");
    put.parallel = command.flags.count("parallel") ? std::stoi(command.flags.at("parallel")) : 0;
    pom::PutCommand upload(client, std::cout, std::cerr, ::isatty(2) == 1);
    return static_cast<int>(upload.run(put));
  }
  pom::WebCommands web(client, std::cout);
  return static_cast<int>(runWebCommand(command, web));
}
