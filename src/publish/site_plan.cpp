#include "publish/site_plan.h"

#include <fnmatch.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "core/files.h"
#include "core/own_files.h"
#include "core/text.h"

namespace fs = std::filesystem;

namespace {

std::string NameOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOf(std::string_view path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

bool IsPage(std::string_view path) {
  std::string lower = core::ToLower(path);
  return lower.ends_with(".html") || lower.ends_with(".htm");
}

// Never sent: sources, the site file and the editor's own files.
bool NeverSent(std::string_view path, const std::string& fullPath, const std::string& configFolder) {
  std::string lower = core::ToLower(path);
  return lower.ends_with(".web") || lower.ends_with(".lib") || path == core::kSiteFileName ||
         core::IsEditorsOwnFile(fullPath, configFolder);
}

// The site's files by path; hidden folders and excluded folders are not entered.
std::set<std::string> SiteFiles(const std::string& siteFolder, const std::vector<std::string>& exclude) {
  std::set<std::string> files;
  std::error_code ec;
  fs::recursive_directory_iterator it(siteFolder, ec), end;
  for (; !ec && it != end; it.increment(ec)) {
    std::string path = fs::relative(it->path(), siteFolder, ec).generic_string();
    if (it->is_directory(ec)) {
      if (NameOf(path).starts_with(".") || MatchesAnyPattern(exclude, path + "/")) it.disable_recursion_pending();
    } else if (it->is_regular_file(ec)) {
      files.insert(path);
    }
  }
  return files;
}

}  // namespace

bool IsHiddenPath(std::string_view path) {
  return !path.empty() && (path[0] == '.' || path.find("/.") != std::string_view::npos);
}

bool MatchesSitePattern(std::string_view pattern, std::string_view path) {
  if (pattern.empty()) return false;
  std::string p(pattern), full(path);
  if (p.back() == '/') {
    p.pop_back();
    std::string folders = FolderOf(full);
    if (!full.empty() && full.back() == '/') folders = full.substr(0, full.size() - 1);
    for (std::size_t at = 0; at <= folders.size();) {
      std::size_t slash = folders.find('/', at);
      std::string piece = folders.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
      if (!piece.empty() && fnmatch(p.c_str(), piece.c_str(), 0) == 0) return true;
      if (slash == std::string::npos) break;
      at = slash + 1;
    }
    return false;
  }
  if (p.find('/') == std::string::npos) return fnmatch(p.c_str(), NameOf(full).c_str(), 0) == 0;
  if (p[0] == '/') p.erase(0, 1);
  return fnmatch(p.c_str(), full.c_str(), FNM_PATHNAME) == 0;
}

bool MatchesAnyPattern(const std::vector<std::string>& patterns, std::string_view path) {
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::string& p) { return MatchesSitePattern(core::Trim(p), path); });
}

std::vector<SiteItem> PublishableFiles(const std::string& siteFolder, const core::SiteFile& site,
                                       const std::string& configFolder) {
  std::set<std::string> all = SiteFiles(siteFolder, site.exclude), wanted;
  for (const std::string& path : all)
    if (IsPage(path) || MatchesAnyPattern(site.alwaysPublish, path)) wanted.insert(path);
  // Files the pages reference; every page of the site is read, linked or not.
  for (const std::string& page : std::set<std::string>(wanted)) {
    if (!IsPage(page)) continue;
    std::string html;
    if (!core::ReadFileBytes(core::JoinPath(siteFolder, page), html)) continue;
    for (const std::string& url : PageReferences(html)) {
      std::string path = SitePathOf(url, FolderOf(page), siteFolder);
      if (!path.empty() && all.count(path)) wanted.insert(path);
    }
  }
  std::vector<SiteItem> items;
  for (const std::string& path : wanted) {
    SiteItem item;
    item.path = path;
    item.localPath = core::JoinPath(siteFolder, path);
    if (NeverSent(path, item.localPath, configFolder)) continue;
    item.excluded = MatchesAnyPattern(site.exclude, path);
    if (!FileDigest(item.localPath, item.size, item.sha256)) continue;
    items.push_back(item);
  }
  return items;
}

std::vector<PlanRow> CompareSite(const std::vector<SiteItem>& local, const Manifest& manifest,
                                 const std::string& folder, const ServerFiles& server,
                                 const std::vector<std::string>& exclude, bool showHidden) {
  std::vector<PlanRow> rows;
  std::set<std::string> ours;
  for (const SiteItem& item : local) {
    ours.insert(item.path);
    PlanRow row{SiteAction::PutNew, item.path, item.localPath, item.size, item.sha256, true};
    auto held = server.find(item.path);
    auto known = manifest.files.find(ManifestKey(folder, item.path));
    if (item.excluded) {
      row.action = SiteAction::Excluded;
      row.ticked = false;
    } else if (held != server.end()) {
      bool same = known != manifest.files.end() && known->second.size == item.size &&
                  known->second.sha256 == item.sha256 && (held->second < 0 || held->second == item.size);
      row.action = same ? SiteAction::Unchanged : SiteAction::PutChanged;
      row.ticked = !same;
    }
    rows.push_back(row);
  }
  for (const auto& [path, size] : server) {
    if (ours.count(path) || (IsHiddenPath(path) && !showHidden)) continue;
    bool excluded = MatchesAnyPattern(exclude, path);
    rows.push_back(
        {excluded ? SiteAction::Excluded : SiteAction::Delete, path, std::string(), size, std::string(), false});
  }
  std::sort(rows.begin(), rows.end(), [](const PlanRow& a, const PlanRow& b) { return a.path < b.path; });
  return rows;
}

void RecordLanded(Manifest& manifest, const std::string& folder, const PlanRow& row) {
  std::string key = ManifestKey(folder, row.path);
  if (row.action == SiteAction::Delete) manifest.files.erase(key);
  else if (row.action == SiteAction::PutNew || row.action == SiteAction::PutChanged)
    manifest.files[key] = ManifestEntry{row.size, row.sha256, row.localPath};
}

const char* ActionName(SiteAction action) {
  switch (action) {
    case SiteAction::PutNew: return "put new";
    case SiteAction::PutChanged: return "put changed";
    case SiteAction::Delete: return "delete";
    case SiteAction::Unchanged: return "unchanged";
    case SiteAction::Excluded: return "excluded";
  }
  return "";
}

std::string PlanText(const std::vector<PlanRow>& rows) {
  std::string text;
  long long putBytes = 0;
  int puts = 0, deletes = 0, unchanged = 0;
  for (const PlanRow& row : rows) {
    char line[64];
    std::snprintf(line, sizeof line, "[%c] %-12s %10lld  ", row.ticked ? 'x' : ' ', ActionName(row.action), row.size);
    text += line + row.path + "\n";
    if (row.ticked && row.action == SiteAction::Delete) ++deletes;
    else if (row.ticked) ++puts, putBytes += row.size;
    if (row.action == SiteAction::Unchanged) ++unchanged;
  }
  text += std::to_string(puts) + " to put (" + std::to_string(putBytes) + " bytes), " + std::to_string(deletes) +
          " to delete, " + std::to_string(unchanged) + " unchanged\n";
  return text;
}
