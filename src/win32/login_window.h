// Win32LoginView: the login window's controls on the top window: the id
// edit (90, 100), the password edit (90, 122), both 104 x 18, and the save
// box (90, 150) 140 x 15, id 2007, "아이디/비밀번호저장", in the font.ini font.
// Both edits go through a key filter (Tab, Enter) that reports to the
// presenter before the edit's own procedure runs.
//
// It is also the login window's mouse handler in the fan-out: mouse move,
// left button down and up, with the position taken from the cursor.
// GUI thread only; lives as long as the top window.
#pragma once

#include <windows.h>

#include "core/hub/fan_out.h"
#include "core/session/login_presenter.h"
#include "core/session/login_view.h"
#include "win32/window.h"

namespace pom {

class TopWindow;

inline constexpr int kSaveBoxId = 2007;
inline constexpr int kIdEditId = 2005;
inline constexpr int kPasswordEditId = 2006;

class Win32LoginView final : public LoginView, public WindowMessageSink {
 public:
  Win32LoginView(TopWindow& top, LoginPresenter& presenter, WindowMessageFanOut& fanOut);
  ~Win32LoginView() override;

  // Creates the edits and the save box (empty) on the top window.
  bool createControls();

  SkinPainter* painter() override;
  std::string idText() override;
  std::string passwordText() override;
  bool saveChecked() override;
  void setIdText(const std::string& text) override;
  void setPasswordText(const std::string& text) override;
  void setSaveChecked(bool checked) override;
  void setTitle(const std::string& title) override;
  void focusIdEdit() override;
  void focusPasswordEdit() override;
  void setControlsVisible(bool visible) override;
  void redraw() override;
  void showWindow() override;
  void destroyWindow() override;

  void onWindowMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;

 private:
  // Tab and Enter of one edit, told to the presenter on key-down.
  class KeyFilter final : public Window {
   public:
    KeyFilter(LoginPresenter& presenter, LoginEdit edit) : presenter_(presenter), edit_(edit) {}

   protected:
    bool onKeyDown(UINT key, LPARAM flags) override;
    bool onChar(wchar_t character, LPARAM flags) override;

   private:
    LoginPresenter& presenter_;
    LoginEdit edit_;
  };

  TopWindow& top_;
  LoginPresenter& presenter_;
  WindowMessageFanOut& fanOut_;
  KeyFilter idFilter_;
  KeyFilter passwordFilter_;
  HWND idEdit_ = nullptr;
  HWND passwordEdit_ = nullptr;
  HWND saveBox_ = nullptr;
};

// Reads up to maxChars characters of a control's text as CP949 bytes.
std::string controlText(HWND control, int maxChars);

}  // namespace pom
