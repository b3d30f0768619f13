#include "win32/gdi_painter.h"

#include "platform/win32/wide_text.h"

namespace pom {

HFONT createSkinFont(const std::string& faceCp949, int weight) {
  const std::wstring face = widen(faceCp949);
  return CreateFontW(12, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, VARIABLE_PITCH, face.c_str());
}

GdiPainter::GdiPainter(HINSTANCE instance, const std::string& fontFace)
    : instance_(instance),
      normal_(createSkinFont(fontFace, FW_NORMAL)),
      bold_(createSkinFont(fontFace, FW_BOLD)) {}

GdiPainter::~GdiPainter() {
  for (auto& entry : bitmaps_) {
    Loaded& loaded = entry.second;
    if (loaded.context != nullptr) {
      SelectObject(loaded.context, loaded.previous);
      DeleteDC(loaded.context);
    }
    if (loaded.bitmap != nullptr) DeleteObject(loaded.bitmap);
  }
  if (normal_ != nullptr) DeleteObject(normal_);
  if (bold_ != nullptr) DeleteObject(bold_);
}

const GdiPainter::Loaded* GdiPainter::load(int resourceId) {
  auto it = bitmaps_.find(resourceId);
  if (it != bitmaps_.end()) return it->second.bitmap != nullptr ? &it->second : nullptr;
  Loaded loaded;
  loaded.bitmap = static_cast<HBITMAP>(
      LoadImageW(instance_, MAKEINTRESOURCEW(resourceId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (loaded.bitmap != nullptr) {
    BITMAP info{};
    GetObjectW(loaded.bitmap, sizeof info, &info);
    loaded.size = {info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    loaded.context = CreateCompatibleDC(nullptr);
    loaded.previous = SelectObject(loaded.context, loaded.bitmap);
  }
  // A missing resource is remembered too, so it is not looked up again.
  Loaded& stored = bitmaps_[resourceId] = loaded;
  return stored.bitmap != nullptr ? &stored : nullptr;
}

HDC GdiPainter::bitmapContext(int resourceId) {
  const Loaded* loaded = load(resourceId);
  return loaded != nullptr ? loaded->context : nullptr;
}

bool GdiPainter::bitmapSize(int resourceId, SkinSize& size) {
  const Loaded* loaded = load(resourceId);
  if (loaded == nullptr) return false;
  size = loaded->size;
  return true;
}

bool GdiPainter::windowValid() {
  return window_ != nullptr && IsWindow(window_);
}

template <typename Draw>
void GdiPainter::withTarget(Draw draw) {
  if (target_ != nullptr) {
    draw(target_);
    return;
  }
  if (!windowValid()) return;
  HDC dc = GetDC(window_);
  if (dc == nullptr) return;
  draw(dc);
  ReleaseDC(window_, dc);
}

void GdiPainter::copyBitmap(int resourceId, int srcX, int srcY, int width, int height, int x,
                            int y) {
  HDC source = bitmapContext(resourceId);
  if (source == nullptr) return;
  withTarget([&](HDC dc) { BitBlt(dc, x, y, width, height, source, srcX, srcY, SRCCOPY); });
}

void GdiPainter::copyFrom(HDC source, int width, int height, int x, int y) {
  withTarget([&](HDC dc) { BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY); });
}

void GdiPainter::stretchBitmap(int resourceId, int x, int y, int width, int height) {
  const Loaded* loaded = load(resourceId);
  if (loaded == nullptr) return;
  withTarget([&](HDC dc) {
    if (width == loaded->size.width && height == loaded->size.height) {
      BitBlt(dc, x, y, width, height, loaded->context, 0, 0, SRCCOPY);
    } else {
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, x, y, width, height, loaded->context, 0, 0, loaded->size.width,
                 loaded->size.height, SRCCOPY);
    }
  });
}

void GdiPainter::setArrowCursor() {
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

SkinSize GdiPainter::drawText(const std::string& text, int x, int y, SkinFont font,
                              SkinColor color) {
  SkinSize extent;
  const std::wstring wide = widen(text);
  withTarget([&](HDC dc) {
    HGDIOBJ previousFont = SelectObject(dc, this->font(font));
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF rgb = color == SkinColor::White  ? RGB(255, 255, 255)
                   : color == SkinColor::Blue ? RGB(0, 0, 255)
                                              : RGB(0, 0, 0);
    COLORREF previousColor = SetTextColor(dc, rgb);
    TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    extent = {size.cx, size.cy};
    SetTextColor(dc, previousColor);
    SetBkMode(dc, previousMode);
    SelectObject(dc, previousFont);
  });
  return extent;
}

}  // namespace pom
