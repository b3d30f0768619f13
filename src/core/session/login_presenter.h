// LoginPresenter: the rules of the login window.
//
// Holds the three skinned buttons and the background image, validates the
// member id and password, saves them in "./PomConfig.ini" when asked, keeps
// them for the login request and the web token, and starts the connection.
// The session flow reports the server's answer back through loginAccepted,
// loginRefusedQuota, loginRefused and clearBusy.
//
// Owned by the session module; the view, ports and callbacks must outlive
// it. Loop thread only. Texts are CP949 bytes.
#pragma once

#include <functional>
#include <string>

#include "core/ui/skin_button.h"
#include "core/ui/skin_image.h"

namespace pom {

class ConfigStore;
class Dialogs;
class Servers;
class FileSystem;
class LoginView;
class Shell;

// Bitmap resources and positions of the login window.
inline constexpr int kLoginBackgroundBitmap = 208;
inline constexpr int kLoginButtonBitmap = 115;
inline constexpr int kSignUpButtonBitmap = 241;
inline constexpr int kFindIdButtonBitmap = 240;
inline constexpr int kLoginWindowWidth = 308;
inline constexpr int kLoginWindowHeight = 245;
inline constexpr int kLoginCentringHeight = 300;  // used instead of 245 to centre

enum class LoginEdit { Id, Password };
enum class LoginKey { Tab, Enter };

class LoginPresenter {
 public:
  struct Deps {
    LoginView* view = nullptr;
    ConfigStore* config = nullptr;
    Dialogs* dialogs = nullptr;
    Shell* shell = nullptr;
    FileSystem* files = nullptr;
    // The web site's address, for the sign-up and id-search pages.
    const Servers* servers = nullptr;
    // Connect-to-server (the session flow's); must be set.
    std::function<void()> connectToServer;
  };

  explicit LoginPresenter(Deps deps);

  // The view arrives once the front end has created the window.
  void attachView(LoginView* view) { deps_.view = view; }

  // After the window and its controls exist: background, saved credentials,
  // focus, title "폼베일2.0b - 0.<client version>", the three buttons.
  void initialise(const std::string& clientVersion);

  // Paints the background image and the three buttons.
  void repaint();

  // Mouse messages of the window, in client coordinates from the cursor.
  void onMouseMove(int x, int y);
  void onLeftDown(int x, int y);
  void onLeftUp(int x, int y);
  // Key filter of the two edits (the edit's own procedure runs afterwards).
  void onEditKey(LoginEdit edit, LoginKey key);

  // Validates, saves and connects; true when the connection was started.
  bool tryLogin();

  // The main window takes over: edits, save box and background hidden,
  // buttons disabled.
  void hideControls();

  // Answers of the session flow.
  void loginAccepted();      // log-in button disabled
  void loginRefusedQuota();  // flat-rate connections exhausted
  void loginRefused();       // wrong id/password or other refusal
  void clearBusy() { busy_ = false; }
  bool busy() const { return busy_; }

  // The kept login data: the id (at most 20 characters) and password (at
  // most 10) of the current login.
  const std::string& memberId() const { return memberId_; }
  const std::string& password() const { return password_; }
  // Sets the kept data directly (the headless front end has no edits).
  void setCredentials(const std::string& memberId, const std::string& password);

  const SkinButton& button(int index) const { return buttons_[index]; }
  const SkinImage& background() const { return background_; }

 private:
  void showError(const std::string& text);
  void openPage(const char* path);

  Deps deps_;
  SkinButton buttons_[3];
  SkinImage background_;
  bool busy_ = false;
  std::string memberId_;
  std::string password_;
};

}  // namespace pom
