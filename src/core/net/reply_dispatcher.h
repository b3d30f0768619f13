// ReplyDispatcher: the reaction to every packet the login server sends.
//
// The login session hands each received body to dispatch(). The body is
// first copied into storage of the dispatch itself, so a packet that arrives
// re-entrantly (a message box pumps messages) cannot disturb the one being
// handled. The type at offset 0 selects the handlers; types without one, and
// bodies whose length does not fit the type's size (expectedReplySize, made
// from the message structs), are dropped without a trace.
//
// Handlers are registered per type by the modules that own the reaction (the
// session for the session types, web storage, transfers, search for theirs),
// so a new branch never edits the dispatcher. Several modules may react to
// one type (the web tree and the file list both take a folder listing): the
// handlers of a type run in registration order. Loop thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/net/messages/message_types.h"

namespace pom {

class ReplyDispatcher {
 public:
  // The body (type first) and its length; the storage is the dispatch's own
  // copy and stays valid for the duration of the call.
  using Handler = std::function<void(const std::uint8_t* body, std::size_t length)>;

  // Adds a handler after those already registered for the type; `owner`
  // names who registered it (diagnostics, the wiring tests).
  void add(ReplyType type, std::string owner, Handler handler);

  // Typed registration: the handler runs only when Message::decode accepts
  // the body (right type, exact length for fixed-size messages).
  template <typename Message>
  void on(std::string owner, std::function<void(const Message&)> handler) {
    add(Message::kType, std::move(owner),
        [handler = std::move(handler)](const std::uint8_t* body, std::size_t length) {
          if (auto message = Message::decode(body, length)) handler(*message);
        });
  }
  // A type that is read and ignored (it counts as handled).
  void ignore(ReplyType type, std::string owner);

  // Who handles a type, in the order they run.
  std::vector<std::string> owners(ReplyType type) const;

  // True when a handler ran.
  bool dispatch(const std::uint8_t* body, std::size_t length);

 private:
  struct Entry {
    std::string owner;
    Handler handler;
  };
  std::map<std::int32_t, std::vector<Entry>> handlers_;
};

}  // namespace pom
