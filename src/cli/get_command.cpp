#include "cli/get_command.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "cli/web_commands.h"
#include "core/app/client_app.h"
#include "core/ports/clock.h"
#include "core/ports/text_codec.h"
#include "core/transfer/download_module.h"
#include "core/transfer/download_window.h"

namespace pom {

namespace {

constexpr std::uint32_t kReportMs = 800;
// At most this many running jobs are shown in place on a terminal.
constexpr int kTerminalLines = 8;

// A job that will not move again without the member: done, refused,
// cancelled, or stopped and held (a failure the member has to restart).
bool isFinal(const TransferJob& job) {
  const JobState state = job.state;
  return state == JobState::Completed || state == JobState::Unavailable ||
         state == JobState::Cancelled || state == JobState::Idle ||
         (state == JobState::Stopped && job.held);
}

std::string clockText(std::int64_t seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  return text;
}

}  // namespace

GetCommand::GetCommand(HeadlessClient& client, std::ostream& out, std::ostream& progress,
                       bool progressIsTerminal)
    : client_(client), out_(out), progress_(progress), terminal_(progressIsTerminal) {}

Outcome GetCommand::run(const GetOptions& options) {
  DownloadModule& downloads = client_.app().module<DownloadModule>();
  downloads.openWindow();
  window_ = &downloads.window();
  if (options.parallel != 0) window_->setMaxConcurrent(options.parallel);
  if (!options.into.empty()) {
    std::error_code error;
    const std::filesystem::path into = std::filesystem::absolute(options.into, error);
    std::filesystem::create_directories(into, error);
    if (!std::filesystem::is_directory(into)) {
      client_.errors() << "cannot make the download folder " << options.into << "\n";
      return Outcome::Failed;
    }
    window_->setDownloadFolder(utf8ToCp949(into.string()));
  }

  WebCommands web(client_, out_);
  const Outcome queueing = web.queueDownloads(options.paths);
  if (queueing != Outcome::Done) return queueing;
  if (window_->jobs().empty()) {
    client_.errors() << "nothing to download\n";
    return Outcome::Failed;
  }
  const std::size_t queued = window_->jobs().size();
  window_->start();

  // Waits while something moves: any byte or state change restarts the wait.
  lastReport_ = client_.clock().tickCount();
  Outcome outcome = Outcome::Done;
  for (;;) {
    std::int64_t bytes = 0;
    std::string states;
    for (const TransferJob& job : window_->jobs()) {
      bytes += job.received;
      states += static_cast<char>('0' + static_cast<int>(job.state));
    }
    const bool moved = client_.waitUntil([&] {
      maybeReport();
      if (finished()) return true;
      std::int64_t now = 0;
      std::string nowStates;
      for (const TransferJob& job : window_->jobs()) {
        now += job.received;
        nowStates += static_cast<char>('0' + static_cast<int>(job.state));
      }
      return now != bytes || nowStates != states;
    });
    if (finished()) break;
    if (!moved) {
      client_.errors() << "no progress for " << client_.options().timeoutMs << " ms\n";
      outcome = Outcome::NoAnswer;
      break;
    }
  }
  report();
  if (terminal_) progress_ << "\n";

  bool allComplete = true;
  const int count = static_cast<int>(window_->jobs().size());
  for (int i = 0; i < count; ++i) {
    const TransferJob& job = window_->jobs()[static_cast<std::size_t>(i)];
    allComplete &= job.state == JobState::Completed;
    out_ << cp949ToUtf8(job.name) << "\t" << job.received << "\t"
         << cp949ToUtf8(window_->row(i).stateText) << "\n";
  }
  if (window_->jobs().size() != queued) {
    client_.errors() << "the download queue was emptied\n";
    allComplete = false;
  }
  if (outcome == Outcome::Done && !allComplete) outcome = Outcome::Failed;
  return outcome;
}

bool GetCommand::finished() const {
  // TransferEnded goes out a moment after each transfer: wait for it.
  if (window_->transfersEnding() || window_->retrying()) return false;
  if (!window_->running()) return true;
  for (const TransferJob& job : window_->jobs()) {
    if (!isFinal(job)) return false;
  }
  return true;
}

void GetCommand::maybeReport() {
  const std::uint32_t now = client_.clock().tickCount();
  if (now - lastReport_ < kReportMs) return;
  lastReport_ = now;
  report();
}

std::string GetCommand::jobLine(int index) {
  const TransferJob& job = window_->jobs()[static_cast<std::size_t>(index)];
  const TransferRow row = window_->row(index);
  const std::uint32_t now = client_.clock().tickCount();
  auto& seen = lastSeen_[job.fileId];
  if (seen.second != 0 && now != seen.second) {
    const double rate = static_cast<double>(job.received - seen.first) / (now - seen.second);
    rate_[job.fileId] = rate_.count(job.fileId) ? (rate_[job.fileId] + rate) / 2 : rate;
  }
  seen = {job.received, now};
  std::string remaining;
  if (job.state == JobState::Transferring && rate_[job.fileId] > 0) {
    const double ms = static_cast<double>(job.totalSize - job.received) / rate_[job.fileId];
    remaining = clockText(static_cast<std::int64_t>(ms / 1000));
  }
  std::string line = cp949ToUtf8(row.name) + "  " + row.sizeText + "  " + row.progressText + " " +
                     row.speedText + "  " + remaining + "  " + cp949ToUtf8(row.stateText);
  return line;
}

void GetCommand::report() {
  const int count = static_cast<int>(window_->jobs().size());
  if (!terminal_) {
    for (int i = 0; i < count; ++i) {
      const std::string line = jobLine(i);
      // The remaining time alone changing is not worth a line.
      const TransferRow row = window_->row(i);
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
    const JobState state = window_->jobs()[static_cast<std::size_t>(i)].state;
    complete += state == JobState::Completed;
    if ((state == JobState::Transferring || state == JobState::Requesting) &&
        static_cast<int>(lines.size()) < kTerminalLines)
      lines.push_back(jobLine(i));
  }
  lines.push_back(std::to_string(complete) + "/" + std::to_string(count) + " complete  " +
                  window_->totals().amounts + "  " + window_->totals().elapsed);
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
