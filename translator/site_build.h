// Building a whole site: every program of the site translated into its page by a pool of
// worker threads, each shared file read once, and only the pages whose inputs changed
// since the last build made again.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "core/site_file.h"
#include "translator.h"

namespace translator {

struct SiteBuildOptions {
  std::string folder;       // the site folder
  std::string stateFolder;  // where builds are remembered; "" makes every page again
  std::string version;      // the translator's; a new one makes every page again
  int jobs = 0;             // worker threads; 0 for one per core
  Options translate;        // the Library, scripts and configuration folders
  // After each page that was made, on a worker thread (one call at a time).
  std::function<void(size_t done, size_t total, const std::string& program)> progress;
};

struct SiteBuildResult {
  size_t programs = 0;  // the site's programs, those only included by others among them
  size_t built = 0, upToDate = 0, failed = 0;
  std::vector<std::string> written;     // the pages written (not those already as made), sorted
  std::vector<Diagnostic> diagnostics;  // every program's, in program order (also unchanged ones')
  std::string error;                    // the site could not be read or its state not kept
};

// True when `relative` (a path in the site, "/" separated) matches one of the site file's
// patterns: "name/" any folder of that name, a pattern with a "/" the whole path, any
// other the name of the file or of a folder it is in ("*" and "?" as in the shell).
bool ExcludedFromSite(const std::string& relative, const std::vector<std::string>& patterns);

// The site's programs (.web files in the folder and below), sorted, without excluded
// files and the editor's own.
std::vector<std::string> SitePrograms(const std::string& folder, const core::SiteFile& site,
                                      const std::string& configFolder);

SiteBuildResult BuildSite(const SiteBuildOptions& options);

}  // namespace translator
