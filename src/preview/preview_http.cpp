#include "preview/preview_http.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/own_files.h"
#include "core/text.h"

namespace preview {

namespace fs = std::filesystem;

namespace {

constexpr size_t kLongestHead = 16 * 1024;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool PercentDecode(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return false;
    int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
    if (high < 0 || low < 0) return false;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out.find('\0') == std::string::npos;
}

std::string Trimmed(std::string_view s) {
  size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t\r");
  return a == std::string_view::npos ? std::string() : std::string(s.substr(a, b - a + 1));
}

// A parameter or cookie value by name from "a=1&b=2" or "a=1; b=2".
std::string ValueOf(std::string_view list, std::string_view name, char separator) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(separator, start);
    std::string item =
        Trimmed(list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (item.size() > name.size() && item.compare(0, name.size(), name) == 0 && item[name.size()] == '=')
      return item.substr(name.size() + 1);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return {};
}

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string_view::npos; start = at + 1)
    parts.emplace_back(text.substr(start, at - start));
  parts.emplace_back(text.substr(start));
  return parts;
}

bool Inside(const std::string& file, const std::string& folder) {
  if (folder == "/") return core::StartsWith(file, "/");
  return file.size() > folder.size() && core::StartsWith(file, folder) && file[folder.size()] == '/';
}

bool IsSource(const std::string& path) {
  std::string ext = core::ToLower(core::ExtensionOf(path));
  return ext == "web" || ext == "lib";
}

// The file an address path names inside the site, with the status of the answer:
// 200, 301 (a folder named without its slash), 403 or 404.
std::string Resolve(const std::string& urlPath, const std::string& site, int& status) {
  status = 404;
  if (urlPath.empty() || urlPath[0] != '/') return {};
  std::vector<std::string> parts = Split(urlPath.substr(1), '/');
  for (const std::string& part : parts) {
    if (part == "..") {
      status = 403;
      return {};
    }
    if (!part.empty() && part[0] == '.') return {};  // .git, .htaccess, a safe write's temporary
  }
  std::error_code ec;
  fs::path path = fs::path(site) / urlPath.substr(1);
  if (fs::is_directory(path, ec)) {
    if (urlPath.back() != '/') {
      status = 301;
      return {};
    }
    if (fs::is_regular_file(path / "index.html", ec)) path /= "index.html";
    else if (fs::is_regular_file(path / "index.htm", ec)) path /= "index.htm";
    else return {};
  }
  fs::path canonical = fs::canonical(path, ec);
  if (ec) return {};
  std::string file = canonical.string();
  if (!Inside(file, site) || IsSource(path.string()) || IsSource(file)) {
    status = 403;
    return {};
  }
  if (!fs::is_regular_file(canonical, ec)) return {};
  status = 200;
  return file;
}

bool HostIsOurs(const std::string& host, int port) {
  std::string h = core::ToLower(host), p = ":" + std::to_string(port);
  return h == "127.0.0.1" + p || h == "localhost" + p;
}

}  // namespace

HttpRequest ParseRequest(std::string_view bytes) {
  HttpRequest r;
  size_t end = bytes.find("\r\n\r\n");
  if (end == std::string_view::npos) {
    r.complete = r.bad = bytes.size() > kLongestHead;
    return r;
  }
  r.complete = true;
  std::vector<std::string> lines = Split(std::string(bytes.substr(0, end)), '\n');
  std::vector<std::string> first = Split(Trimmed(lines.front()), ' ');
  if (first.size() != 3 || !core::StartsWith(first[2], "HTTP/1.")) {
    r.bad = true;
    return r;
  }
  r.method = first[0];
  r.target = first[1];
  for (unsigned char c : r.target)
    if (c < 0x21 || c == 0x7f) r.bad = true;
  size_t question = r.target.find('?');
  r.query = question == std::string::npos ? std::string() : r.target.substr(question + 1);
  if (!PercentDecode(r.target.substr(0, question), r.path)) r.bad = true;
  bool upgrade = false, connectionUpgrade = false;
  for (size_t i = 1; i < lines.size(); ++i) {
    size_t colon = lines[i].find(':');
    if (colon == std::string::npos) continue;
    std::string name = core::ToLower(Trimmed(lines[i].substr(0, colon)));
    std::string value = Trimmed(lines[i].substr(colon + 1));
    if (name == "host") r.host = value;
    else if (name == "cookie") r.cookie = value;
    else if (name == "origin") r.origin = value;
    else if (name == "upgrade") upgrade = core::ToLower(value) == "websocket";
    else if (name == "connection") connectionUpgrade = core::ToLower(value).find("upgrade") != std::string::npos;
  }
  r.webSocket = upgrade && connectionUpgrade;
  return r;
}

