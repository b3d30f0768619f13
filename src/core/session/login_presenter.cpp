#include "core/session/login_presenter.h"

#include "core/base/config_keys.h"
#include "core/base/servers.h"
#include "core/base/text_utils.h"
#include "core/ports/dialogs.h"
#include "core/ports/file_system.h"
#include "core/ports/shell.h"
#include "core/session/login_view.h"
#include "core/session/saved_credentials.h"

namespace pom {
namespace {

constexpr int kLoginButton = 0;
constexpr int kSignUpButton = 1;
constexpr int kFindButton = 2;

// Edits hand out at most 127 characters; the presenter looks at a few more
// than the limit so that an over-long entry is recognised as such.
constexpr std::size_t kIdCut = 22;
constexpr std::size_t kIdMax = 20;
constexpr std::size_t kPasswordCut = 12;
constexpr std::size_t kPasswordMax = 10;
constexpr std::size_t kMinLength = 4;

}  // namespace

LoginPresenter::LoginPresenter(Deps deps) : deps_(std::move(deps)) {}

void LoginPresenter::initialise(const std::string& clientVersion) {
  LoginView* view = deps_.view;
  SkinPainter* painter = view != nullptr ? view->painter() : nullptr;
  background_.load(0, 0, painter, kLoginBackgroundBitmap);

  const bool saved = deps_.config->readInt(ConfigKey::UserPwSave) != 0;
  std::string id;
  std::string password;
  if (saved) {
    id = deps_.config->readText(ConfigKey::UserId);
    password = decodeSavedPassword(deps_.config->readText(ConfigKey::UserPw));
  }
  if (view != nullptr) {
    view->setIdText(id);
    view->setPasswordText(password);
    view->setSaveChecked(saved);
    view->focusIdEdit();
    view->setTitle("폼베일2.0b - 0." + clientVersion);
  }
  buttons_[kLoginButton].load(210, 97, painter, kLoginButtonBitmap);
  buttons_[kSignUpButton].load(30, 190, painter, kSignUpButtonBitmap);
  buttons_[kFindButton].load(160, 190, painter, kFindIdButtonBitmap);
}

void LoginPresenter::repaint() {
  if (deps_.view == nullptr) return;
  background_.paint(deps_.view->painter());
  for (SkinButton& button : buttons_) button.paint();
}

void LoginPresenter::onMouseMove(int x, int y) {
  for (SkinButton& button : buttons_) button.hoverTest(x, y, true);
}

void LoginPresenter::onLeftDown(int x, int y) {
  for (SkinButton& button : buttons_) button.pressTest(x, y);
}

void LoginPresenter::onLeftUp(int x, int y) {
  if (buttons_[kLoginButton].clickTest(x, y)) tryLogin();
  if (buttons_[kSignUpButton].clickTest(x, y)) openPage("/member/member_step1.asp");
  if (buttons_[kFindButton].clickTest(x, y)) openPage("/member/id_pw_search.asp");
}

void LoginPresenter::onEditKey(LoginEdit edit, LoginKey key) {
  if (key == LoginKey::Tab && edit == LoginEdit::Id) {
    if (deps_.view != nullptr) deps_.view->focusPasswordEdit();
  } else if (key == LoginKey::Enter) {
    tryLogin();
  }
}

void LoginPresenter::openPage(const char* path) {
  deps_.shell->execute("open", "IEXPLORE.EXE", deps_.servers->webBase(Server::WebSite) + path,
                       ShowMode::Maximized);
}

void LoginPresenter::showError(const std::string& text) {
  deps_.dialogs->show(text, "Error", MessageIcon::Error, DialogOwner::LoginWindow);
}

bool LoginPresenter::tryLogin() {
  if (busy_ || deps_.view == nullptr) return false;

  const std::string id = cutText(deps_.view->idText(), kIdCut);
  if (id.size() > kIdMax) {
    showError("아이디는 20자 이내로 입력하세요!     ");
    return false;
  }
  if (id.size() < kMinLength) {
    showError("아이디을 입력하여주세요!     ");
    return false;
  }
  const std::string password = cutText(deps_.view->passwordText(), kPasswordCut);
  if (password.size() > kPasswordMax) {
    showError("비번은 10자 이내로 입력하세요!     ");
    return false;
  }
  if (password.size() < kMinLength) {
    showError("패스워드을 입력하여주세요!     ");
    return false;
  }
  memberId_ = id;
  password_ = password;

  if (deps_.view->saveChecked()) {
    deps_.config->writeText(ConfigKey::UserPwSave, "1");
    deps_.config->writeText(ConfigKey::UserId, memberId_);
    deps_.config->writeText(ConfigKey::UserPw, encodeSavedPassword(password_));
  } else {
    deps_.config->writeText(ConfigKey::UserPwSave, "0");
  }
  if (deps_.files != nullptr) deps_.files->setHidden(kConfigFile);

  // Busy before connecting: a connect that fails at once reports on the
  // next turn of the loop, and its answer must find the window busy.
  busy_ = true;
  deps_.connectToServer();
  return true;
}

void LoginPresenter::setCredentials(const std::string& memberId, const std::string& password) {
  memberId_ = memberId;
  password_ = password;
}

void LoginPresenter::hideControls() {
  if (deps_.view != nullptr) deps_.view->setControlsVisible(false);
  background_.setVisible(false);
  for (SkinButton& button : buttons_) button.setEnabled(false);
}

void LoginPresenter::loginAccepted() {
  buttons_[kLoginButton].setEnabled(false);
}

void LoginPresenter::loginRefusedQuota() {
  buttons_[kLoginButton].setEnabled(true);
  if (deps_.view != nullptr) {
    deps_.view->redraw();
    deps_.view->focusIdEdit();
  }
}

void LoginPresenter::loginRefused() {
  background_.setVisible(true);
  if (deps_.view != nullptr) deps_.view->setControlsVisible(true);
  buttons_[kLoginButton].setEnabled(true);
  if (deps_.view != nullptr) {
    deps_.view->redraw();
    deps_.view->focusIdEdit();
  }
}

}  // namespace pom
