#include "cli/put_command.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "cli/transfer_progress.h"
#include "cli/web_commands.h"
#include "core/app/client_app.h"
#include "core/ports/text_codec.h"
#include "core/transfer/upload_module.h"
#include "core/transfer/upload_window.h"

namespace pom {

namespace {

// A job that will not move again without the member.
bool isFinal(const UploadJob& job) {
  return job.state == UploadState::Completed || job.state == UploadState::Failed ||
         job.state == UploadState::Cancelled || job.state == UploadState::Idle;
}

bool underWay(const UploadJob& job) {
  return job.bound() || job.state == UploadState::Sending;
}

}  // namespace

PutCommand::PutCommand(HeadlessClient& client, std::ostream& out, std::ostream& progress,
                       bool progressIsTerminal)
    : client_(client), out_(out), progress_(progress), terminal_(progressIsTerminal) {}

Outcome PutCommand::run(const PutOptions& options) {
  WebCommands web(client_, out_);
  std::int32_t folderId = 0;
  const Outcome opened = web.openFolder(options.to, folderId);
  if (opened != Outcome::Done) return opened;

  UploadModule& uploads = client_.app().module<UploadModule>();
  uploads.openWindow();
  window_ = &uploads.window();
  if (options.parallel != 0) window_->setMaxConcurrent(options.parallel);

  bool allQueued = true;
  for (const std::string& given : options.paths) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(given, error);
    const std::string local = utf8ToCp949(path.lexically_normal().string());
    if (std::filesystem::is_directory(path, error)) {
      window_->uploadLocalFolder(local, folderId, true);
    } else if (std::filesystem::is_regular_file(path, error) &&
               std::filesystem::file_size(path, error) > 0) {
      // Dropped on the program: into the web folder shown.
      if (!uploads.queueFile(local)) {
        client_.errors() << "not queued: " << given << "\n";
        allQueued = false;
      }
    } else {
      client_.errors() << "no file or folder to upload: " << given
                       << (std::filesystem::exists(path, error) ? " (empty)" : "") << "\n";
      allQueued = false;
    }
  }
  if (window_->jobs().empty() && window_->foldersPending() == 0) {
    client_.errors() << "nothing to upload\n";
    return Outcome::Failed;
  }
  window_->start();

  TransferProgress::Source source;
  source.jobs = [this] {
    std::vector<TransferProgress::Job> jobs;
    for (const UploadJob& job : window_->jobs()) {
      jobs.push_back({job.ticketKey, job.sent, job.totalSize, underWay(job),
                      job.state == UploadState::Completed});
    }
    return jobs;
  };
  source.row = [this](int index) { return window_->row(index); };
  source.totals = [this] { return window_->totals(); };
  TransferProgress progress(client_, progress_, terminal_, std::move(source));
  Outcome outcome = progress.waitFor([this] { return finished(); });

  bool allComplete = allQueued;
  const int count = static_cast<int>(window_->jobs().size());
  for (int i = 0; i < count; ++i) {
    const UploadJob& job = window_->jobs()[static_cast<std::size_t>(i)];
    allComplete &= job.state == UploadState::Completed;
    out_ << cp949ToUtf8(job.localPath) << "\t" << job.sent << "\t"
         << cp949ToUtf8(window_->row(i).stateText);
    if (!job.failure.empty()) out_ << "\t" << cp949ToUtf8(job.failure);
    out_ << "\n";
  }
  if (window_->foldersPending() != 0) {
    client_.errors() << "a web folder for an upload was not made\n";
    allComplete = false;
  }
  if (outcome == Outcome::Done && !allComplete) outcome = Outcome::Failed;
  return outcome;
}

bool PutCommand::finished() const {
  // A cancelled session closes a moment later, and folders still wait for
  // their web folder: wait for both.
  if (!window_->settled() || window_->foldersPending() != 0) return false;
  if (!window_->running()) return true;
  for (const UploadJob& job : window_->jobs()) {
    if (!isFinal(job)) return false;
  }
  return true;
}

}  // namespace pom
