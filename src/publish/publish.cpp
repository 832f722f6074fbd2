#include "publish/publish.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTabWidget>

#include <thread>

#include "documents/application.h"
#include "app/main_window.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "platform/platform.h"
#include "publish/ftp_client.h"
#include "publish/ftp_profiles.h"
#include "publish/page_files.h"
#include "publish/publish_run.h"
#include "publish/secure_transfer.h"
#include "publish/server_trust.h"
#include "core/files.h"

namespace {

enum class ValueState { None, Plain, Single, Double };

// Reads an attribute value that starts after the attribute word (at `j`). `end` gets the
// position of the character that ended it, or the length of `f`.
std::string ReadValue(const std::string& f, std::size_t j, bool& equalsSeen, std::size_t& end) {
  ValueState state = ValueState::None;
  std::size_t start = j + 1;
  auto value = [&](std::size_t stop) {
    end = stop;
    return start < stop ? f.substr(start, stop - start) : std::string();
  };
  for (std::size_t k = j; k < f.size(); ++k) {
    char c = f[k];
    if (c == ' ') {
      if (state == ValueState::Plain) return value(k);
      continue;
    }
    if (c == '=' && state == ValueState::None) {
      equalsSeen = true;
      continue;
    }
    ValueState quote = c == '\'' ? ValueState::Single : c == '"' ? ValueState::Double : ValueState::None;
    if (quote != ValueState::None && equalsSeen && (state == ValueState::None || state == quote)) {
      if (state == quote) return value(k);
      start = k + 1;
      state = quote;
      continue;
    }
    if (state == ValueState::None) {
      state = ValueState::Plain;
      start = k;
    }
  }
  return value(f.size());
}

// The name and content values of one meta fragment.
void WalkFragment(const std::string& f, bool& equalsSeen, std::string& name, std::string& content) {
  bool quoted = false;
  std::size_t i = 0;
  while (i < f.size()) {
    if (f[i] == '"') {
      if (i + 1 < f.size() && f[i + 1] == '"') {
        i += 3;
      } else {
        quoted = !quoted;
        ++i;
      }
      continue;
    }
    std::size_t end = 0;
    if (quoted) {
      ++i;
    } else if (core::EqualsNoCase(std::string_view(f).substr(i, 4), "name")) {
      name = ReadValue(f, i + 4, equalsSeen, end);
      i = end + 1;
    } else if (core::EqualsNoCase(std::string_view(f).substr(i, 7), "content")) {
      content = ReadValue(f, i + 7, equalsSeen, end);
      i = end + 1;
    } else {
      ++i;
    }
  }
}

// The head section when the text has one (lower-cased), else the whole text as it is.
std::string SearchText(std::string_view text) {
  if (text.find("<head") == std::string_view::npos) return std::string(text);
  std::string lower = core::ToLower(text);
  std::size_t close = lower.find("</head");
  if (close != std::string::npos) lower.resize(close);
  std::size_t head = lower.find("<head");
  if (head == std::string::npos) return std::string();
  std::size_t next = lower.find("<head", head + 5);
  std::string h = lower.substr(head + 5, next == std::string::npos ? std::string::npos : next - head - 5);
  std::size_t first = h.find_first_not_of(" >");
  return first == std::string::npos ? std::string() : h.substr(first);
}

std::string TrimSlashes(std::string_view s) {
  std::size_t first = s.find_first_not_of("/\\");
  if (first == std::string_view::npos) return std::string();
  return std::string(s.substr(first, s.find_last_not_of("/\\") - first + 1));
}

QLabel* PublishedLabel(App& app, bool create) {
  if (!app.window) return nullptr;
  auto* bar = app.window->findChild<QStatusBar*>("7500");
  if (!bar) return nullptr;
  auto* label = bar->findChild<QLabel*>("publishedAddress");
  if (!label && create) {
    label = new QLabel(bar);
    label->setObjectName("publishedAddress");
    bar->addPermanentWidget(label);
    // The address belongs to the document that was published, not to the next one shown.
    if (auto* tabs = app.window->findChild<QTabWidget*>("200"))
      QObject::connect(tabs, &QTabWidget::currentChanged, label, [label] { label->clear(); });
  }
  return label;
}

std::string Kilobytes(long long bytes) { return std::to_string((bytes + 1023) / 1024) + " KB"; }

std::string ProgressText(const ftp::RunControl& control) {
  std::string text = control.Step();
  long long total = control.bytesTotal;
  if (total > 0) text += "\n" + Kilobytes(control.bytesDone + control.bytesSent) + " of " + Kilobytes(total) + " sent";
  return text;
}

// Runs the job on a worker thread while the progress window keeps the editor painting.
PublishOutcome RunWatched(App& app, const PublishJob& job) {
  ftp::RunControl control;
  control.budgetMs = ftp::CurrentTuning().publishBudgetMs;
  PublishOutcome outcome;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    outcome = RunPublishJob(job, control);
    done = true;
  });
  ProgressWatch watch;
  watch.title = "Publish";
  watch.finished = [&] { return done.load(); };
  watch.text = [&] { return ProgressText(control); };
  watch.percent = [&] {
    long long total = control.bytesTotal;
    return total > 0 ? static_cast<int>((control.bytesDone + control.bytesSent) * 100 / total) : -1;
  };
  watch.cancel = [&] { control.Cancel(); };
  app.platform.WatchProgress(watch);
  worker.join();
  return outcome;
}

