// LoginView: the login window as its presenter sees it.
//
// The Win32 side creates the top-level window ("Pomvale", 308 x 245,
// centred with 300 as the height), the id edit, password edit and save box
// (empty), and then hands the view to ClientApp::run, which lets the
// presenter fill them. The edits' key filter forwards Tab and Enter to
// LoginPresenter::onEditKey; the window's mouse messages reach
// LoginPresenter through the fan-out (client coordinates from the cursor).
// Texts are CP949 bytes.
#pragma once

#include <string>

namespace pom {

class SkinPainter;

class LoginView {
 public:
  virtual ~LoginView() = default;

  // The window's drawing surface for the background and the three buttons.
  virtual SkinPainter* painter() = 0;

  // Edit contents as typed (the edits hand out at most 127 characters).
  virtual std::string idText() = 0;
  virtual std::string passwordText() = 0;
  virtual bool saveChecked() = 0;

  virtual void setIdText(const std::string& text) = 0;
  virtual void setPasswordText(const std::string& text) = 0;
  virtual void setSaveChecked(bool checked) = 0;

  virtual void setTitle(const std::string& title) = 0;
  virtual void focusIdEdit() = 0;
  virtual void focusPasswordEdit() = 0;

  // Shows or hides the two edits and the save box together.
  virtual void setControlsVisible(bool visible) = 0;

  // Invalidates the whole window so that it repaints.
  virtual void redraw() = 0;

  // The top-level window: shown once start-up is done; destroyed (which ends
  // the program) when the member declines to reconnect.
  virtual void showWindow() = 0;
  virtual void destroyWindow() = 0;
};

}  // namespace pom
