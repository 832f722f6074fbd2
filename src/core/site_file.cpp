#include "core/site_file.h"

#include "core/files.h"
#include "core/text.h"

namespace core {

namespace {

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

// The value after `key` when the line starts with it (any letter case) and a space or the end follows.
bool ValueOf(std::string_view line, std::string_view key, std::string& value) {
  if (line.size() < key.size() || ToLower(std::string(line.substr(0, key.size()))) != ToLower(std::string(key)))
    return false;
  std::string_view rest = line.substr(key.size());
  if (!rest.empty() && rest.front() != ' ' && rest.front() != '\t') return false;
  value = std::string(Trimmed(rest));
  return true;
}

std::string ParentOf(const std::string& folder) {
  size_t slash = folder.find_last_of('/');
  if (slash == std::string::npos) return "";
  return slash == 0 ? "/" : folder.substr(0, slash);
}

std::string Joined(const std::string& folder, const char* name) {
  return folder == "/" ? "/" + std::string(name) : folder + "/" + name;
}

}  // namespace

SiteFile ParseSiteFile(std::string_view text) {
  SiteFile site;
  bool excludeGiven = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    std::string value;
    if (line.empty()) continue;
    if (ValueOf(line, "Name", value)) site.name = value;
    else if (ValueOf(line, "Profile", value)) site.profile = value;
    else if (ValueOf(line, "Lang", value)) site.lang = value.empty() ? "en" : value;
    else if (ValueOf(line, "Base style", value)) site.baseStyle = value != "0";
    else if (ValueOf(line, "Always publish", value)) {
      if (!value.empty()) site.alwaysPublish.push_back(value);
    } else if (ValueOf(line, "Exclude", value)) {
      if (!excludeGiven) site.exclude.clear();
      excludeGiven = true;
      if (!value.empty()) site.exclude.push_back(value);
    } else site.otherLines.emplace_back(line);
  }
  return site;
}

std::string SiteFileText(const SiteFile& site) {
  std::string text = "Name " + site.name + "\n";
  if (!site.profile.empty()) text += "Profile " + site.profile + "\n";
  text += "Lang " + site.lang + "\n";
  text += std::string("Base style ") + (site.baseStyle ? "1" : "0") + "\n";
  for (const std::string& p : site.alwaysPublish) text += "Always publish " + p + "\n";
  // An empty list is written as one empty line so that reading it back does not bring the defaults back.
  if (site.exclude.empty()) text += "Exclude\n";
  for (const std::string& p : site.exclude) text += "Exclude " + p + "\n";
  for (const std::string& line : site.otherLines) text += line + "\n";
  return text;
}

std::string SiteFolderOf(const std::string& programPath) {
  const std::string own = ParentOf(programPath);
  for (std::string folder = own; !folder.empty(); folder = ParentOf(folder)) {
    if (FileExists(Joined(folder, kSiteFileName))) return folder;
    if (folder == "/") break;
  }
  return own;
}

bool ReadSiteFile(const std::string& folder, SiteFile& site, std::string* error) {
  const std::string path = Joined(folder, kSiteFileName);
  if (!FileExists(path)) {
    site = SiteFile();
    return true;
  }
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  site = ParseSiteFile(bytes);
  return true;
}

bool WriteSiteFile(const std::string& folder, const SiteFile& site, std::string* error) {
  return WriteFileAtomically(Joined(folder, kSiteFileName), SiteFileText(site), error);
}

std::string PagePathOf(const std::string& programPath) {
  std::string ext = ExtensionOf(programPath);
  if (EqualsNoCase(ext, "html")) return programPath.substr(0, programPath.size() - 3) + "html";
  if (ext.empty()) return programPath + ".html";
  return programPath.substr(0, programPath.size() - ext.size()) + "html";
}

}  // namespace core
