#include "publish/site_run.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "publish/transport.h"

namespace {

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

// Connects and goes to the target folder; `failure` set when it could not.
std::unique_ptr<PublishTransport> Open(const PublishJob& job, ftp::RunControl& control, PublishOutcome& failure) {
  control.SetStep("Connecting to " + job.host + "...");
  std::unique_ptr<PublishTransport> transport = OpenTransport(job, control);
  std::string cause, offeredKey;
  if (!transport->Connect(cause, offeredKey)) {
    failure = StoppedOutcome(control, WithCause(kConnectFailed, cause));
    failure.offeredKey = offeredKey;
    return nullptr;
  }
  if (!job.folder.empty() && !transport->OpenFolder(job.folder, cause)) {
    failure = StoppedOutcome(control, WithCause("Could not locate FTP target directory: " + job.folder + ".", cause));
    transport->Close(true);
    return nullptr;
  }
  return transport;
}

// The work shared by the connections of one run.
struct Shared {
  const SiteRun& run;
  ftp::RunControl& control;
  std::vector<std::size_t> tasks;  // ticked rows: puts first, then deletions
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex mutex;
  std::string message;  // the first failure's
};

// Each connection makes the folders its files need once; another's "exists already" is no failure.
bool DoTask(PublishTransport& transport, std::set<std::string>& made, ftp::RunControl& own, const PlanRow& row,
            std::string& cause) {
  if (row.action == SiteAction::Delete) return transport.Delete(row.path, cause);
  UploadItem item{row.localPath, row.path};
  for (const std::string& folder : RemoteFoldersFor({item}))
    if (made.insert(folder).second && !transport.MakeFolder(folder, cause)) return false;
  own.bytesSent = 0;
  return PutInPlace(transport, own, item, cause);
}

void Work(Shared& shared, ftp::RunControl& own) {
  ftp::RunScope scope(own);
  PublishOutcome failure;
  std::unique_ptr<PublishTransport> transport = Open(shared.run.job, own, failure);
  auto fail = [&](const std::string& message) {
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (!shared.failed.exchange(true)) shared.message = message;
  };
  if (!transport) return fail(failure.message);
  std::set<std::string> made;
  while (!shared.failed && !shared.control.cancel && !own.Stopped()) {
    std::size_t k = shared.next++;
    if (k >= shared.tasks.size()) break;
    const PlanRow& row = shared.run.rows[shared.tasks[k]];
    shared.control.SetStep(std::string(row.action == SiteAction::Delete ? "Deleting " : "Uploading ") + row.path +
                           " (" + std::to_string(k + 1) + " of " + std::to_string(shared.tasks.size()) + ")");
    std::string cause;
    if (!DoTask(*transport, made, own, row, cause)) {
      const char* what = row.action == SiteAction::Delete ? "Could not delete file on FTP server." : kUploadFailed;
      fail(StoppedOutcome(own, WithCause(what, row.path + ": " + cause)).message);
      break;
    }
    if (row.action != SiteAction::Delete) shared.control.bytesDone += row.size;
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.run.landed) shared.run.landed(row);
  }
  transport->Close(shared.failed || own.Stopped() || own.cancel);
}

}  // namespace

bool FetchServerFiles(const PublishJob& job, ftp::RunControl& control, ServerFiles& files, PublishOutcome& failure) {
  ftp::RunScope scope(control);
  std::unique_ptr<PublishTransport> transport = Open(job, control, failure);
  if (!transport) return false;
  control.SetStep("Listing the server's files...");
  std::vector<std::string> folders{""};
  for (std::size_t i = 0; i < folders.size(); ++i) {
    std::vector<RemoteEntry> entries;
    std::string cause;
    if (!transport->List(folders[i], entries, cause)) {
      failure = StoppedOutcome(control, WithCause("Could not list the files on the FTP server.", cause));
      transport->Close(true);
      return false;
    }
    for (const RemoteEntry& e : entries) {
      std::string path = Joined(folders[i], e.name);
      if (!e.folder) files[path] = e.size;
      else if (e.name[0] != '.') folders.push_back(path);
    }
  }
  transport->Close(false);
  return true;
}

PublishOutcome RunSitePlan(const SiteRun& run, ftp::RunControl& control) {
  Shared shared{run, control, {}, {}, {}, {}, {}};
  control.bytesTotal = 0;
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
      const PlanRow& row = run.rows[i];
      bool put = row.action == SiteAction::PutNew || row.action == SiteAction::PutChanged;
      if (!row.ticked || (pass == 0 ? !put : row.action != SiteAction::Delete)) continue;
      shared.tasks.push_back(i);
      if (put) control.bytesTotal += row.size;
    }
  PublishOutcome out;
  if (shared.tasks.empty()) return out.result = PublishOutcome::Published, out;
  // One connection per file at a time; no more connections than files.
  int count = std::clamp(run.connections, 1, 4);
  count = static_cast<int>(std::min<std::size_t>(count, shared.tasks.size()));
  std::vector<std::unique_ptr<ftp::RunControl>> own;
  for (int i = 0; i < count; ++i) own.push_back(std::make_unique<ftp::RunControl>());
  control.SetWake([&own] {
    for (auto& c : own) c->Cancel();
  });
  std::vector<std::thread> workers;
  for (int i = 0; i < count; ++i) workers.emplace_back(Work, std::ref(shared), std::ref(*own[i]));
  for (std::thread& t : workers) t.join();
  control.SetWake(nullptr);
  bool cancelled = control.cancel || std::any_of(own.begin(), own.end(), [](auto& c) { return c->cancelled.load(); });
  if (cancelled) {
    out.result = PublishOutcome::Cancelled;
    out.message = kPublishCancelled;
  } else if (shared.failed) {
    out.message = shared.message;
  } else {
    out.result = PublishOutcome::Published;
  }
  return out;
}
