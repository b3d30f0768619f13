#include "core/storage/progress_dialog.h"

namespace pom {

bool ProgressDialog::isOpen() const {
  return view_ != nullptr && view_->exists();
}

bool ProgressDialog::open(const char* title, const char* label) {
  if (view_ == nullptr) {
    busy_ = true;  // no window (headless): the flag still tracks the wait
    return true;
  }
  if (view_->exists()) return false;
  view_->create();
  busy_ = true;
  view_->setTitle(title);
  if (label != nullptr) view_->setLabel(label);
  view_->showAndFocus();
  return true;
}

bool ProgressDialog::openLoading() {
  return open("로딩 중", nullptr);
}

bool ProgressDialog::openMoving() {
  return open("이동 중 ", "파일을 이동 중 입니다.");
}

void ProgressDialog::finish() {
  if (view_ != nullptr && view_->exists()) view_->destroy();
  busy_ = false;
}

void ProgressDialog::onCloseMessage() {
  if (view_ != nullptr && view_->exists()) view_->destroy();
}

}  // namespace pom
