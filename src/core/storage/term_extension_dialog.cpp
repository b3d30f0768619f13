#include "core/storage/term_extension_dialog.h"

#include <string>

#include "core/ports/dialogs.h"

namespace pom {
namespace {

std::string megabytes(std::int64_t bytes) {
  return std::to_string(bytes >> 20) + "MB";
}

}  // namespace

bool TermExtensionDialog::isOpen() const {
  return view_ != nullptr && view_->exists();
}

void TermExtensionDialog::open() {
  if (view_ == nullptr || view_->exists()) return;
  view_->create();  // runs onInitDialog, which may close the dialog again
  if (!view_->exists()) return;
  view_->setTitle("기간 연장 알림");
  view_->showAndFocus();
}

void TermExtensionDialog::onInitDialog() {
  if (view_ == nullptr) return;
  const std::int64_t quotaMb = freeQuota >> 20;
  const std::int64_t usedMb = totalUsed >> 20;
  view_->setLabel(kTermQuotaLabelId, megabytes(freeQuota));
  view_->setLabel(kTermUsedLabelId, megabytes(totalUsed));
  view_->setLabel(kTermAvailableLabelId, std::to_string(quotaMb - usedMb) + "MB");
  switch (result) {
    case ExtendTermReply::Result::Extended:
      view_->setLabel(kTermResultLabelId, "기한 연장이 완료되었습니다.");
      break;
    case ExtendTermReply::Result::NotEligible:
      if (dialogs_ != nullptr) {
        dialogs_->show("기한연장 대상자가 아닙니다.     ", "알림", MessageIcon::Warning,
                       DialogOwner::TermExtensionDialog);
      }
      close();
      break;
    case ExtendTermReply::Result::CapacityExceeded:
      view_->setLabel(kTermResultLabelId, "사용 용량을 초과했습니다.");
      view_->setLabel(kTermAvailableLabelId, "0MB");
      break;
    default:
      view_->setLabel(kTermResultLabelId, "잠시 후 다시 시도해주세요");
      close();
      break;
  }
}

void TermExtensionDialog::close() {
  result = kNoAnswer;
  storedValue = 0;
  freeQuota = 0;
  totalUsed = 0;
  if (view_ != nullptr && view_->exists()) view_->destroy();
}

}  // namespace pom