// Runs the job. An encrypted server whose identity could not be verified may be trusted
// by the user, from now on for that server; the job then runs once more. `asked` tells
// that the failure was already shown in the question.
PublishOutcome RunTrusting(App& app, PublishJob& job, bool& asked) {
  asked = false;
  SecureHost host;
  bool secure = ParseSecureHost(job.host, host);
  if (secure) job.trustedKey = TrustedKeyFor(ConfigFile(app, kTrustFile), ServerName(host));
  PublishOutcome outcome = RunWatched(app, job);
  if (!secure || outcome.result != PublishOutcome::Failed || outcome.offeredKey.empty()) return outcome;
  asked = true;
  std::string what = host.transport == Transport::Sftp ? "host key" : "certificate";
  std::string question = outcome.message + "\r\rTrust this server's " + what + " for " + ServerName(host) +
                         " from now on?\rIts key: " + outcome.offeredKey;
  if (app.platform.Message(question, MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes) return outcome;
  asked = false;
  job.trustedKey = outcome.offeredKey;
  if (!RememberTrust(ConfigFile(app, kTrustFile), ServerName(host), job.trustedKey))
    app.platform.Message(std::string("Could not write ") + kTrustFile + "; the " + what +
                             " is trusted for this publish only.",
                         MsgIcon::Warning);
  return RunWatched(app, job);
}

}  // namespace

FtpLookup LookUpFtpProfile(std::string_view text, const FtpProfileTable& table) {
  FtpLookup result;
  std::string h = SearchText(text);
  bool equalsSeen = false;
  std::size_t at = h.find("<meta ");  // the text before the first tag is not a fragment
  while (at != std::string::npos) {
    std::size_t next = h.find("<meta ", at + 6);
    std::string f = core::Trim(h.substr(at + 6, next == std::string::npos ? std::string::npos : next - at - 6));
    at = next;
    if (core::StartsWith(f, "<meta ")) f.erase(0, 6);
    std::string nameValue, content;
    WalkFragment(f, equalsSeen, nameValue, content);
    std::string n = core::ToLower(core::Trim(nameValue));
    if (n == "target" || n == "targetfolder") result.folder = core::ToLower(core::Trim(content));
    if (n == "project" || n == "projectname") {
      int entry = FindProfileByName(table, content);
      if (entry == 0) {
        result.messages.push_back(kNotInDatabase);
        return result;
      }
      const FtpProfile& p = table.entries[entry];
      result.project = core::Trim(p.programName);
      result.host = core::Trim(p.hostName);
      result.domain = core::Trim(p.domainName);
      result.user = core::Trim(p.userId);
      result.password = core::Trim(p.password);
      result.found = true;
    }
  }
  if (result.host.empty()) result.messages.push_back(kNoProjectName);
  return result;
}

FtpLookup LookUpFtpProfile(std::string_view program, std::string_view page, const FtpProfileTable& table) {
  FtpLookup result = LookUpFtpProfile(program, table);
  bool namesNoProject = !result.found && result.messages == std::vector<std::string>{kNoProjectName};
  if (!namesNoProject && !(result.found && result.folder.empty())) return result;
  FtpLookup inPage = LookUpFtpProfile(page, table);
  if (namesNoProject) {
    bool pageNamesNoProject = !inPage.found && inPage.messages == std::vector<std::string>{kNoProjectName};
    return pageNamesNoProject ? result : inPage;
  }
  // The program names the project; the target folder may still come from an included file.
  if (inPage.found) result.folder = inPage.folder;
  return result;
}

