// DownloadLink and UploadLink: what the two transfer modules offer the
// other modules.
#pragma once

#include <cstdint>
#include <string>

namespace pom {

class DownloadLink {
 public:
  static constexpr char kLinkName[] = "DownloadLink";
  virtual ~DownloadLink() = default;
  // Downloads are queued or running (the close question asks about them).
  virtual bool downloadsPending() const = 0;
  // Queues a file of the service for download into the download folder, or
  // into a sub-folder of it (a folder download: the web folder's name).
  virtual void addDownload(std::int32_t fileId, const std::string& name, std::int64_t size) = 0;
  virtual void addDownloadInto(std::int32_t fileId, const std::string& name, std::int64_t size,
                               const std::string& subFolder) = 0;
  // Queues it into another local folder (absolute; empty: the download
  // folder), or a sub-folder of that: web items dropped on the local file
  // list go to the folder the list shows.
  virtual void addDownloadTo(std::int32_t fileId, const std::string& name, std::int64_t size,
                             const std::string& folder, const std::string& subFolder) = 0;
  // The auto-start rule after queueing: with "AotoDownLoad" set and the
  // download window not running, the window starts.
  virtual void autoStart() = 0;
  // Creates the download window when it does not exist and brings it up.
  virtual void openWindow() {}
};

class UploadLink {
 public:
  static constexpr char kLinkName[] = "UploadLink";
  virtual ~UploadLink() = default;
  // Uploads are queued or running (the close question asks about them).
  virtual bool uploadsPending() const = 0;
  // The upload window is transferring (deleting and renaming wait for it).
  virtual bool transferring() const = 0;
  // Opens the upload window (the upload button).
  virtual void openWindow() = 0;
  // Queues a local file for upload into the own list's current folder; false
  // when it was not queued.
  virtual bool queueFile(const std::string& path) = 0;
  // Uploads a local folder into a new web folder below the own list's
  // current folder: the service is asked for the folder, and its plain
  // files (not its sub-folders) are queued once it is made.
  virtual void uploadLocalFolder(const std::string& path) {}
  // An upload was started from the main window, the local views or the upload
  // window: the first time in a run the notice page opens, pageHeight pixels
  // high (the main window and the local views open it taller than the upload
  // window does).
  static constexpr int kNoticeHeight = 660;
  static constexpr int kUploadWindowNoticeHeight = 640;
  virtual void noteUploadStarted(int pageHeight) = 0;
};

}  // namespace pom
