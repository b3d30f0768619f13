#include "win32/transfer_window_layout.h"

#include <iterator>

namespace pom {
namespace {

using Action = TransferAction;

// The start and stop buttons share one place; only one of them is shown.
constexpr TransferButtonPlace kDownloadButtons[] = {
    {7, 85, 285, Action::PlayerPage},        {5, 105, 245, Action::MoveUp},
    {34, 105, 243, Action::MoveDown},        {63, 105, 244, Action::MoveTop},
    {92, 105, 242, Action::MoveEnd},         {128, 105, 247, Action::SelectAll},
    {217, 105, 249, Action::DeleteSelected}, {306, 105, 253, Action::RemoveCompleted},
    {5, 493, 278, Action::OpenSelected},     {93, 493, 260, Action::OpenFolder},
    {181, 493, 261, Action::ChooseFolder},   {581, 493, 256, Action::Start},
    {581, 493, 255, Action::Stop},
};

constexpr TransferButtonPlace kUploadButtons[] = {
    {7, 85, 285, Action::PlayerPage},        {5, 105, 245, Action::MoveUp},
    {34, 105, 243, Action::MoveDown},        {63, 105, 244, Action::MoveTop},
    {92, 105, 242, Action::MoveEnd},         {128, 105, 247, Action::SelectAll},
    {217, 105, 249, Action::DeleteSelected}, {306, 105, 253, Action::RemoveCompleted},
    {5, 493, 272, Action::AddFiles},         {84, 493, 273, Action::AddFolder},
    {581, 493, 256, Action::Start},          {581, 493, 255, Action::Stop},
};

constexpr TransferLayout kDownload{L"Pomvale downLoad",
                                   "폼베일 다운로드",
                                   268,
                                   "동시다운로드수:",
                                   {538, 110, 90, 20},
                                   3011,
                                   275,
                                   380,
                                   190,
                                   "받을크기",
                                   190,
                                   false,
                                   kDownloadButtons,
                                   std::size(kDownloadButtons)};

constexpr TransferLayout kUpload{L"Pomvale UpLoad",
                                 "폼베일 업로드",
                                 269,
                                 "동시업로드수:",
                                 {548, 110, 80, 20},
                                 3012,
                                 170,
                                 275,
                                 115,
                                 "보낼크기",
                                 115,
                                 true,
                                 kUploadButtons,
                                 std::size(kUploadButtons)};

}  // namespace

const TransferLayout& transferLayoutOf(TransferKind kind) {
  return kind == TransferKind::Upload ? kUpload : kDownload;
}

}  // namespace pom
