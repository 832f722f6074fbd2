#include "publish/site_publish.h"

#include <algorithm>
#include <chrono>

#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "platform/config_folder.h"
#include "publish/ftp_profiles.h"
#include "publish/secure_host.h"
#include "publish/server_trust.h"

namespace {

bool SameName(const std::string& a, const std::string& b) { return core::EqualsNoCase(core::Trim(a), core::Trim(b)); }

// "Connections 3" among the site file's lines; 3 when absent, kept to 1..4.
int ConnectionsOf(const core::SiteFile& site) {
  int n = 3;
  for (const std::string& line : site.otherLines)
    if (core::StartsWith(line, "Connections ")) n = std::atoi(line.c_str() + 12);
  return std::clamp(n, 1, 4);
}

void WriteManifestNow(const SiteTarget& target) {
  core::WriteFileAtomically(target.manifestPath, WriteManifest(target.manifest), nullptr, 0600);
}

}  // namespace

SiteBuilder& SiteBuildStep() {
  static SiteBuilder builder;
  return builder;
}

bool FindSiteProfile(const std::string& configFolder, const std::string& profile, const PublishFields& current,
                     PublishFields& fields) {
  if (core::Trim(profile).empty()) return false;
  if (SameName(current.programName, profile) && !core::Trim(current.hostName).empty()) {
    fields = current;
    return true;
  }
  // FtpProjs.ini holds all six fields as last published; a saved profile has no remote folder.
  PublishFields read;
  std::string bytes;
  if (core::ReadFileBytes(core::JoinPath(configFolder, "FtpProjs.ini"), bytes)) {
    ReadPublishFields(bytes, read);
    if (SameName(read.programName, profile)) return fields = read, true;
  }
  std::string saved = core::JoinPath(core::JoinPath(configFolder, home::kProfilesFolder), core::Trim(profile) + ".ini");
  read = PublishFields{};
  if (!ReadProfileFile(saved, read) || core::Trim(read.hostName).empty()) return false;
  if (core::Trim(read.programName).empty()) read.programName = core::Trim(profile);
  fields = read;
  return true;
}

bool PrepareSiteTarget(const std::string& siteFolder, const std::string& configFolder, const PublishFields& current,
                       SiteTarget& target, std::string& error) {
  target.siteFolder = siteFolder;
  target.configFolder = configFolder;
  if (!core::ReadSiteFile(siteFolder, target.site, &error)) return false;
  std::string profile = target.site.profile.empty() ? current.programName : target.site.profile;
  if (!FindSiteProfile(configFolder, profile, current, target.fields)) {
    error = profile.empty() ? "No publish profile is chosen for this site."
                            : "Could not find the publish profile " + core::Trim(profile) + ".";
    return false;
  }
  const PublishFields& f = target.fields;
  target.job = PublishJob{
      core::Trim(f.hostName), core::Trim(f.userId), core::Trim(f.password), core::Trim(f.remoteFolder), {}, {}};
  SecureHost host;
  if (ParseSecureHost(target.job.host, host))
    target.job.trustedKey = TrustedKeyFor(core::JoinPath(configFolder, kTrustFile), ServerName(host));
  target.manifestPath = core::JoinPath(configFolder, ManifestPathFor(core::Trim(f.programName)));
  std::string bytes;
  if (core::ReadFileBytes(target.manifestPath, bytes)) target.manifest = ReadManifest(bytes);
  if (target.manifest.host != target.job.host) target.manifest = Manifest{target.job.host, {}};
  target.connections = ConnectionsOf(target.site);
  return true;
}

bool PlanSite(SiteTarget& target, ftp::RunControl& control, bool showHidden, std::vector<PlanRow>& rows,
              PublishOutcome& failure) {
  if (const SiteBuilder& build = SiteBuildStep()) {
    std::string error;
    control.SetStep("Building the site...");
    if (!build(target.siteFolder, error)) return failure.message = error, false;
  }
  ServerFiles server;
  if (!FetchServerFiles(target.job, control, server, failure)) return false;
  std::vector<SiteItem> local = PublishableFiles(target.siteFolder, target.site, target.configFolder);
  rows = CompareSite(local, target.manifest, target.job.folder, server, target.site.exclude, showHidden);
  return true;
}

PublishOutcome RunSite(SiteTarget& target, const std::vector<PlanRow>& rows, ftp::RunControl& control) {
  SiteRun run{target.job, rows, target.connections, {}};
  // Written as files land, at most four times a second (a sync costs as much as a small
  // file's upload), and once at the end: after a crash the few files not yet recorded
  // are only sent again.
  auto written = std::chrono::steady_clock::now();
  bool pending = false;
  run.landed = [&](const PlanRow& row) {
    RecordLanded(target.manifest, target.job.folder, row);
    pending = true;
    if (std::chrono::steady_clock::now() - written < std::chrono::milliseconds(250)) return;
    WriteManifestNow(target);
    written = std::chrono::steady_clock::now();
    pending = false;
  };
  PublishOutcome outcome = RunSitePlan(run, control);
  if (pending) WriteManifestNow(target);
  // The profile the site went up with is remembered for the next time.
  if (outcome.result == PublishOutcome::Published && target.site.profile != core::Trim(target.fields.programName)) {
    target.site.profile = core::Trim(target.fields.programName);
    core::WriteSiteFile(target.siteFolder, target.site);
  }
  return outcome;
}

int PublishSiteFromCommandLine(const std::string& siteFolder, bool dryRun, const std::string& configFolder,
                               std::FILE* out, std::FILE* err) {
  SiteTarget target;
  std::string error;
  if (!PrepareSiteTarget(siteFolder, configFolder, PublishFields{}, target, error)) {
    std::fprintf(err, "verosta: %s\n", error.c_str());
    return 1;
  }
  ftp::RunControl control;
  std::vector<PlanRow> rows;
  PublishOutcome failure;
  if (!PlanSite(target, control, false, rows, failure)) {
    std::fprintf(err, "verosta: %s\n", core::ReplaceAll(failure.message, "\r", "\n").c_str());
    return 1;
  }
  std::fputs(PlanText(rows).c_str(), out);
  if (dryRun) return 0;
  PublishOutcome outcome = RunSite(target, rows, control);
  if (outcome.result == PublishOutcome::Published) return 0;
  std::fprintf(err, "verosta: %s\n", core::ReplaceAll(outcome.message, "\r", "\n").c_str());
  return 1;
}
