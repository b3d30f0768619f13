#include "service/web_pages.h"

#include <httplib.h>

#include <cstdint>
#include <cstdio>

#include "service/web_search.h"

namespace pom {
namespace service {

namespace {

using Parameters = std::vector<std::pair<std::string, std::string>>;

constexpr char kHtmlType[] = "text/html; charset=euc-kr";

Parameters parametersOf(const httplib::Request& req) {
  Parameters out;
  for (const auto& [key, value] : req.params) out.emplace_back(key, value);
  return out;
}

void sendPage(httplib::Response& res, std::string page) {
  res.set_content(std::move(page), kHtmlType);
}

// A fixed page: title and sentence, plus whatever it was sent.
httplib::Server::Handler plainPage(std::string title, std::string sentence) {
  return [title, sentence](const httplib::Request& req, httplib::Response& res) {
    sendPage(res, htmlPage(title, sentence, std::string(), parametersOf(req)));
  };
}

std::string sizeText(std::int64_t bytes) {
  char text[40];
  std::snprintf(text, sizeof text, "%lld bytes", static_cast<long long>(bytes));
  return text;
}

// The member named by userid when md6 is the token of its password.
std::optional<Member> verifiedMember(Store& store, const httplib::Request& req) {
  const std::string id = queryValue(req.target, "userid");
  const std::string token = queryValue(req.target, "md6");
  if (id.empty() || token.empty()) return std::nullopt;
  std::optional<Member> member = store.member(id);
  if (!member || webToken(member->password) != token) return std::nullopt;
  return member;
}

void paymentPage(Store& store, const httplib::Request& req, httplib::Response& res) {
  const std::optional<Member> member = verifiedMember(store, req);
  if (!member) {
    sendPage(res, htmlPage("결제", "회원 정보를 확인할 수 없습니다. 다시 로그인해 주세요.",
                           std::string(), parametersOf(req)));
    return;
  }
  const std::string extra = "<p>" + htmlEscape(member->id) + "님의 포인트: " +
                            std::to_string(member->credit < 0 ? 0 : member->credit) +
                            "P</p><p>이 로컬 서비스에서는 실제 결제가 이루어지지 않습니다.</p>";
  sendPage(res, htmlPage("결제", "포인트 충전 페이지입니다.", extra, parametersOf(req)));
}

void memoListPage(Store& store, const httplib::Request& req, httplib::Response& res) {
  const std::optional<Member> member = verifiedMember(store, req);
  if (!member) {
    sendPage(res, htmlPage("쪽지함", "회원 정보를 확인할 수 없습니다. 다시 로그인해 주세요.",
                           std::string(), parametersOf(req)));
    return;
  }
  // Opening the list reads the waiting notes.
  const bool waiting = member->notesWaiting;
  if (waiting) store.setNotesWaiting(member->id, false);
  const std::string extra =
      waiting ? "<p>새 쪽지를 읽음으로 표시했습니다.</p>" : "<p>새 쪽지가 없습니다.</p>";
  sendPage(res, htmlPage("쪽지함", htmlEscape(member->id) + "님의 쪽지 목록입니다.", extra,
                         parametersOf(req)));
}

std::string fileRow(const Item& file) {
  return "<tr><td>" + std::to_string(file.id) + "</td><td>" + htmlEscape(file.name) + "</td><td>" +
         sizeText(file.size) + "</td><td>" + htmlEscape(file.owner) + "</td></tr>";
}

bool allDigits(const std::string& text) {
  if (text.empty() || text.size() > 10) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// File numbers named by a code: the number itself, or a combined link's list.
std::vector<std::int32_t> filesOfCode(Store& store, const std::string& code) {
  std::vector<std::int32_t> ids;
  if (allDigits(code)) {
    const long long id = std::stoll(code);
    if (id <= INT32_MAX) ids.push_back(static_cast<std::int32_t>(id));
    return ids;
  }
  const std::optional<std::string> list = store.combinedLinkFiles(code);
  if (!list) return ids;
  std::string number;
  for (std::size_t i = 0; i <= list->size(); ++i) {
    if (i == list->size() || (*list)[i] == ',') {
      if (allDigits(number)) {
        const long long id = std::stoll(number);
        if (id <= INT32_MAX) ids.push_back(static_cast<std::int32_t>(id));
      }
      number.clear();
    } else {
      number += (*list)[i];
    }
  }
  return ids;
}

}  // namespace

std::string webToken(const std::string& password) {
  std::string token;
  int r = 0;
  for (char byte : password) {
    const int c = static_cast<signed char>(byte);
    token += std::to_string(3 * c + r + 24);
    r = (3 * c + 24) % 47;
  }
  return token;
}

std::string htmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string htmlPage(const std::string& title, const std::string& sentence,
                     const std::string& extraHtml, const Parameters& parameters) {
  std::string page =
      "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=euc-kr\">"
      "<title>" +
      htmlEscape(title) + " - Pomvale</title></head><body><h1>" + htmlEscape(title) + "</h1><p>" +
      sentence + "</p>" + extraHtml;
  if (!parameters.empty()) {
    page += "<h2>받은 값</h2><ul>";
    for (const auto& [key, value] : parameters) {
      page += "<li>" + htmlEscape(key) + " = " + htmlEscape(value) + "</li>";
    }
    page += "</ul>";
  }
  page += "<p><a href=\"/\">Pomvale 로컬 서비스</a></p></body></html>";
  return page;
}

std::string notFoundPage(const std::string& path) {
  return htmlPage("페이지 없음", "요청한 페이지가 없습니다: " + htmlEscape(path), std::string(),
                  {});
}

std::string downloadPage(Store& store, const std::string& code) {
  std::string rows;
  for (std::int32_t id : filesOfCode(store, code)) {
    const std::optional<Item> file = store.item(id);
    // Only shared files are shown to a visitor of the link.
    if (file && !file->isFolder() && file->share == 't') rows += fileRow(*file);
  }
  if (rows.empty()) {
    return htmlPage("파일 받기", "링크에 해당하는 공개 파일이 없습니다.", std::string(),
                    {{"Code", code}});
  }
  return htmlPage("파일 받기", "Pomvale 프로그램으로 내려받을 수 있는 파일입니다.",
                  "<table border=1><tr><th>번호</th><th>파일명</th><th>크기</th><th>회원</th>"
                  "</tr>" +
                      rows + "</table>",
                  {{"Code", code}});
}

void addWebPages(httplib::Server& server, Store& store) {
  const auto home = plainPage("Pomvale", "Pomvale 로컬 서비스의 첫 페이지입니다.");
  server.Get("/", home);
  server.Get("/index.asp", home);
  server.Get("/member/member_step1.asp",
             plainPage("회원가입", "이 로컬 서비스에는 미리 만들어진 회원으로 로그인합니다."));
  server.Get(
      "/member/id_pw_search.asp",
      plainPage("아이디/비밀번호 찾기", "회원 정보는 로컬 서비스의 데이터 폴더에 있습니다."));
  const auto helpDesk = plainPage("고객센터", "Pomvale 로컬 서비스의 고객센터입니다.");
  server.Get("/help_desk/", helpDesk);
  server.Get("/help_desk/index.asp", helpDesk);
  server.Get("/help_desk/notice_program.asp",
             [](const httplib::Request& req, httplib::Response& res) {
               const std::string id = queryValue(req.target, "userid");
               sendPage(res, htmlPage("프로그램 공지",
                                      htmlEscape(id) + "님, Pomvale 로컬 서비스에 오신 것을 "
                                                       "환영합니다.",
                                      std::string(), parametersOf(req)));
             });
  server.Get("/pop/20080401.asp",
             plainPage("업로드 안내", "업로드한 파일은 웹폴더에서 공유 상태를 정할 수 있습니다."));
  server.Get("/payment/pay.asp", [&store](const httplib::Request& req, httplib::Response& res) {
    paymentPage(store, req, res);
  });
  server.Get("/memo/msg_list01.asp", [&store](const httplib::Request& req, httplib::Response& res) {
    memoListPage(store, req, res);
  });
  server.Get("/download/webdown.asp",
             [&store](const httplib::Request& req, httplib::Response& res) {
               sendPage(res, downloadPage(store, queryValue(req.target, "Code")));
             });
}

}  // namespace service
}  // namespace pom
