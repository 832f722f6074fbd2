#include "publish/page_files.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <deque>
#include <set>

#include "core/files.h"
#include "core/own_files.h"
#include "core/text.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == ':';
}

std::string DecodeAmpersands(std::string value) { return core::ReplaceAll(std::move(value), "&amp;", "&"); }

// Which attributes of a tag hold addresses of files.
bool HoldsAddress(const std::string& tag, const std::string& attribute) {
  if (attribute == "background") return true;
  if (attribute == "src")
    return tag == "img" || tag == "script" || tag == "audio" || tag == "video" || tag == "source" || tag == "track" ||
           tag == "embed" || tag == "iframe" || tag == "input";
  if (attribute == "href") return tag == "link" || tag == "a";
  if (attribute == "srcset") return tag == "img" || tag == "source";
  if (attribute == "poster") return tag == "video";
  if (attribute == "data") return tag == "object";
  return false;
}

// "a.gif 1x, b.gif 2x" -> "a.gif", "b.gif"
void AddSourceSet(const std::string& value, std::vector<std::string>& out) {
  for (std::size_t at = 0; at < value.size();) {
    std::size_t comma = value.find(',', at);
    std::string part = core::TrimBlank(value.substr(at, comma == std::string::npos ? std::string::npos : comma - at));
    std::size_t blank = part.find_first_of(" \t\r\n");
    if (!part.empty()) out.push_back(part.substr(0, blank));
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    int hi = i + 2 < s.size() && s[i] == '%' ? HexValue(s[i + 1]) : -1;
    int lo = hi >= 0 ? HexValue(s[i + 2]) : -1;
    if (lo >= 0) {
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// "a/./b/../c" -> "a/c"; "" when it climbs above the top.
std::string Normalised(std::string_view path) {
  std::vector<std::string> parts;
  for (std::size_t at = 0; at <= path.size();) {
    std::size_t slash = path.find('/', at);
    std::string part(path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at));
    if (part == "..") {
      if (parts.empty()) return std::string();
      parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    if (slash == std::string_view::npos) break;
    at = slash + 1;
  }
  std::string joined;
  for (const auto& p : parts) joined += (joined.empty() ? "" : "/") + p;
  return joined;
}

bool IsPage(const std::string& path) {
  std::string ext = core::ToLower(core::ExtensionOf(path));
  return ext == "html" || ext == "htm";
}

std::string Canonical(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).canonicalFilePath().toStdString();
}

}  // namespace

std::vector<std::string> PageReferences(std::string_view html) {
  std::vector<std::string> out;
  std::string lower = core::ToLower(html);
  std::size_t i = 0;
  while ((i = lower.find('<', i)) != std::string::npos) {
    if (lower.compare(i, 4, "<!--") == 0) {
      std::size_t end = lower.find("-->", i + 4);
      i = end == std::string::npos ? lower.size() : end + 3;
      continue;
    }
    std::size_t n = i + 1;
    while (n < lower.size() && IsNameChar(lower[n])) ++n;
    std::string tag = lower.substr(i + 1, n - i - 1);
    i = n;
    if (tag.empty()) continue;
    // Attributes up to the closing ">".
    while (i < lower.size() && lower[i] != '>') {
      if (!IsNameChar(lower[i])) {
        ++i;
        continue;
      }
      std::size_t nameStart = i;
      while (i < lower.size() && IsNameChar(lower[i])) ++i;
      std::string attribute = lower.substr(nameStart, i - nameStart);
      std::size_t j = lower.find_first_not_of(" \t\r\n", i);
      if (j == std::string::npos || lower[j] != '=') continue;
      j = lower.find_first_not_of(" \t\r\n", j + 1);
      if (j == std::string::npos) break;
      std::size_t valueStart, valueEnd;
      if (lower[j] == '"' || lower[j] == '\'') {
        valueStart = j + 1;
        valueEnd = lower.find(lower[j], valueStart);
        if (valueEnd == std::string::npos) valueEnd = lower.size();
        i = std::min(lower.size(), valueEnd + 1);
      } else {
        valueStart = j;
        valueEnd = lower.find_first_of(" \t\r\n>", j);
        if (valueEnd == std::string::npos) valueEnd = lower.size();
        i = valueEnd;
      }
      if (!HoldsAddress(tag, attribute)) continue;
      std::string value = DecodeAmpersands(std::string(html.substr(valueStart, valueEnd - valueStart)));
      if (attribute == "srcset") AddSourceSet(value, out);
      else out.push_back(core::TrimBlank(value));
    }
    if (tag == "script" || tag == "style") {
      std::size_t end = lower.find("</" + tag, i);
      i = end == std::string::npos ? lower.size() : end;
    }
  }
  return out;
}

std::string SitePathOf(std::string_view url, std::string_view base, std::string_view siteFolder) {
  std::string u = core::TrimBlank(url);
  u = u.substr(0, u.find_first_of("?#"));
  if (u.empty()) return std::string();
  std::size_t colon = u.find(':'), slash = u.find('/');
  if (colon != std::string::npos && (slash == std::string::npos || colon < slash)) {
    if (!core::EqualsNoCase(u.substr(0, colon), "file")) return std::string();
    std::string path = PercentDecoded(u.substr(colon + 1));
    if (core::StartsWith(path, "//")) path.erase(0, 2);  // file://host/path: only an empty host is ours
    if (path.empty() || path[0] != '/') return std::string();
    std::string site = std::string(siteFolder) + "/";
    if (siteFolder.empty() || !core::StartsWith(path, site)) return std::string();
    std::string result = Normalised(path.substr(site.size()));
    return ftp::HasControlBytes(result) ? std::string() : result;
  }
  u = core::ReplaceAll(u, "\\", "/");
  if (u[0] == '/') return std::string();
  std::string joined = base.empty() ? PercentDecoded(u) : std::string(base) + "/" + PercentDecoded(u);
  // A climb out of the site is refused, not clamped to its top; a decoded line break
  // could end an FTP command early.
  std::string result = Normalised(joined);
  return ftp::HasControlBytes(result) ? std::string() : result;
}

std::vector<UploadItem> PageUploads(const std::string& pagePath, const std::string& remoteName,
                                    const std::string& configFolder) {
  std::vector<UploadItem> items{{pagePath, remoteName}};
  std::string site = Canonical(core::FolderOf(pagePath));
  if (site.empty()) return items;
  std::set<std::string> seen{Canonical(pagePath)};
  std::deque<std::pair<std::string, std::string>> pages{{pagePath, ""}};  // local page, its folder in the site
  constexpr std::size_t kMaxFiles = 5000;
  while (!pages.empty() && items.size() < kMaxFiles) {
    auto [page, base] = pages.front();
    pages.pop_front();
    std::string text;
    if (!core::ReadFileBytes(page, text)) continue;
    for (const std::string& url : PageReferences(text)) {
      std::string relative = SitePathOf(url, base, site);
      if (relative.empty()) continue;
      std::string local = site + "/" + relative;
      std::string real = Canonical(local);
      // Only regular files that really lie in the site folder (no link leading out).
      if (real.empty() || !core::StartsWith(real, site + "/") || !core::FileExists(local)) continue;
      if (core::IsEditorsOwnFile(local, configFolder)) continue;
      if (!seen.insert(real).second) continue;
      items.push_back({local, relative});
      if (IsPage(relative)) pages.push_back({local, core::FolderOf(relative)});
    }
  }
  return items;
}

std::string WriteManifest(const Manifest& manifest) {
  std::string bytes = "Host " + manifest.host + "\r\n";
  for (const auto& [remote, e] : manifest.files)
    bytes += "File " + std::to_string(e.size) + " " + e.sha256 + " " + remote + "\t" + e.localPath + "\r\n";
  return bytes;
}

Manifest ReadManifest(std::string_view bytes) {
  Manifest m;
  for (const std::string& line : core::SplitLines(bytes)) {
    std::string value;
    if (core::MatchKey(line, "Host ", value)) m.host = value;
    if (!core::MatchKey(line, "File ", value)) continue;
    std::size_t a = value.find(' '), b = a == std::string::npos ? a : value.find(' ', a + 1);
    std::size_t tab = b == std::string::npos ? b : value.find('\t', b + 1);
    if (tab == std::string::npos) continue;
    std::string size = value.substr(0, a);
    if (size.empty() || size.size() > 18 || size.find_first_not_of("0123456789") != std::string::npos) continue;
    ManifestEntry e;
    e.size = std::stoll(size);
    e.sha256 = value.substr(a + 1, b - a - 1);
    e.localPath = value.substr(tab + 1);
    m.files[value.substr(b + 1, tab - b - 1)] = e;
  }
  return m;
}

std::string ManifestPathFor(std::string_view programName) {
  std::string name;
  for (char c : core::ToLower(core::Trim(programName))) name += (IsNameChar(c) && c != ':') || c == '.' ? c : '_';
  return "FtpProjs-" + name + ".manifest";
}

bool FileDigest(const std::string& path, long long& size, std::string& sha256) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return false;
  size = file.size();
  sha256 = hash.result().toHex().toStdString();
  return true;
}

std::string ManifestKey(std::string_view folder, std::string_view remotePath) {
  std::string joined = core::ReplaceAll(std::string(folder), "\\", "/") + "/" + std::string(remotePath);
  std::string key;
  for (char c : joined)
    if (!(c == '/' && (key.empty() || key.back() == '/'))) key += c;
  if (!key.empty() && key.back() == '/') key.pop_back();
  return key;
}
