#include "cli/transfer_progress.h"

#include <cstdio>
#include <utility>

#include "core/ports/clock.h"
#include "core/ports/text_codec.h"

namespace pom {

namespace {

constexpr std::uint32_t kReportMs = 800;
// At most this many jobs under way are shown in place on a terminal.
constexpr int kTerminalLines = 8;

std::string clockText(std::int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

// What counts as movement: the bytes done and each row's state text.
std::string snapshot(const TransferProgress::Source& source) {
  std::string text;
  const std::vector<TransferProgress::Job> jobs = source.jobs();
  for (std::size_t i = 0; i < jobs.size(); ++i) {
    text += std::to_string(jobs[i].done) + ":" + source.row(static_cast<int>(i)).stateText + ";";
  }
  return text;
}

}  // namespace

TransferProgress::TransferProgress(HeadlessClient& client, std::ostream& progress, bool terminal,
                                   Source source)
    : client_(client), progress_(progress), terminal_(terminal), source_(std::move(source)) {}

Outcome TransferProgress::waitFor(const std::function<bool()>& finished) {
  lastReport_ = client_.clock().tickCount();
  Outcome outcome = Outcome::Done;
  while (!finished()) {
    const std::string before = snapshot(source_);
    const bool moved = client_.waitUntil([&] {
      maybeReport();
      return finished() || snapshot(source_) != before;
    });
    if (!moved) {
      client_.errors() << "no progress for " << client_.options().timeoutMs << " ms\n";
      outcome = Outcome::NoAnswer;
      break;
    }
  }
  report();
  if (terminal_) progress_ << "\n";
  return outcome;
}

void TransferProgress::maybeReport() {
  const std::uint32_t now = client_.clock().tickCount();
  if (now - lastReport_ < kReportMs) return;
  lastReport_ = now;
  report();
}

std::string TransferProgress::jobLine(const Job& job, int index) {
  const TransferRow row = source_.row(index);
  const std::uint32_t now = client_.clock().tickCount();
  auto& seen = lastSeen_[job.key];
  if (seen.second != 0 && now != seen.second) {
    const double rate = static_cast<double>(job.done - seen.first) / (now - seen.second);
    rate_[job.key] = rate_.count(job.key) ? (rate_[job.key] + rate) / 2 : rate;
  }
  seen = {job.done, now};
  std::string remaining;
  if (job.underWay && rate_[job.key] > 0) {
    const double ms = static_cast<double>(job.total - job.done) / rate_[job.key];
    remaining = clockText(static_cast<std::int64_t>(ms / 1000));
  }
  return cp949ToUtf8(row.name) + "  " + row.sizeText + "  " + row.progressText + " " +
         row.speedText + "  " + remaining + "  " + cp949ToUtf8(row.stateText);
}

void TransferProgress::report() {
  const std::vector<Job> jobs = source_.jobs();
  const int count = static_cast<int>(jobs.size());
  if (!terminal_) {
    for (int i = 0; i < count; ++i) {
      const std::string line = jobLine(jobs[static_cast<std::size_t>(i)], i);
      // The remaining time alone changing is not worth a line.
      const TransferRow row = source_.row(i);
      const std::string key = row.progressText + row.speedText + row.stateText;
      if (lastLine_[i] == key) continue;
      lastLine_[i] = key;
      progress_ << line << "\n";
    }
    progress_.flush();
    return;
  }
  std::vector<std::string> lines;
  int complete = 0;
  for (int i = 0; i < count; ++i) {
    const Job& job = jobs[static_cast<std::size_t>(i)];
    complete += job.complete;
    if (job.underWay && static_cast<int>(lines.size()) < kTerminalLines)
      lines.push_back(jobLine(job, i));
  }
  const TransferTotalsText totals = source_.totals();
  lines.push_back(std::to_string(complete) + "/" + std::to_string(count) + " complete  " +
                  totals.amounts + "  " + totals.elapsed);
  // Back over what was shown last, then each line cleared and written.
  if (linesShown_ > 0) progress_ << "\x1b[" << linesShown_ << "F";
  for (const std::string& line : lines) progress_ << "\x1b[2K" << line << "\n";
  for (int i = static_cast<int>(lines.size()); i < linesShown_; ++i) progress_ << "\x1b[2K\n";
  if (linesShown_ > static_cast<int>(lines.size()))
    progress_ << "\x1b[" << (linesShown_ - static_cast<int>(lines.size())) << "F";
  linesShown_ = static_cast<int>(lines.size());
  progress_.flush();
}

}  // namespace pom