namespace {

FtpLookup LookUpActiveDocument(App& app) {
  // The document being published, as just saved (its text is what the file holds); not
  // whichever document was saved last.
  std::string_view text = app.activeSlot > 0 ? EditorBytes(app.docs[app.activeSlot].editor) : std::string_view();
  std::string page;
  if (!app.generatedPagePath.empty()) core::ReadFileBytes(app.generatedPagePath, page);
  FtpLookup found = LookUpFtpProfile(text, page, *app.profiles);
  for (const std::string& m : found.messages) app.platform.Message(m, MsgIcon::Warning);
  return found;
}

// The files to send: with "Upload changed files only" those whose size or SHA-256
// differ from what the manifest says the server holds.
struct Selection {
  std::vector<UploadItem> items;
  std::vector<ManifestEntry> entries;  // of each item, for the manifest
};

Selection ChooseUploads(const std::vector<UploadItem>& all, const Manifest& manifest, const std::string& folder,
                        bool changedOnly) {
  Selection chosen;
  for (const UploadItem& item : all) {
    ManifestEntry e;
    e.localPath = item.localPath;
    bool known = FileDigest(item.localPath, e.size, e.sha256);
    auto held = manifest.files.find(ManifestKey(folder, item.remotePath));
    if (changedOnly && known && held != manifest.files.end() && held->second.size == e.size &&
        held->second.sha256 == e.sha256)
      continue;
    chosen.items.push_back(item);
    chosen.entries.push_back(known ? e : ManifestEntry{});
  }
  return chosen;
}

}  // namespace

std::string PageAddress(std::string_view domain, std::string_view folder, std::string_view pagePath) {
  std::string address;
  for (const std::string& part : {TrimSlashes(domain), TrimSlashes(folder), std::string(core::FileNameOf(pagePath))})
    if (!part.empty()) address += (address.empty() ? "" : "/") + part;
  return address;
}

void PublishActiveDocument(App& app) {
  Platform& ui = app.platform;
  if (!ConfirmSaveBeforeClose(app, true)) {
    ui.Message(" Document was not saved, FTP upload cancelled.", MsgIcon::None, MsgButtons::Ok);
    return;
  }
  FtpLookup found = LookUpActiveDocument(app);
  if (!found.found) return;
  PublishJob job{found.host, found.user, found.password, found.folder, {}, {}};
  std::string manifestPath = ConfigFile(app, ManifestPathFor(found.project)), bytes;
  Manifest manifest;
  if (core::ReadFileBytes(manifestPath, bytes)) manifest = ReadManifest(bytes);
  if (manifest.host != job.host) manifest = Manifest{job.host, {}};
  Selection chosen =
      ChooseUploads(PageUploads(app.generatedPagePath, core::StemOf(app.currentPath) + ".html", app.configFolder),
                    manifest, job.folder, app.publish.changedOnly);
  job.items = chosen.items;
  PublishOutcome outcome;
  bool asked = false;
  // Nothing changed since the last publish: the server already holds this page.
  if (job.items.empty()) outcome.result = PublishOutcome::Published;
  else outcome = RunTrusting(app, job, asked);
  // What reached the server is recorded, also when a later file failed; a failed file is
  // not, so the next publish sends it again.
  for (std::size_t i : outcome.uploaded)
    if (!chosen.entries[i].sha256.empty())
      manifest.files[ManifestKey(job.folder, job.items[i].remotePath)] = chosen.entries[i];
  if (!outcome.uploaded.empty()) core::WriteFileAtomically(manifestPath, WriteManifest(manifest), nullptr, 0600);
  if (outcome.result != PublishOutcome::Published) {
    // A failure must not leave an earlier success on show.
    if (QLabel* label = PublishedLabel(app, false)) label->clear();
    bool cancelled = outcome.result == PublishOutcome::Cancelled;
    if (!asked) ui.Message(outcome.message, cancelled ? MsgIcon::Information : MsgIcon::Warning);
    return;
  }
  std::string text = "File published: " + PageAddress(found.domain, job.folder, app.generatedPagePath);
  // The bar's own parts are rewritten on every refresh, so the address gets a part of its own.
  if (QLabel* label = PublishedLabel(app, true)) label->setText(QString::fromStdString(text));
}

std::string PublishedStatusText(App& app) {
  QLabel* label = PublishedLabel(app, false);
  return label ? label->text().toStdString() : std::string();
}
