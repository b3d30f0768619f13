#include "text_renderer.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace skin {
namespace {

// Runs argv[0] with its standard output captured; false unless it exits 0.
bool runCapture(const std::vector<std::string>& args, std::string& output) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(fds[1]);
  char buffer[8192];
  ssize_t n;
  while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
    output.append(buffer, static_cast<size_t>(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool fileExists(const std::string& path) {
  return access(path.c_str(), R_OK) == 0;
}

// Parses a binary PGM ("P5 w h 255" then bytes).
bool parsePgm(const std::string& data, Mask& mask) {
  int w = 0, h = 0, maxValue = 0, consumed = 0;
  if (std::sscanf(data.c_str(), "P5 %d %d %d%n", &w, &h, &maxValue, &consumed) != 3) return false;
  size_t start = static_cast<size_t>(consumed) + 1;  // one whitespace byte ends the header
  if (w <= 0 || h <= 0 || maxValue != 255 || data.size() < start + static_cast<size_t>(w) * h)
    return false;
  mask.width = w;
  mask.height = h;
  mask.alpha.assign(data.begin() + static_cast<long>(start),
                    data.begin() + static_cast<long>(start + static_cast<size_t>(w) * h));
  return true;
}

}  // namespace

std::string TextRenderer::fontFile(Weight weight) {
  auto it = fonts_.find(weight);
  if (it != fonts_.end()) return it->second;
  const char* file = weight == Weight::Regular ? "NanumGothic.ttf"
                     : weight == Weight::Bold  ? "NanumGothicBold.ttf"
                                               : "../nanum/NanumSquareRoundB.ttf";
  std::string path = std::string("/usr/share/fonts/truetype/nanum/") + file;
  if (!fileExists(path)) {
    // Other layouts: ask fontconfig for the family.
    std::string style = weight == Weight::Regular ? "" : ":bold";
    std::string found;
    if (runCapture({"fc-match", "-f", "%{file}", "NanumGothic" + style}, found) &&
        fileExists(found))
      path = found;
  }
  return fonts_[weight] = path;
}

const Mask& TextRenderer::render(const std::string& utf8, int pixelSize, Weight weight) {
  auto key = std::make_tuple(utf8, pixelSize, weight);
  auto it = cache_.find(key);
  if (it != cache_.end()) return it->second;
  Mask mask;
  std::string pgm;
  // "label:" would read a leading '@' as a file name; no label here starts so.
  std::vector<std::string> args = {"convert",
                                   "-background",
                                   "black",
                                   "-fill",
                                   "white",
                                   "-font",
                                   fontFile(weight),
                                   "-density",
                                   "72",
                                   "-pointsize",
                                   std::to_string(pixelSize),
                                   "label:" + utf8,
                                   "-trim",
                                   "+repage",
                                   "-depth",
                                   "8",
                                   "pgm:-"};
  if (!runCapture(args, pgm) || !parsePgm(pgm, mask)) {
    std::fprintf(stderr, "skin_generator: could not render \"%s\" with convert\n", utf8.c_str());
    failed_ = true;
  }
  return cache_[key] = mask;
}

void drawTextCentred(Canvas& canvas, TextRenderer& text, const std::string& utf8, double cx,
                     double cy, int pixelSize, Weight weight, Rgb color, double alpha) {
  const Mask& m = text.render(utf8, pixelSize, weight);
  canvas.drawMask(m, static_cast<int>(std::lround(cx - m.width / 2.0)),
                  static_cast<int>(std::lround(cy - m.height / 2.0)), color, alpha);
}

void drawTextLeft(Canvas& canvas, TextRenderer& text, const std::string& utf8, int x, double cy,
                  int pixelSize, Weight weight, Rgb color, double alpha) {
  const Mask& m = text.render(utf8, pixelSize, weight);
  canvas.drawMask(m, x, static_cast<int>(std::lround(cy - m.height / 2.0)), color, alpha);
}

}  // namespace skin
