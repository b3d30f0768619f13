#include "cli/get_command.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/search_command.h"
#include "cli/transfer_progress.h"
#include "cli/web_commands.h"
#include "core/app/client_app.h"
#include "core/ports/text_codec.h"
#include "core/transfer/download_module.h"
#include "core/transfer/download_window.h"

namespace pom {

namespace {

// A job that will not move again without the member: done, refused,
// cancelled, or stopped and held (a failure the member has to restart).
bool isFinal(const TransferJob& job) {
  const JobState state = job.state;
  return state == JobState::Completed || state == JobState::Unavailable ||
         state == JobState::Cancelled || state == JobState::Idle ||
         (state == JobState::Stopped && job.held);
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

  if (!options.fileIds.empty()) {
    const Outcome hits = queueHitDownloads(client_, options.search, options.fileIds);
    if (hits != Outcome::Done) return hits;
  }
  if (!options.paths.empty()) {
    WebCommands web(client_, out_);
    const Outcome queueing = web.queueDownloads(options.paths);
    if (queueing != Outcome::Done) return queueing;
  }
  if (window_->jobs().empty()) {
    client_.errors() << "nothing to download\n";
    return Outcome::Failed;
  }
  const std::size_t queued = window_->jobs().size();
  window_->start();

  TransferProgress::Source source;
  source.jobs = [this] {
    std::vector<TransferProgress::Job> jobs;
    for (const TransferJob& job : window_->jobs()) {
      jobs.push_back({job.fileId, job.received, job.totalSize,
                      job.state == JobState::Transferring || job.state == JobState::Requesting,
                      job.state == JobState::Completed});
    }
    return jobs;
  };
  source.row = [this](int index) { return window_->row(index); };
  source.totals = [this] { return window_->totals(); };
  TransferProgress progress(client_, progress_, terminal_, std::move(source));
  Outcome outcome = progress.waitFor([this] { return finished(); });

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

}  // namespace pom
