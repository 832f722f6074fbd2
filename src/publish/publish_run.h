// One publish run: log in, change to the target folder, make the remote folders, and
// put each file up under a temporary name that is then renamed into place, so a visitor
// never sees a half-written file. It blocks and may run on any thread; the Publish
// command runs it on a worker thread and watches its RunControl.
#pragma once
#include "publish/publish_job.h"

PublishOutcome RunPublishJob(const PublishJob& job, ftp::RunControl& control);
