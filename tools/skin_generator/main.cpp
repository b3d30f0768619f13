// skin_generator OUTPUT_FOLDER
//
// Draws every bitmap and the icon of the program's resources into
// OUTPUT_FOLDER (created beforehand by the caller) and writes "skin.stamp"
// last, so a build can depend on that one file. Exits non-zero when a file
// cannot be written or a label cannot be rendered.
#include <cstdio>
#include <string>

#include "skin_set.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin_generator OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  skin::TextRenderer text;
  skin::SkinSet set(text);
  skin::buildLoginSkin(set);
  skin::buildMainSkin(set);
  skin::buildTransferSkin(set);
  skin::buildSmallSkin(set);
  if (text.failed()) return 1;
  if (!set.writeAll(folder)) return 1;
  std::FILE* stamp = std::fopen((folder + "/skin.stamp").c_str(), "w");
  if (!stamp) return 1;
  std::fputs("skin generated\n", stamp);
  return std::fclose(stamp) == 0 ? 0 : 1;
}