Decision Decide(const HttpRequest& request, const ServeRules& rules) {
  Decision d;
  if (request.bad || !request.complete) return d.status = 400, d;
  if (request.method != "GET" && request.method != "HEAD") return d.status = 405, d;
  if (rules.otherDevices) {
    std::string offered = ValueOf(request.query, kTokenParameter, '&');
    if (offered.empty()) offered = ValueOf(request.cookie, kTokenCookie, ';');
    if (rules.token.empty() || offered != rules.token) return d.status = 403, d;
    if (request.cookie.find(rules.token) == std::string::npos) d.setCookie = rules.token;
  } else if (!HostIsOurs(request.host, rules.port)) {
    return d.status = 403, d;
  }
  if (request.path == kSocketPath) {
    // Any web page may open a socket to this address: only the preview's own pages may.
    if (!request.origin.empty() && core::ToLower(request.origin) != "http://" + core::ToLower(request.host))
      return d.status = 403, d;
    d.webSocket = request.webSocket && request.method == "GET";
    d.status = d.webSocket ? 101 : 400;
    return d;
  }
  d.file = Resolve(request.path, rules.siteFolder, d.status);
  if (d.status == 301) {
    std::string rawPath = request.target.substr(0, request.target.find('?'));
    d.location = rawPath + "/" + (request.query.empty() ? "" : "?" + request.query);
  }
  if (d.status == 200 && core::IsEditorsOwnFile(d.file, rules.configFolder)) d.status = 403;
  if (d.status != 200) return d.file.clear(), d;
  d.contentType = ContentTypeFor(d.file);
  d.html = core::StartsWith(d.contentType, "text/html");
  return d;
}

std::string FileForPath(const std::string& urlPath, const std::string& siteFolder) {
  int status = 0;
  std::string file = Resolve(urlPath, siteFolder, status);
  return status == 200 ? file : std::string();
}

std::string UrlPathOf(const std::string& file, const std::string& siteFolder) {
  if (!Inside(file, siteFolder)) return {};
  std::string relative = siteFolder == "/" ? file : file.substr(siteFolder.size());
  std::string out;
  static const char hex[] = "0123456789ABCDEF";
  for (unsigned char c : relative) {
    if (std::isalnum(c) || std::string_view("/-._~").find(static_cast<char>(c)) != std::string_view::npos) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string ContentTypeFor(const std::string& path) {
  static const struct {
    const char* ext;
    const char* type;
  } types[] = {
      {"html", "text/html"},      {"htm", "text/html"},
      {"hhtml", "text/html"},     {"xhtml", "application/xhtml+xml"},
      {"css", "text/css"},        {"js", "text/javascript"},
      {"mjs", "text/javascript"}, {"json", "application/json"},
      {"xml", "application/xml"}, {"txt", "text/plain"},
      {"svg", "image/svg+xml"},   {"png", "image/png"},
      {"jpg", "image/jpeg"},      {"jpeg", "image/jpeg"},
      {"gif", "image/gif"},       {"webp", "image/webp"},
      {"ico", "image/x-icon"},    {"bmp", "image/bmp"},
      {"woff", "font/woff"},      {"woff2", "font/woff2"},
      {"ttf", "font/ttf"},        {"otf", "font/otf"},
      {"mp4", "video/mp4"},       {"webm", "video/webm"},
      {"ogg", "audio/ogg"},       {"mp3", "audio/mpeg"},
      {"wav", "audio/wav"},       {"pdf", "application/pdf"},
  };
  std::string ext = core::ToLower(core::ExtensionOf(path));
  for (const auto& t : types)
    if (ext == t.ext) return t.type;
  return "application/octet-stream";
}

std::string WithScript(std::string html, std::string_view script) {
  std::string lower = core::ToLower(html);
  size_t at = lower.rfind("</body");
  if (at == std::string::npos) at = lower.rfind("</html");
  if (at == std::string::npos) at = html.size();
  html.insert(at, script);
  return html;
}

const char* StatusText(int status) {
  switch (status) {
    case 101: return "Switching Protocols";
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    default: return "Internal Server Error";
  }
}

std::string ReplyHead(const Decision& decision, size_t bodyLength) {
  std::string head = "HTTP/1.1 " + std::to_string(decision.status) + " " + StatusText(decision.status) + "\r\n";
  head += "Content-Type: " + (decision.status == 200 ? decision.contentType : std::string("text/plain")) + "\r\n";
  head += "Content-Length: " + std::to_string(bodyLength) + "\r\n";
  head += "Cache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\nConnection: close\r\n";
  if (decision.status == 405) head += "Allow: GET, HEAD\r\n";
  if (!decision.location.empty()) head += "Location: " + decision.location + "\r\n";
  if (!decision.setCookie.empty())
    head += std::string("Set-Cookie: ") + kTokenCookie + "=" + decision.setCookie + "; Path=/; SameSite=Strict\r\n";
  return head + "\r\n";
}

}  // namespace preview
