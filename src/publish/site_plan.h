// What Publish Site sends: the site's publishable files, compared with what the manifest
// says was put and what the server's listing shows, as a list of actions for the user to
// tick. Plain C++ apart from reading the site's files.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/site_file.h"
#include "publish/page_files.h"

// A site pattern against a path inside the site ("/" between folders): "name/" matches a
// folder of that name anywhere and all below it; a pattern without "/" matches the file
// name ("*.bak"); one with "/" matches the whole path ("pics/*.gif").
bool MatchesSitePattern(std::string_view pattern, std::string_view path);
bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view path);

struct SiteItem {
  std::string path;  // inside the site, "/" between folders
  std::string localPath;
  long long size = 0;
  std::string sha256;
  bool excluded = false;  // would go, but an exclude pattern keeps it back
};

// Every page (.html, .htm) of the site, every file a page references inside the site, and
// the files the always-publish patterns name; never .web/.lib sources, the site file, the
// editor's own files, hidden folders; excluded ones marked. Sorted by path.
std::vector<SiteItem> PublishableFiles(const std::string& siteFolder, const core::SiteFile& site,
                                       const std::string& configFolder);

enum class SiteAction { PutNew, PutChanged, Delete, Unchanged, Excluded };

struct PlanRow {
  SiteAction action = SiteAction::Unchanged;
  std::string path;  // below the target folder
  std::string localPath;
  long long size = 0;  // the local file's; the server's for a deletion (-1 when unknown)
  std::string sha256;
  bool ticked = false;  // puts are ticked; deletions only when the user asks
};

// Server files below the target folder by path, with their sizes (-1 when unknown).
using ServerFiles = std::map<std::string, long long>;

// A file goes up when the server lacks it (also one deleted there by hand) or when its size or
// digest differs from what the manifest recorded, or the server holds another size.
// Server files the site lacks become deletions (unticked) unless they are excluded (shown
// as such) or hidden (a name starting with "."), which are left out unless `showHidden`.
std::vector<PlanRow> CompareSite(const std::vector<SiteItem>& local, const Manifest& manifest,
                                 const std::string& folder, const ServerFiles& server,
                                 const std::vector<std::string>& exclude, bool showHidden);

// A name starting with "." anywhere in the path (".htaccess", "up/.keep").
bool IsHiddenPath(std::string_view path);

// The manifest after a row has landed: a put records the file, a deletion forgets it.
void RecordLanded(Manifest& manifest, const std::string& folder, const PlanRow& row);

// "put new", "put changed", "delete", "unchanged", "excluded"
const char* ActionName(SiteAction action);
// One line per row ("[x] put new       1234  pics/a.gif") and a total line.
std::string PlanText(const std::vector<PlanRow>& rows);
