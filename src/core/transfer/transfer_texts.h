// The texts and numbers the download window shows: percentages, speeds,
// times, amounts, the overall bar, and which names the media player opens.
// Pure functions; texts are CP949 (ASCII here).
#pragma once

#include <cstdint>
#include <string>

namespace pom {

inline constexpr int kTransferBarPixels = 600;

// Percent of total that received is, from the KB of each (truncated); never
// above 100, and 0 for an empty total.
int transferPercent(std::int64_t received, std::int64_t total);
// "%d%% " (with the trailing blank).
std::string percentText(int percent);
// "%.1fMbps".
std::string speedText(double mbps);
// "%02d:%02d:%02d" of seconds.
std::string clockText(std::int64_t seconds);
// "%I64dMB/%I64dMB": done MB / queued MB.
std::string amountsText(std::int64_t doneBytes, std::int64_t queuedBytes);
// The overall bar: done / queued of 600 pixels in steps of 1/10,000, within
// 0..600; 0 when nothing is queued.
int barPixels(std::int64_t doneBytes, std::int64_t queuedBytes);

// The name's extension is one of the player's 39 (".avi", ".mp3", ...): the
// text from the last dot that is not the first byte, letter case included.
bool isMediaName(const std::string& name);

}  // namespace pom
