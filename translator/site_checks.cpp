#include "site_checks.h"

#include <cstdint>
#include <filesystem>
#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>

#include "core/text.h"
#include "keywords.h"
#include "references.h"

namespace translator {

bool ListFolderOnDisk(const std::string& folder, std::vector<std::string>& names) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  if (ec) return false;
  for (; it != end; it.increment(ec)) {
    if (ec) return false;
    std::error_code kind;
    names.push_back(it->path().filename().string() + (it->is_directory(kind) ? "/" : ""));
  }
  return true;
}

namespace {

bool IsPageName(std::string_view name) {
  std::string ext = core::ToLower(core::ExtensionOf(name));
  return ext == "html" || ext == "htm";
}

std::string PercentDecoded(std::string_view text) {
  auto hex = [](char c) {
    return core::IsAsciiDigit(c) ? c - '0' : core::IsAsciiAlpha(c) ? core::AsciiLower(c) - 'a' + 10 : 99;
  };
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && hex(text[i + 1]) < 16 && hex(text[i + 2]) < 16) {
      out += static_cast<char>(hex(text[i + 1]) * 16 + hex(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

struct Target {
  std::string path;  // decoded, "/" between folders, without query and fragment
  std::string fragment;
  bool hasFragment = false;
};

Target ParseTarget(std::string_view written) {
  Target t;
  std::string s = core::ReplaceAll(std::string(core::TrimBlankView(written)), "\\", "/");
  if (size_t hash = s.find('#'); hash != std::string::npos) {
    t.fragment = PercentDecoded(std::string_view(s).substr(hash + 1));
    t.hasFragment = true;
    s.erase(hash);
  }
  if (size_t query = s.find('?'); query != std::string::npos) s.erase(query);
  t.path = PercentDecoded(s);
  return t;
}

std::string_view NameOf(std::string_view entry) {
  return core::EndsWith(entry, "/") ? entry.substr(0, entry.size() - 1) : entry;
}

std::string Noun(const Reference& r, const std::string& path) {
  switch (r.kind) {
    case Reference::Kind::Picture: return "picture";
    case Reference::Kind::Sound: return "sound";
    case Reference::Kind::Video: return "video";
    case Reference::Kind::StyleSheet: return "style sheet";
    case Reference::Kind::Script: return "script";
    case Reference::Kind::Link: break;
  }
  return IsPageName(path) || path.empty() || core::EndsWith(path, "/") ? "linked page" : "linked file";
}

// Where a reference's path leads, found name by name as the disk spells them.
struct Resolution {
  bool found = false;
  bool known = true;         // false when a folder on the way cannot be read
  bool caseDiffers = false;  // found, but some name is spelt in another letter case
  std::string actual;        // absolute path with the disk's names
  std::string spelt;         // the path as written, with the disk's names (or a near name when not found)
  bool nearName = false;     // `spelt` holds a near name for a missing one
};

class Checker {
 public:
  Checker(const std::string& site, const std::vector<SitePage>& pages, const EntryLister& list, const FileReader& read)
      : site_(site), list_(list), read_(read) {
    for (const SitePage& p : pages) pages_[p.path] = &p.ids;
  }

  void Check(const SitePage& page, const Reference& ref) {
    Target t = ParseTarget(ref.target);
    std::string base = core::StartsWith(t.path, "/") ? site_ : core::FolderOf(page.path);
    Resolution r;
    if (t.path.empty()) r.actual = page.path, r.found = true;
    else r = Resolve(base, t.path);
    if (!r.known) return;
    std::string written = "\"" + ref.target + "\"";
    std::string noun = Noun(ref, t.path);
    if (!r.found) {
      Warn(ref, "the " + noun + " " + written + " does not exist" +
                    (r.nearName ? "; did you mean \"" + r.spelt + "\"?" : ""));
      return;
    }
    if (r.caseDiffers)
      Warn(ref, "the " + noun + " " + written + " is \"" + r.spelt +
                    "\" on the disk: a name that differs only in letter case works on Windows but breaks on a "
                    "Linux web server");
    if (t.hasFragment) CheckFragment(page, ref, t, r.actual);
  }

  std::vector<Diagnostic> diagnostics;

 private:
  void Warn(const Reference& ref, const std::string& message) {
    if (said_.insert(ref.path + "\n" + std::to_string(ref.line) + "\n" + message).second)
      diagnostics.push_back({ref.path, ref.line, Diagnostic::Severity::Warning, message});
  }

  // The names in `folder`, with "x.html" for each program "x.web" that makes that page;
  // null when the folder cannot be read.
  const std::vector<std::string>* Listing(const std::string& folder) {
    auto [it, added] = listings_.try_emplace(folder);
    if (added) {
      std::vector<std::string> names;
      if (list_ && list_(folder.empty() ? "/" : folder, names)) {
        for (size_t i = 0, n = names.size(); i < n; ++i)
          if (core::EqualsNoCase(core::ExtensionOf(names[i]), "web"))
            names.push_back(names[i].substr(0, names[i].size() - 3) + "html");
        it->second = std::move(names);
      }
    }
    return it->second ? &*it->second : nullptr;
  }

  // The entry of `names` for `name` (a folder unless `last`): the same name, else one
  // that differs in letter case only; "" when there is none.
  static std::string Match(const std::vector<std::string>& names, const std::string& name, bool last, bool& caseOnly) {
    for (const std::string& n : names)
      if ((last && n == name) || n == name + "/") return n;
    for (const std::string& n : names)
      if ((last || core::EndsWith(n, "/")) && core::EqualsNoCase(NameOf(n), name)) {
        caseOnly = true;
        return n;
      }
    return {};
  }

  static std::string Nearest(const std::vector<std::string>& names, const std::string& name) {
    size_t limit = name.size() >= 6 ? 2 : 1, best = limit + 1;
    std::string nearest;
    for (const std::string& n : names) {
      size_t d = EditDistance(name, NameOf(n), limit);
      if (d < best) best = d, nearest = NameOf(n);
    }
    return nearest;
  }

  // One name looked up in one folder; a site names the same folders and files again and again.
  struct Step {
    bool known = true;  // the folder could be read
    std::string entry;  // as Match gives it
    bool caseOnly = false;
    std::string nearest;  // when there is no entry
  };
  const Step& StepIn(const std::string& folder, const std::string& name, bool last) {
    auto [it, added] = steps_.try_emplace(folder + '\n' + name + (last ? "\n" : ""));
    Step& step = it->second;
    if (added) {
      const std::vector<std::string>* names = Listing(folder);
      if (!names) step.known = false;
      else if ((step.entry = Match(*names, name, last, step.caseOnly)).empty()) step.nearest = Nearest(*names, name);
    }
    return step;
  }

  Resolution Resolve(std::string folder, const std::string& path) {
    Resolution r;
    std::vector<std::string> parts;
    for (std::string_view rest = path;;) {
      size_t slash = rest.find('/');
      parts.emplace_back(rest.substr(0, slash));
      if (slash == std::string_view::npos) break;
      rest.remove_prefix(slash + 1);
    }
    for (size_t k = 0; k < parts.size(); ++k) {
      std::string& part = parts[k];
      if (part.empty() || part == ".") continue;
      if (part == "..") {
        folder = core::FolderOf(folder);
        continue;
      }
      const Step& step = StepIn(folder, part, k + 1 == parts.size());
      if (!step.known) {
        r.known = false;
        return r;
      }
      if (step.entry.empty()) {
        r.nearName = !step.nearest.empty();
        if (r.nearName) part = step.nearest;
        r.spelt = Joined(parts);
        return r;
      }
      r.caseDiffers = r.caseDiffers || step.caseOnly;
      part = std::string(NameOf(step.entry));
      folder = core::JoinPath(folder, part);
    }
    r.found = true;
    r.actual = folder;
    r.spelt = Joined(parts);
    return r;
  }

  static std::string Joined(const std::vector<std::string>& parts) {
    std::string s;
    for (size_t k = 0; k < parts.size(); ++k) s += (k ? "/" : "") + parts[k];
    return s;
  }

  // The ids of the page at `path`: a page of the site, else one read from the disk.
  const std::vector<std::string>* IdsOf(const std::string& path) {
    if (auto page = pages_.find(path); page != pages_.end()) return page->second;
    if (!read_ || !IsPageName(path)) return nullptr;
    auto it = readIds_.find(path);
    if (it == readIds_.end()) {
      std::string html;
      if (!read_(path, html)) return nullptr;  // a page still to be made from its program
      it = readIds_.emplace(path, PageIds(html)).first;
    }
    return &it->second;
  }

  void CheckFragment(const SitePage& page, const Reference& ref, const Target& t, const std::string& actual) {
    if (t.fragment.empty() || core::EqualsNoCase(t.fragment, "top")) return;  // the top of the page
    const std::vector<std::string>* ids = t.path.empty() ? &page.ids : IdsOf(actual);
    if (!ids || std::find(ids->begin(), ids->end(), t.fragment) != ids->end()) return;
    std::string where = t.path.empty() ? "this page" : "\"" + t.path + "\"";
    std::string near = Nearest(*ids, t.fragment);
    Warn(ref, "the link \"" + ref.target + "\" leads nowhere: " + where + " has no element with the id \"" +
                  t.fragment + "\"" + (near.empty() ? "" : "; did you mean \"" + near + "\"?"));
  }

  std::string site_;
  const EntryLister& list_;
  const FileReader& read_;
  std::map<std::string, const std::vector<std::string>*> pages_;
  std::map<std::string, std::optional<std::vector<std::string>>> listings_;
  std::map<std::string, std::vector<std::string>> readIds_;
  std::unordered_map<std::string, Step> steps_;
  std::set<std::string> said_;
};

}  // namespace

std::vector<Diagnostic> CheckSiteReferences(const std::string& siteFolder, const std::vector<SitePage>& pages,
                                            const EntryLister& list, const FileReader& read, size_t maxWarnings) {
  Checker checker(siteFolder, pages, list, read);
  for (const SitePage& page : pages)
    for (const Reference& ref : page.references) {
      if (checker.diagnostics.size() >= maxWarnings) return std::move(checker.diagnostics);
      checker.Check(page, ref);
    }
  return std::move(checker.diagnostics);
}

}  // namespace translator
