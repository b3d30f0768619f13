// The transfer window's list: an owner-data list whose texts, icons and
// colours come from the presenter's rows when the control draws them.
#include "win32/transfer_window.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/win32/wide_text.h"

namespace pom {
namespace {

constexpr COLORREF kRowText = RGB(37, 37, 37);
constexpr COLORREF kShadedRow = RGB(245, 245, 245);
constexpr COLORREF kProgressText = RGB(255, 255, 255);
constexpr int kProgressTextX = 35;
constexpr int kProgressTextChars = 4;

// The background of a row in a given job state, if the state has one.
std::optional<COLORREF> stateColour(TransferKind kind, int state) {
  switch (state) {
    case 1:
      return RGB(141, 137, 253);
    case 2:
      return RGB(255, 180, 97);
    case 3:
      return RGB(249, 253, 137);
    case 4:
      return RGB(195, 195, 195);
    case 6:
      return RGB(166, 224, 85);
    case 7:
      if (kind == TransferKind::Download) return RGB(166, 224, 85);
      return std::nullopt;
    case 8:
    case 9:
      if (kind == TransferKind::Upload) return RGB(166, 224, 85);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

const std::string& columnText(const TransferRow& row, int column) {
  switch (column) {
    case 0:
      return row.name;
    case 1:
      return row.sizeText;
    case 2:
      return row.progressText;
    case 3:
      return row.speedText;
    default:
      return row.stateText;
  }
}

// Pixels of the row bar that are filled: all of it once done reaches total.
int filledWidth(std::int64_t done, std::int64_t total) {
  if (done >= total) return kRowBarWidth;
  const double part = static_cast<double>(done) / static_cast<double>(total);
  return std::clamp(static_cast<int>(part * kRowBarWidth), 0, kRowBarWidth);
}

}  // namespace

void Win32TransferWindowView::fillDisplayInfo(LVITEMW& item) {
  if (item.iItem < 0 || item.iItem >= input_.rowCount()) return;
  if ((item.mask & (LVIF_TEXT | LVIF_IMAGE)) == 0) return;
  const TransferRow row = input_.row(item.iItem);
  if ((item.mask & LVIF_TEXT) != 0 && item.pszText != nullptr && item.cchTextMax > 0) {
    const bool column = item.iSubItem >= 0 && item.iSubItem < kTransferColumns;
    const std::wstring text = column ? widen(columnText(row, item.iSubItem)) : std::wstring();
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
  }
  // Only the name carries an icon; the other cells keep none.
  if ((item.mask & LVIF_IMAGE) != 0)
    item.iImage = item.iSubItem == 0 ? icons_.fileIcon(widen(row.name)) : I_IMAGENONE;
}

LRESULT Win32TransferWindowView::customDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int index = static_cast<int>(draw.nmcd.dwItemSpec);
      drawnIndex_ = -1;
      if (index < 0 || index >= input_.rowCount()) return CDRF_DODEFAULT;
      drawnRow_ = input_.row(index);
      drawnIndex_ = index;
      return CDRF_NOTIFYSUBITEMDRAW;
    }
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
      if (drawnIndex_ != static_cast<int>(draw.nmcd.dwItemSpec)) return CDRF_DODEFAULT;
      std::optional<COLORREF> background = stateColour(kind_, drawnRow_.state);
      if (!background && drawnIndex_ % 2 == 1) background = kShadedRow;
      if (draw.iSubItem == kTransferProgressColumn && drawnRow_.done > 0) {
        drawProgressCell(draw, background ? *background : listBackground());
        return CDRF_SKIPDEFAULT;
      }
      if (background) {
        draw.clrText = kRowText;
        draw.clrTextBk = *background;
        // The control may fill only behind the text: the whole cell takes
        // the row's colour first.
        fillCell(draw, *background);
      }
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

COLORREF Win32TransferWindowView::listBackground() const {
  const COLORREF colour = ListView_GetBkColor(list_);
  return colour == CLR_NONE || colour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : colour;
}

void Win32TransferWindowView::fillCell(const NMLVCUSTOMDRAW& draw, COLORREF colour) const {
  RECT cell{};
  if (!ListView_GetSubItemRect(list_, static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem,
                               LVIR_BOUNDS, &cell))
    return;
  // The bounds of sub-item 0 are the whole row's.
  if (draw.iSubItem == 0) cell.right = cell.left + ListView_GetColumnWidth(list_, 0);
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(draw.nmcd.hdc, &cell, brush);
  DeleteObject(brush);
}

// The track bitmap, its filled part cut to the share done, and the
// percentage over them in white.
void Win32TransferWindowView::drawProgressCell(const NMLVCUSTOMDRAW& draw, COLORREF background) {
  const int index = static_cast<int>(draw.nmcd.dwItemSpec);
  RECT cell{};
  if (!ListView_GetSubItemRect(list_, index, kTransferProgressColumn, LVIR_BOUNDS, &cell)) return;
  HDC dc = draw.nmcd.hdc;
  const bool selected = (ListView_GetItemState(list_, index, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  fillCell(draw, selected ? GetSysColor(COLOR_HIGHLIGHT) : background);
  const int width = std::min<int>(kRowBarWidth, cell.right - cell.left - 1);
  if (HDC track = painter_.bitmapContext(kRowTrackBitmap))
    BitBlt(dc, cell.left + 1, cell.top + 2, width, kRowBarHeight, track, 0, 0, SRCCOPY);
  const int filled = std::min(width, filledWidth(drawnRow_.done, drawnRow_.total));
  if (HDC fill = painter_.bitmapContext(kRowFillBitmap))
    BitBlt(dc, cell.left + 1, cell.top + 2, filled, kRowBarHeight, fill, 0, 0, SRCCOPY);
  std::wstring text = widen(drawnRow_.progressText);
  if (text.size() > kProgressTextChars) text.resize(kProgressTextChars);
  const int previousMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF previousColour = SetTextColor(dc, kProgressText);
  RECT textArea{cell.left + kProgressTextX, cell.top, cell.right, cell.bottom};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textArea,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, previousColour);
  SetBkMode(dc, previousMode);
}

bool Win32TransferWindowView::listNotify(NMHDR* header, LRESULT& result) {
  result = 0;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      fillDisplayInfo(reinterpret_cast<NMLVDISPINFOW*>(header)->item);
      return true;
    case NM_CUSTOMDRAW:
      result = customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(header));
      return true;
    case NM_DBLCLK: {
      const int row = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
      if (row >= 0) input_.onRowDoubleClick(row);
      return true;
    }
    case NM_RCLICK:
      showMenuAtCursor();
      result = 1;  // no WM_CONTEXTMENU after it
      return true;
    case LVN_COLUMNCLICK:
      input_.onColumnClick(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
      return true;
    case LVN_BEGINDRAG:
      beginDrag(*reinterpret_cast<NMLISTVIEW*>(header));
      return true;
    default:
      return false;
  }
}

bool Win32TransferWindowView::onNotify(int, NMHDR* header, LRESULT& result) {
  return list_ != nullptr && header->hwndFrom == list_ && listNotify(header, result);
}

}  // namespace pom
