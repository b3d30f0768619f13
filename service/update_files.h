// The update server's files: "/UpdateFiles/UverChk.dat", "CverChk.dat",
// "PomUpdater.exe", "dblist.dat" and the new client program "Pomvale.exe"
// (which the updater installs), and the advertisement line "/Ad/index.asp".
//
// The switches update_uver and update_cver (faults.h) replace the versions
// and update_updater_path and update_client_path name the program files at
// run time; the programs are read from disk at each request, so a fresh
// build is served without a restart.
//
// The version files hold the bare version text (no line break: the client
// compares the first 10 bytes byte for byte, a line break would count).
// The banned-word list is one word per line, each line ending in "\n" (the
// client drops the last character of every line, so the last one needs its
// break too). The same list decides which search keywords the search servers
// refuse. The configuration is fixed at start; the routes only read it (and
// the switches), from any of the server threads.
#pragma once

#include <string>
#include <vector>

namespace httplib {
class Server;
}

namespace pom {
namespace service {

class Faults;

struct UpdateFiles {
  std::string updaterVersion = "0.9";  // body of "UverChk.dat"
  std::string clientVersion = "0.9";   // body of "CverChk.dat"
  // Path of a real updater program to serve; empty: a small stand-in text.
  std::string updaterProgramPath;
  // Path of the client program served as "Pomvale.exe"; empty: 404.
  std::string clientProgramPath;
  // Banned search words as CP949 bytes, kept in lower case.
  std::vector<std::string> bannedWords;
  // Advertisement line: the client shows the two text pieces joined and opens
  // the link on a click. Neither piece may be empty (empty pieces are skipped,
  // which would move the link out of third place).
  std::string adText = "Pomvale 로컬 서비스에 오신 것을 환영합니다.";
  std::string adTextTail = " 도움말 보기";
  std::string adLink = "http://127.0.0.1/help_desk/";
};

// The words served when nothing else is configured.
std::vector<std::string> defaultBannedWords();

// Body of "dblist.dat": every word followed by "\n".
std::string bannedWordFileBody(const std::vector<std::string>& words);

// Body of "/Ad/index.asp": pieces joined by "|", the link as the third piece.
std::string advertisementBody(const UpdateFiles& files);

// Body of "PomUpdater.exe": the program's bytes (update_updater_path, else
// the configured path), or the stand-in text when no path is set or it
// cannot be read.
std::string updaterProgramBody(const UpdateFiles& files, const Faults& faults);
// Body of "Pomvale.exe" (update_client_path, else the configured path);
// false when none is set or it cannot be read.
bool clientProgramBody(const UpdateFiles& files, const Faults& faults, std::string& body);

// ASCII letters in lower case; both bytes of a double-byte CP949 character
// (lead byte 0x81 and up) stay as they are, even a trail byte in 'A'..'Z'.
std::string lowerAscii(std::string text);

// True when needle occurs in text starting at a character boundary, ASCII
// letters compared without case (CP949-aware, see lowerAscii). An empty needle
// is always found.
bool containsText(const std::string& text, const std::string& needle);

// True when the keyword contains a banned word (containsText). Empty words
// never match.
bool keywordIsBlocked(const std::vector<std::string>& bannedWords, const std::string& keyword);

// Registers the "/UpdateFiles/..." and "/Ad/index.asp" routes (they keep a
// copy of files). The switches must outlive the server.
void addUpdateRoutes(httplib::Server& server, const UpdateFiles& files, const Faults& faults);

}  // namespace service
}  // namespace pom
