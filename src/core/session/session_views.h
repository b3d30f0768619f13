// SessionViews: the views the session module asks the front end for.
#pragma once

#include <memory>

#include "core/session/login_view.h"

namespace pom {

class LoginPresenter;

class SessionViews {
 public:
  static constexpr char kLinkName[] = "SessionViews";
  virtual ~SessionViews() = default;
  // The login window: the program's top-level window with its controls
  // (null when the front end has none; the presenter then runs without).
  virtual std::unique_ptr<LoginView> createLoginView(LoginPresenter& presenter) = 0;
};

}  // namespace pom
