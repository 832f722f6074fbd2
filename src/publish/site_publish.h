// Publish Site: the whole site put on the server of its remembered profile, after a list
// of what will change. The command line runs it without a window.
#pragma once
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "core/site_file.h"
#include "documents/application.h"
#include "publish/site_run.h"

// Builds the site before its files are compared (the site build); unset, the folder is
// published as it stands. False with the cause when the build failed.
using SiteBuilder = std::function<bool(const std::string& siteFolder, std::string& error)>;
SiteBuilder& SiteBuildStep();

// Where a site goes and what was sent there before.
struct SiteTarget {
  std::string siteFolder, configFolder;
  core::SiteFile site;
  PublishFields fields;  // of the site's profile
  PublishJob job;        // host, user, password, folder and trusted key from the fields
  std::string manifestPath;
  Manifest manifest;
  int connections = 3;  // the site file's "Connections", 1 to 4
};

// The fields of the profile named `profile`: the Publish dialog's last ones (`current`) when
// they are that profile's, else FtpProjs.ini when it holds that profile, else its saved
// profile file. False when none.
bool FindSiteProfile(const std::string& configFolder, const std::string& profile, const PublishFields& current,
                     PublishFields& fields);
// Reads the site file, the profile, the trust file and the manifest. False with `error` set.
bool PrepareSiteTarget(const std::string& siteFolder, const std::string& configFolder, const PublishFields& current,
                       SiteTarget& target, std::string& error);
// Lists the server and compares it with the site's files.
bool PlanSite(SiteTarget& target, ftp::RunControl& control, bool showHidden, std::vector<PlanRow>& rows,
              PublishOutcome& failure);
// Runs the ticked rows, writing the manifest as each file lands.
PublishOutcome RunSite(SiteTarget& target, const std::vector<PlanRow>& rows, ftp::RunControl& control);

// `verosta --publish-site FOLDER [--dry-run]`: prints the list and, without `dryRun`, runs
// it. The exit status: 0 done, 1 failed.
int PublishSiteFromCommandLine(const std::string& siteFolder, bool dryRun, const std::string& configFolder,
                               std::FILE* out, std::FILE* err);

// The Projects menu's Publish Site.
void PublishSite(App& app);
