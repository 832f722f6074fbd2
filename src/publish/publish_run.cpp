#include "publish/publish_run.h"

#include <sys/stat.h>

#include <set>

#include "core/text.h"
#include "publish/secure_transfer.h"

namespace {

std::string Cause(const std::string& fallback) {
  std::string cause = ftp::LastCause();
  return cause.empty() ? fallback : cause;
}

long long SizeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

PublishOutcome Stop(int connection, ftp::RunControl& control, const std::string& message) {
  PublishOutcome out = StoppedOutcome(control, message);
  if (connection > 0) ftp::CloseSession(connection, out.result == PublishOutcome::Cancelled);
  return out;
}

}  // namespace

PublishOutcome StoppedOutcome(const ftp::RunControl& control, const std::string& message) {
  PublishOutcome out;
  if (control.cancelled || control.cancel) {
    out.result = PublishOutcome::Cancelled;
    out.message = kPublishCancelled;
  } else if (control.outOfTime) {
    out.message = kStoppedAnswering;
  } else {
    out.message = message;
  }
  return out;
}

std::string WithCause(std::string_view first, std::string_view cause) {
  std::string text(first);
  if (!cause.empty()) text += "\r" + std::string(cause);
  return text;
}

std::string TemporaryRemoteName(std::string_view remotePath) {
  std::size_t slash = remotePath.rfind('/');
  std::size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
  return std::string(remotePath.substr(0, nameAt)) + "." + std::string(remotePath.substr(nameAt)) + ".part";
}

std::vector<std::string> RemoteFoldersFor(const std::vector<UploadItem>& items) {
  std::vector<std::string> folders;
  std::set<std::string> seen;
  for (const UploadItem& item : items) {
    for (std::size_t slash = item.remotePath.find('/'); slash != std::string::npos;
         slash = item.remotePath.find('/', slash + 1)) {
      std::string folder = item.remotePath.substr(0, slash);
      if (!folder.empty() && seen.insert(folder).second) folders.push_back(folder);
    }
  }
  return folders;
}

PublishOutcome RunPublishJob(const PublishJob& job, ftp::RunControl& control) {
  ftp::RunScope scope(control);
  control.bytesTotal = 0;
  for (const UploadItem& item : job.items) control.bytesTotal += SizeOf(item.localPath);
  control.SetStep("Connecting to " + job.host + "...");
  if (IsSecureHost(job.host)) return RunSecureJob(job, control);
  int c = ftpConnect(job.host.c_str(), job.user.c_str(), job.password.c_str());
  if (c == 0 || c == -1) return Stop(-1, control, WithCause(kConnectFailed, Cause("")));
  if (!job.folder.empty()) {
    control.SetStep("Changing to folder " + job.folder + "...");
    if (ftpChangeDir(c, job.folder.c_str()) == 0)
      return Stop(c, control, WithCause("Could not locate FTP target directory: " + job.folder + ".", Cause("")));
  }
  for (const std::string& folder : RemoteFoldersFor(job.items)) {
    control.SetStep("Making folder " + folder + "...");
    if (!ftp::MakeRemoteFolder(c, folder)) return Stop(c, control, WithCause(kUploadFailed, Cause("")));
  }
  PublishOutcome out;
  for (std::size_t i = 0; i < job.items.size(); ++i) {
    const UploadItem& item = job.items[i];
    control.SetStep("Uploading " + item.remotePath + " (" + std::to_string(i + 1) + " of " +
                    std::to_string(job.items.size()) + ")");
    std::string temporary = TemporaryRemoteName(item.remotePath), status;
    bool stored = ftp::PutFile(c, temporary, item.localPath, status) == 1;
    if (!stored || !ftp::RenameRemote(c, temporary, item.remotePath)) {
      std::string cause = Cause(status);
      // A short or unrenamed file left under the temporary name is removed.
      if (!control.Stopped() && (stored || core::StartsWith(status, ftp::kShortFileStatus)))
        ftp::DeleteRemote(c, temporary);
      PublishOutcome failed = Stop(c, control, WithCause(kUploadFailed, item.remotePath + ": " + cause));
      failed.uploaded = out.uploaded;
      return failed;
    }
    control.bytesDone += SizeOf(item.localPath);
    control.bytesSent = 0;
    out.uploaded.push_back(i);
  }
  ftpQuit(c);
  out.result = PublishOutcome::Published;
  return out;
}
