#include "win32/settings_dialog_view.h"

#include "platform/win32/wide_text.h"
#include "win32/gdi_painter.h"

namespace pom {

namespace {

constexpr int kOkButton = 1019;
constexpr int kDefaultsButton = 1020;
constexpr int kCancelButton = 1021;
constexpr int kAutoLoginBox = 3502;
constexpr int kAutoUploadBox = 3503;
constexpr int kAutoDownloadBox = 3504;
constexpr int kSharingRadio = 3506;  // all three radios
constexpr int kFolderButton = 3507;
constexpr int kFolderBitmap = 229;
constexpr int kDesignBaseX = 7;   // pixels per 4 horizontal dialog units
constexpr int kDesignBaseY = 12;  // pixels per 8 vertical dialog units

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEdit = kChild | WS_BORDER | ES_AUTOHSCROLL | ES_READONLY;

}  // namespace

Win32SettingsDialogView::Win32SettingsDialogView(HINSTANCE instance, SettingsDialog& presenter,
                                                 std::string fontFace)
    : Dialog(instance),
      instance_(instance),
      presenter_(presenter),
      fontFace_(std::move(fontFace)) {}

Win32SettingsDialogView::~Win32SettingsDialogView() {
  destroy();
}

HWND Win32SettingsDialogView::make(const wchar_t* className, const std::string& text, DWORD style,
                                   int id, int x, int y, int width, int height) {
  // The pixel places belong to the template's font, whose dialog base units
  // are 7 x 12 pixels; under another font (a substituted face) they follow
  // the template's frames by the same factor, so nothing leaves its frame.
  RECT units{0, 0, 4, 8};
  MapDialogRect(handle(), &units);
  const int baseX = units.right > 0 ? units.right : kDesignBaseX;
  const int baseY = units.bottom > 0 ? units.bottom : kDesignBaseY;
  HWND control =
      CreateWindowExW(0, className, widen(text).c_str(), style, MulDiv(x, baseX, kDesignBaseX),
                      MulDiv(y, baseY, kDesignBaseY), MulDiv(width, baseX, kDesignBaseX),
                      MulDiv(height, baseY, kDesignBaseY), handle(),
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  if (control != nullptr && id != kFolderButton)
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
  return control;
}

bool Win32SettingsDialogView::create(const std::string& title) {
  createDialog(kSettingsDialogTemplate);
  if (!dialogExists()) return false;
  setDialogTitle(title);
  if (font_ == nullptr) font_ = createSkinFont(fontFace_, FW_NORMAL);
  const DWORD box = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
  const DWORD radio = kChild | BS_AUTORADIOBUTTON;
  boxes_[0] =
      make(L"BUTTON", "프로그램 실행시 자동으로 로그인", box, kAutoLoginBox, 20, 20, 220, 15);
  idEdit_ = make(L"EDIT", "", kEdit, -1, 115, 40, 104, 18);
  passwordEdit_ = make(L"EDIT", "", kEdit | ES_PASSWORD, -1, 115, 60, 104, 18);
  boxes_[1] =
      make(L"BUTTON", "업로드창이 실행시 자동으로 전송시작", box, kAutoUploadBox, 20, 107, 230, 15);
  boxes_[2] = make(L"BUTTON", "다운로드창이 실행시 자동으로 전송시작", box, kAutoDownloadBox, 20,
                   127, 240, 15);
  // One group: clicking one radio clears the other two.
  radios_[0] =
      make(L"BUTTON", "전체공개", radio | WS_GROUP | WS_TABSTOP, kSharingRadio, 35, 175, 80, 15);
  radios_[1] = make(L"BUTTON", "비공개", radio, kSharingRadio, 115, 175, 60, 15);
  radios_[2] = make(L"BUTTON", "클럽만공개", radio, kSharingRadio, 185, 175, 90, 15);
  folderEdit_ = make(L"EDIT", "", kEdit | WS_GROUP, -1, 20, 245, 230, 18);
  HWND folderButton =
      make(L"BUTTON", "", kChild | WS_TABSTOP | BS_BITMAP, kFolderButton, 255, 243, 38, 21);
  if (folderBitmap_ == nullptr)
    folderBitmap_ = LoadBitmapW(instance_, MAKEINTRESOURCEW(kFolderBitmap));
  SendMessageW(folderButton, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(folderBitmap_));
  return true;
}

HWND Win32SettingsDialogView::controlOf(SettingsControl control) const {
  switch (control) {
    case SettingsControl::AutoLogin:
      return boxes_[0];
    case SettingsControl::AutoUpload:
      return boxes_[1];
    case SettingsControl::AutoDownload:
      return boxes_[2];
    case SettingsControl::Public:
      return radios_[0];
    case SettingsControl::Private:
      return radios_[1];
    case SettingsControl::Club:
      return radios_[2];
  }
  return nullptr;
}

void Win32SettingsDialogView::setChecked(SettingsControl control, bool checked) {
  SendMessageW(controlOf(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32SettingsDialogView::isChecked(SettingsControl control) {
  return SendMessageW(controlOf(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32SettingsDialogView::setCredentials(const std::string& id, const std::string& password) {
  SetWindowTextW(idEdit_, widen(id).c_str());
  SetWindowTextW(passwordEdit_, widen(password).c_str());
}

void Win32SettingsDialogView::setFolder(const std::string& path) {
  SetWindowTextW(folderEdit_, widen(path).c_str());
}

void Win32SettingsDialogView::destroy() {
  destroyDialog();
  for (HWND& control : boxes_) control = nullptr;
  for (HWND& control : radios_) control = nullptr;
  idEdit_ = passwordEdit_ = folderEdit_ = nullptr;
  if (font_ != nullptr) DeleteObject(font_);
  if (folderBitmap_ != nullptr) DeleteObject(folderBitmap_);
  font_ = nullptr;
  folderBitmap_ = nullptr;
}

bool Win32SettingsDialogView::onCommand(int id, int, HWND) {
  switch (id) {
    case kOkButton:
      presenter_.ok();
      return true;
    case kDefaultsButton:
      presenter_.defaults();
      return true;
    case kCancelButton:
    case IDCANCEL:  // Escape
      presenter_.cancel();
      return true;
    case kFolderButton:
      presenter_.chooseFolder();
      return true;
    default:
      return false;
  }
}

bool Win32SettingsDialogView::onClose() {
  presenter_.cancel();
  return true;
}

}  // namespace pom
