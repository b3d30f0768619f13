// SessionList: the connections a server owns, destroyed on a later turn of
// the loop once they are discarded, never inside their own callbacks.
//
// Loop thread only. The loop must not run posted calls after the list is
// destroyed (the servers are torn down after their loop has stopped).
#pragma once

#include <algorithm>
#include <list>
#include <memory>
#include <vector>

#include "core/ports/event_loop.h"

namespace pom {
namespace service {

template <typename Session>
class SessionList {
 public:
  explicit SessionList(EventLoop& loop) : loop_(loop) {}

  Session* add(std::unique_ptr<Session> session) {
    sessions_.push_back(std::move(session));
    return sessions_.back().get();
  }
  // Schedules the session's destruction (once, however often it is called).
  void discard(Session* session) {
    if (std::find(doomed_.begin(), doomed_.end(), session) == doomed_.end())
      doomed_.push_back(session);
    if (!reapPosted_) {
      reapPosted_ = true;
      loop_.post([this] { reap(); });
    }
  }
  void clear() {
    sessions_.clear();
    doomed_.clear();
  }
  std::size_t size() const { return sessions_.size(); }
  auto begin() const { return sessions_.begin(); }
  auto end() const { return sessions_.end(); }

 private:
  void reap() {
    reapPosted_ = false;
    auto doomed = std::move(doomed_);
    doomed_.clear();
    for (Session* session : doomed)
      sessions_.remove_if([session](const auto& s) { return s.get() == session; });
  }

  EventLoop& loop_;
  std::list<std::unique_ptr<Session>> sessions_;
  std::vector<Session*> doomed_;
  bool reapPosted_ = false;
};

}  // namespace service
}  // namespace pom
