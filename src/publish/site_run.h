// Publish Site over the wire: the server's files below the target folder, then the ticked
// rows of the plan over several connections at once, each file put under a temporary name
// and renamed into place, and reported as it lands so the manifest can follow.
#pragma once
#include <functional>
#include <vector>

#include "publish/publish_job.h"
#include "publish/site_plan.h"

// Connects, goes to the target folder and lists everything below it. Hidden folders are
// not entered. On failure `failure` says why (and may offer a key to trust).
bool FetchServerFiles(const PublishJob& job, ftp::RunControl& control, ServerFiles& files, PublishOutcome& failure);

struct SiteRun {
  PublishJob job;  // host, user, password, folder, trusted key; the items are the rows
  std::vector<PlanRow> rows;
  int connections = 2;
  // Told (on a worker thread, one call at a time) of each ticked row that landed.
  std::function<void(const PlanRow&)> landed;
};

// Puts and deletes the ticked rows; `uploaded` of the outcome is left empty.
PublishOutcome RunSitePlan(const SiteRun& run, ftp::RunControl& control);
