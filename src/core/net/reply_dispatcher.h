// ReplyDispatcher: the reaction to every packet the login server sends.
//
// The main-server connection hands each received body to dispatch(). The
// body is first copied into storage of the dispatch itself, so a packet that
// arrives re-entrantly (a message box pumps messages) cannot disturb the one
// being handled. The type at offset 0 selects the handler; types without a
// handler, and fixed-size types whose body has any other length, are
// dropped without a trace.
//
// Handlers are registered per type by the subsystems that own the reaction
// (the session flow for the session types, the dialogs, and later the
// storage and transfer subsystems for theirs), so a new branch never edits
// the dispatcher. Registering a type again replaces the earlier handler.
// Loop thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>

#include "core/net/messages/message_types.h"

namespace pom {

class ProgressDialog;
class TermExtensionDialog;

class ReplyDispatcher {
 public:
  // The body (type first) and its length; the storage is the dispatch's own
  // copy and stays valid for the duration of the call.
  using Handler = std::function<void(const std::uint8_t* body, std::size_t length)>;

  ReplyDispatcher();

  void setHandler(ReplyType type, Handler handler);
  void removeHandler(ReplyType type);
  bool hasHandler(ReplyType type) const;

  // Typed registration: the handler runs only when Message::decode accepts
  // the body (right type, exact length for fixed-size messages).
  template <typename Message>
  void on(std::function<void(const Message&)> handler) {
    setHandler(Message::kType, [handler](const std::uint8_t* body, std::size_t length) {
      if (auto message = Message::decode(body, length)) handler(*message);
    });
  }

  // True when a handler ran.
  bool dispatch(const std::uint8_t* body, std::size_t length);

 private:
  std::map<std::int32_t, Handler> handlers_;
};

// The dialog branches: ExtendTermReply fills and opens the term-extension
// dialog; the listing replies (friend list, folder lists) close the loading
// dialog until the storage subsystem registers its full handlers for them.
void registerDialogBranches(ReplyDispatcher& dispatcher, TermExtensionDialog& termExtension,
                            ProgressDialog& progress);

}  // namespace pom
