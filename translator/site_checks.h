// Checks over the local references of a site's pages: each names a file that exists,
// in the letter case it has on the disk (a Linux web server tells "A.JPG" from "a.jpg"),
// and each #fragment an id of its page. The disk is reached only through the functions
// given, so a build can hand in what it already knows and the tests a made-up site.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "translator.h"

namespace translator {

// The names in a folder, each folder's name followed by "/"; false when it cannot be read.
using EntryLister = std::function<bool(const std::string& folder, std::vector<std::string>& names)>;

struct SitePage {
  std::string path;                   // absolute path of the page: "/site/news/index.html"
  std::vector<Reference> references;  // as Translate found them
  std::vector<std::string> ids;       // PageIds of its HTML
};

// A warning (with the file and line that make the reference) for each reference of
// `pages` to a file that is missing or named in another letter case, and for each
// #fragment that no element of its page holds. A link to "x.html" is good while the
// program "x.web" is there to make it. `read` gives the HTML of linked pages not among
// `pages` (their fragments are not checked without it). The same warning is given once,
// and the check stops after `maxWarnings`.
std::vector<Diagnostic> CheckSiteReferences(const std::string& siteFolder, const std::vector<SitePage>& pages,
                                            const EntryLister& list, const FileReader& read = {},
                                            size_t maxWarnings = SIZE_MAX);

// EntryLister of the disk.
bool ListFolderOnDisk(const std::string& folder, std::vector<std::string>& names);

}  // namespace translator
