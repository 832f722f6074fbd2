#include "publish/publish_job.h"

#include <set>

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
