#include "skin_set.h"

#include <cstdio>

namespace skin {

bool SkinSet::writeAll(const std::string& folder) const {
  for (const auto& [name, canvas] : bitmaps_) {
    if (!canvas.writeBmp(folder + "/" + name + ".bmp")) {
      std::fprintf(stderr, "skin_generator: cannot write %s/%s.bmp\n", folder.c_str(),
                   name.c_str());
      return false;
    }
  }
  std::vector<IconImage> images;
  for (size_t k = 0; k < iconOnBlack_.size() && k < iconOnWhite_.size(); ++k)
    images.push_back({&iconOnBlack_[k], &iconOnWhite_[k]});
  return writeIco(folder + "/103.ico", images);
}

}  // namespace skin
