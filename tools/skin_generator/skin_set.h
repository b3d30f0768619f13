// SkinSet: the collection of every bitmap the program loads, keyed by the file
// name the resource script uses ("208.bmp", "ICON_FOLD.bmp"), plus the icon.
// Each build* function adds one window's bitmaps.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "canvas.h"
#include "text_renderer.h"

namespace skin {

class SkinSet {
 public:
  explicit SkinSet(TextRenderer& text) : text_(text) {}
  TextRenderer& text() { return text_; }

  void add(int resourceId, Canvas canvas) { add(std::to_string(resourceId), std::move(canvas)); }
  void add(const std::string& name, Canvas canvas) {
    bitmaps_.emplace_back(name, std::move(canvas));
  }
  // The program icon, each size drawn once on black and once on white.
  void setIcon(std::vector<Canvas> onBlack, std::vector<Canvas> onWhite) {
    iconOnBlack_ = std::move(onBlack);
    iconOnWhite_ = std::move(onWhite);
  }

  // Writes "<name>.bmp" for every bitmap and "103.ico"; false on the first failure.
  bool writeAll(const std::string& folder) const;

 private:
  TextRenderer& text_;
  std::vector<std::pair<std::string, Canvas>> bitmaps_;
  std::vector<Canvas> iconOnBlack_, iconOnWhite_;
};

void buildLoginSkin(SkinSet& set);
void buildMainSkin(SkinSet& set);
void buildTransferSkin(SkinSet& set);
void buildSmallSkin(SkinSet& set);  // tree icons, list header, small buttons, the program icon

}  // namespace skin
