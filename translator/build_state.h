// What the last build of a site made each page from, so that the next one rebuilds only the
// pages whose inputs changed. Kept per site in the editor's configuration folder.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "translator.h"

namespace translator {

// A file (or, for `listed`, a folder's list of names) a page was made from. The stamp lets a
// build skip reading it; the digest tells a rewrite with the same bytes from a change.
struct InputRecord {
  std::string path;
  bool listed = false;
  bool exists = true;
  long long size = 0;
  long long modifiedNs = 0;
  unsigned long long inode = 0;
  uint64_t digest = 0;
  // False when the file changed so shortly before it was read that a change right after
  // could keep the same stamp: its contents are compared each time.
  bool trusted = false;
  bool operator==(const InputRecord&) const = default;
};

struct PageRecord {
  std::string page;  // "" when the program is only included by others and makes no page
  std::vector<InputRecord> inputs;
  std::vector<Diagnostic> diagnostics;
  std::vector<Reference> references;  // the page's local references, for the checks of the site
  std::vector<std::string> ids;       // the ids its #fragment links may land on
};

struct BuildState {
  std::string setup;                        // the translator's version and folders
  std::map<std::string, PageRecord> pages;  // by program path
};

std::string BuildStateText(const BuildState& state);
// Lines it does not understand are skipped; a state of another format, or one cut short,
// gives an empty one.
BuildState ParseBuildState(std::string_view text);

// The file of `siteFolder`'s state in `stateFolder`.
std::string BuildStatePath(const std::string& stateFolder, const std::string& siteFolder);

}  // namespace translator
