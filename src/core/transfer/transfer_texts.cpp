#include "core/transfer/transfer_texts.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

namespace pom {
namespace {

constexpr const char* kMediaExtensions[] = {
    ".asf", ".asx", ".avi",  ".bmp", ".cda", ".dat", ".divx", ".dvd", ".flv", ".ifo",
    ".jpg", ".m1v", ".m2v",  ".m4p", ".m4v", ".mid", ".mka",  ".mkv", ".mov", ".mp3",
    ".mp4", ".mpe", ".mpeg", ".mpg", ".ogg", ".ogm", ".pls",  ".rm",  ".rma", ".rmv",
    ".smi", ".swf", ".vob",  ".wm",  ".wma", ".wmp", ".wmv",  ".wmx", ".wvx",
};

}  // namespace

int transferPercent(std::int64_t received, std::int64_t total) {
  if (received <= 0 || total <= 0) return 0;
  const std::int64_t totalKB = total >> 10;
  if (totalKB == 0) return received >= total ? 100 : 0;
  const double percent = static_cast<double>(received >> 10) / static_cast<double>(totalKB) * 100;
  return std::clamp(static_cast<int>(percent), 0, 100);
}

std::string percentText(int percent) {
  char text[16];
  std::snprintf(text, sizeof text, "%d%% ", percent);
  return text;
}

std::string speedText(double mbps) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1fMbps", mbps);
  return text;
}

std::string clockText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char text[32];
  std::snprintf(text, sizeof text, "%02" PRId64 ":%02d:%02d", seconds / 3600,
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

std::string amountsText(std::int64_t doneBytes, std::int64_t queuedBytes) {
  char text[64];
  std::snprintf(text, sizeof text, "%" PRId64 "MB/%" PRId64 "MB", doneBytes >> 20,
                queuedBytes >> 20);
  return text;
}

int barPixels(std::int64_t doneBytes, std::int64_t queuedBytes) {
  if (queuedBytes <= 0 || doneBytes <= 0) return 0;
  const auto steps = static_cast<std::int64_t>(static_cast<double>(doneBytes) /
                                               static_cast<double>(queuedBytes) * 10000);
  const auto pixels = static_cast<int>(static_cast<double>(steps) / 10000 * kTransferBarPixels);
  return std::clamp(pixels, 0, kTransferBarPixels);
}

bool isMediaName(const std::string& name) {
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot == 0) return false;
  const std::string extension = name.substr(dot);
  return std::any_of(std::begin(kMediaExtensions), std::end(kMediaExtensions),
                     [&extension](const char* known) { return extension == known; });
}

}  // namespace pom
