// The fixed layout of the two transfer windows: what differs between the
// download window and the upload window (class, title, panel bitmap, label,
// control ids, check box places, skinned buttons, menu) and what they share
// (sizes, places of the panel texts, the bar, the list and its columns).
// Client coordinates in pixels. Texts are CP949.
#pragma once

#include <cstddef>

#include "core/transfer/transfer_window_view.h"

namespace pom {

struct TransferRect {
  int x;
  int y;
  int width;
  int height;
};

// One skinned button: its place, its four-frame bitmap and what it does.
struct TransferButtonPlace {
  int x;
  int y;
  int bitmap;
  TransferAction action;
};

struct TransferLayout {
  const wchar_t* className;
  const char* title;
  int panelBitmap;
  const char* concurrencyLabel;
  TransferRect labelRect;
  int comboId;
  int closeWhenDoneX;     // the check box "완료후 창닫기"
  int powerOffWhenDoneX;  // the check box "완료후 컴퓨터끄기"
  int listId;
  const char* sizeColumnTitle;
  int menuId;
  bool acceptsDroppedFiles;
  const TransferButtonPlace* buttons;
  std::size_t buttonCount;
};

const TransferLayout& transferLayoutOf(TransferKind kind);

// Shared by both windows.
inline constexpr int kTransferWindowWidth = 676;
inline constexpr int kTransferWindowHeight = 560;
inline constexpr int kTransferIcon = 103;
inline constexpr int kTransferBarBitmap = 160;
inline constexpr int kTransferBarX = 64;
inline constexpr int kTransferBarY = 55;
inline constexpr int kTransferBarFullScale = 600;
inline constexpr int kRowTrackBitmap = 162;  // the per-row progress track
inline constexpr int kRowFillBitmap = 164;   // its filled part
inline constexpr int kRowBarWidth = 90;
inline constexpr int kRowBarHeight = 11;
inline constexpr TransferRect kTransferListRect{5, 133, 660, 350};
inline constexpr TransferRect kTransferComboRect{629, 105, 35, 80};
inline constexpr int kTransferCheckBoxY = 501;
inline constexpr int kTransferCheckBoxHeight = 15;
inline constexpr int kCloseWhenDoneWidth = 100;
inline constexpr int kPowerOffWhenDoneWidth = 120;
// Group frames around the button row, the buttons' bar and the list.
inline constexpr TransferRect kTransferFrames[] = {
    {122, 93, 276, 38}, {-10, 93, 700, 38}, {-10, 68, 700, 421}};
// Where the three texts of the panel start (elapsed, remaining, amounts).
inline constexpr int kTransferTextY = 18;
inline constexpr int kElapsedTextX = 218;
inline constexpr int kRemainingTextX = 368;
inline constexpr int kAmountsTextX = 515;

// The list's columns: name, size, progress, speed, state.
inline constexpr int kTransferColumns = 5;
inline constexpr int kTransferProgressColumn = 2;
inline constexpr int kTransferColumnWidths[kTransferColumns] = {382, 60, 90, 70, 40};

}  // namespace pom
