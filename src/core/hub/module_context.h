// ModuleContext: what the composition root hands every subsystem module.
//
// The ports bundle, the configuration store and server addresses, the reply
// dispatcher of the login-server session, the top window's fan-out, and the
// links between modules: a module provides the narrow interfaces it offers
// (provide, from its constructor) and looks up the ones it needs (require,
// from connect). A link nobody provides is a failed start, listed in
// problems(), never a silent no-op; a link provided twice is one too.
//
// Owned by ClientApp for the whole run; loop thread only.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "core/hub/app_ports.h"
#include "core/hub/fan_out.h"
#include "core/net/reply_dispatcher.h"

namespace pom {

class ModuleContext {
 public:
  explicit ModuleContext(const AppPorts& ports);

  const AppPorts& ports() const { return ports_; }
  ConfigStore& config() { return config_; }
  const Servers& servers() const { return servers_; }
  ReplyDispatcher& replies() { return replies_; }
  WindowMessageFanOut& fanOut() { return fanOut_; }

  // "+Name" when a member is created, "-Name" when it is deleted.
  void note(const std::string& event) const;

  // Offers a link (Link names itself with kLinkName).
  template <typename Link>
  void provide(Link& link) {
    const auto [at, fresh] = links_.emplace(key<Link>(), &link);
    if (!fresh) problems_.push_back(std::string(Link::kLinkName) + " is provided twice");
  }
  // Withdraws a link (a module that is being deleted).
  template <typename Link>
  void withdraw() {
    links_.erase(key<Link>());
  }
  template <typename Link>
  Link* find() const {
    const auto found = links_.find(key<Link>());
    return found == links_.end() ? nullptr : static_cast<Link*>(found->second);
  }
  // Sets `link`; false (and a problem naming `who`) when nobody provides it.
  template <typename Link>
  bool require(Link*& link, const char* who) {
    link = find<Link>();
    if (link == nullptr) problems_.push_back(std::string(who) + " needs " + Link::kLinkName);
    return link != nullptr;
  }

  // What went wrong while the modules were wired; empty when all is well.
  const std::vector<std::string>& problems() const { return problems_; }
  void addProblem(std::string problem) { problems_.push_back(std::move(problem)); }

 private:
  // One address per link type, the same in every translation unit.
  template <typename Link>
  static const void* key() {
    static const char tag = 0;
    return &tag;
  }

  AppPorts ports_;
  ConfigStore config_;
  Servers servers_;
  ReplyDispatcher replies_;
  WindowMessageFanOut fanOut_;
  std::map<const void*, void*> links_;
  std::vector<std::string> problems_;
};

}  // namespace pom
