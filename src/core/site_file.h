// A site: the folder a program belongs to, found by its site file, and what that file says.
// Plain C++, no Qt.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace core {

inline constexpr char kSiteFileName[] = "site.ini";

// What a site file holds: a few "Key value" lines. Keys that repeat ("Always publish",
// "Exclude") give one value per line; lines this version does not know are kept as they are.
struct SiteFile {
  std::string name;
  std::string profile;  // the publish profile the site goes up with
  std::string lang = "en";
  bool baseStyle = true;
  std::vector<std::string> alwaysPublish;                    // patterns of files sent though no page names them
  std::vector<std::string> exclude{".git/", "*.bak", "*~"};  // patterns never built on or sent
  std::vector<std::string> otherLines;
};

SiteFile ParseSiteFile(std::string_view text);
std::string SiteFileText(const SiteFile& site);

// The nearest folder at or above the program's own that holds a site file, else the
// program's own folder. Folders are returned without a trailing slash ("/" for the root).
std::string SiteFolderOf(const std::string& programPath);

// The page made from a program: the file name's extension becomes "html" (a name without
// one gets ".html"); a program that is itself an .html file gives ".hhtml".
std::string PagePathOf(const std::string& programPath);

// The site file of `folder`; a folder without one gives the defaults. False (and `error`
// set) only when a site file is there and cannot be read.
bool ReadSiteFile(const std::string& folder, SiteFile& site, std::string* error = nullptr);
// Writes the site file of `folder` safely (a temporary file and a rename).
bool WriteSiteFile(const std::string& folder, const SiteFile& site, std::string* error = nullptr);

}  // namespace core
