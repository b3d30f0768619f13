// The window base under Wine: a window made with create() and a control
// bound with attachTo() reach their handlers; unhandled messages keep their
// default processing; a destroyed object no longer receives messages.
#include "win32/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pom {
namespace {

constexpr wchar_t kClass[] = L"PomvaleTestWindow";

class RecordingWindow final : public Window {
 public:
  std::vector<std::string> log;
  bool swallowChars = false;

 protected:
  bool onCreate() override {
    log.push_back("create");
    return true;
  }
  void onSize(int width, int height) override {
    log.push_back("size " + std::to_string(width) + "x" + std::to_string(height));
  }
  bool onNotify(int id, NMHDR* header, LRESULT& result) override {
    log.push_back("notify " + std::to_string(id) + " " + std::to_string(header->code));
    result = 32;
    return true;
  }
  bool onTimer(UINT_PTR id) override {
    log.push_back("timer " + std::to_string(id));
    return true;
  }
  bool onLeftDown(const MousePoint& at) override {
    log.push_back("down " + std::to_string(at.x) + "," + std::to_string(at.y));
    return true;
  }
  bool onCaptureChanged(HWND) override {
    log.push_back("capture");
    return true;
  }
  bool onKeyDown(UINT key, LPARAM) override {
    log.push_back("key " + std::to_string(key));
    return false;  // the default processing still runs
  }
  bool onChar(wchar_t character, LPARAM) override {
    log.push_back("char " + std::to_string(static_cast<int>(character)));
    return swallowChars;
  }
};

HINSTANCE module() {
  return GetModuleHandleW(nullptr);
}

TEST(Win32Window, CreatedWindowReachesItsHandlers) {
  ASSERT_TRUE(Window::registerClass(module(), kClass, nullptr, nullptr));
  RecordingWindow window;
  ASSERT_NE(window.create(module(), kClass, L"t", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100), nullptr);
  EXPECT_EQ(window.log.front(), "create");
  HWND handle = window.handle();
  SendMessageW(handle, WM_SIZE, 0, MAKELPARAM(120, 80));
  NMHDR header{handle, 7, NM_CUSTOMDRAW};
  EXPECT_EQ(SendMessageW(handle, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 32);
  SendMessageW(handle, WM_TIMER, 5, 0);
  SendMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 9));
  SendMessageW(handle, WM_CAPTURECHANGED, 0, 0);
  EXPECT_EQ(window.log, std::vector<std::string>({"create", "size 120x80",
                                                  "notify 7 " + std::to_string(NM_CUSTOMDRAW),
                                                  "timer 5", "down -3,9", "capture"}));
  // Unhandled: the default processing answers (a window's text).
  SetWindowTextW(handle, L"title");
  wchar_t text[16] = {};
  EXPECT_EQ(GetWindowTextW(handle, text, 16), 5);
  DestroyWindow(handle);
  EXPECT_EQ(window.handle(), nullptr) << "unbound once destroyed";
}

TEST(Win32Window, AttachedControlKeepsItsOwnBehaviourUnlessAHandlerTakesIt) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, module(),
                              nullptr);
  ASSERT_NE(edit, nullptr);
  {
    RecordingWindow filter;
    ASSERT_TRUE(filter.attachTo(edit));
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(edit, WM_CHAR, L'a', 0);
    filter.swallowChars = true;
    SendMessageW(edit, WM_CHAR, L'b', 0);
    EXPECT_EQ(filter.log, std::vector<std::string>({"key 13", "char 97", "char 98"}));
    wchar_t text[8] = {};
    GetWindowTextW(edit, text, 8);
    EXPECT_EQ(std::wstring(text), L"a") << "the edit typed what the filter let through";
  }
  // The filter is gone: the edit works on alone.
  SendMessageW(edit, WM_CHAR, L'c', 0);
  wchar_t text[8] = {};
  GetWindowTextW(edit, text, 8);
  EXPECT_EQ(std::wstring(text), L"ac");
  DestroyWindow(edit);
}

}  // namespace
}  // namespace pom
