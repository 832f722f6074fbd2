#include "publish/publish_run.h"

#include <sys/stat.h>

#include "publish/secure_host.h"
#include "publish/transport.h"

namespace {

long long SizeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

PublishOutcome Stop(PublishTransport* transport, ftp::RunControl& control, const std::string& message) {
  PublishOutcome out = StoppedOutcome(control, message);
  if (transport) transport->Close(true);
  return out;
}

}  // namespace

bool PutInPlace(PublishTransport& transport, const ftp::RunControl& control, const UploadItem& item,
                std::string& cause) {
  const std::string temporary = TemporaryRemoteName(item.remotePath);
  bool placed = false, leftover = false;
  for (int attempt = 0; attempt < transport.Attempts(); ++attempt) {
    PublishTransport::Sent sent = transport.PutTemporary(item.localPath, temporary);
    cause = sent.cause;
    leftover = sent.leftover;
    placed = sent.ok && transport.Place(temporary, item.remotePath, cause);
    // A file that arrived short may be sent once more: over TLS 1.3 a server may lose the
    // tail of an upload when the client closes the data connection.
    if (placed || !sent.arrivedShort || control.Stopped() || control.cancel) break;
  }
  // Whatever arrived stays under the temporary name only; it is removed where possible.
  if (!placed && leftover) transport.RemoveLeftover(temporary);
  return placed;
}

std::unique_ptr<PublishTransport> OpenTransport(const PublishJob& job, ftp::RunControl& control) {
  return IsSecureHost(job.host) ? SecureTransport(job, control) : PlainFtpTransport(job, control);
}

PublishOutcome RunPublishJob(const PublishJob& job, ftp::RunControl& control) {
  ftp::RunScope scope(control);
  control.bytesTotal = 0;
  for (const UploadItem& item : job.items) control.bytesTotal += SizeOf(item.localPath);
  control.SetStep("Connecting to " + job.host + "...");
  std::unique_ptr<PublishTransport> transport = OpenTransport(job, control);
  std::string cause, offeredKey;
  if (!transport->Connect(cause, offeredKey)) {
    PublishOutcome out = Stop(nullptr, control, WithCause(kConnectFailed, cause));
    out.offeredKey = offeredKey;
    return out;
  }
  if (!job.folder.empty() && !transport->OpenFolder(job.folder, cause))
    return Stop(transport.get(), control,
                WithCause("Could not locate FTP target directory: " + job.folder + ".", cause));
  for (const std::string& folder : RemoteFoldersFor(job.items))
    if (!transport->MakeFolder(folder, cause)) return Stop(transport.get(), control, WithCause(kUploadFailed, cause));
  PublishOutcome out;
  for (std::size_t i = 0; i < job.items.size(); ++i) {
    const UploadItem& item = job.items[i];
    control.SetStep("Uploading " + item.remotePath + " (" + std::to_string(i + 1) + " of " +
                    std::to_string(job.items.size()) + ")");
    control.bytesSent = 0;
    if (!PutInPlace(*transport, control, item, cause)) {
      PublishOutcome failed = Stop(transport.get(), control, WithCause(kUploadFailed, item.remotePath + ": " + cause));
      failed.uploaded = out.uploaded;
      return failed;
    }
    control.bytesDone += SizeOf(item.localPath);
    control.bytesSent = 0;
    out.uploaded.push_back(i);
  }
  transport->Close(false);
  out.result = PublishOutcome::Published;
  return out;
}
