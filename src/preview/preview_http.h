// The preview server's requests and answers as plain values: what a request asks for,
// whether it may have it, and the bytes of the reply's head. No sockets here.
#pragma once
#include <string>
#include <string_view>

namespace preview {

struct HttpRequest {
  bool complete = false;  // the head has arrived whole
  bool bad = false;       // not HTTP, or a head that cannot be read
  std::string method, target;
  std::string path;   // the target's path, percent-decoded
  std::string query;  // after "?", as sent
  std::string host, cookie, origin;
  bool webSocket = false;  // asks to become a WebSocket
};

// Reads a request head from the bytes received so far.
HttpRequest ParseRequest(std::string_view bytes);

// What the server serves and from where.
struct ServeRules {
  std::string siteFolder;    // canonical, no trailing slash
  std::string configFolder;  // the editor's configuration folder, never served
  int port = 0;
  bool otherDevices = false;  // listening on every interface: the token is then required
  std::string token;
};

struct Decision {
  int status = 500;
  std::string file;         // the canonical file to send (status 200)
  std::string contentType;  // of that file
  bool html = false;        // gets the reload script
  bool webSocket = false;   // hand the connection to the WebSocket server
  std::string setCookie;    // the token, remembered by the browser after the first visit
  std::string location;     // where a folder without its slash goes (301)
};

inline constexpr const char* kSocketPath = "/__verosta/ws";
inline constexpr const char* kTokenParameter = "preview_token";
inline constexpr const char* kTokenCookie = "verosta_preview";

// Serve, refuse, or where to; only files inside the site, never the editor's own or a
// program's source.
Decision Decide(const HttpRequest& request, const ServeRules& rules);

// The canonical file a page address names, "" when it names none inside the site.
std::string FileForPath(const std::string& urlPath, const std::string& siteFolder);
// The address path of a file inside the site ("/a/b.html"), "" for one outside it.
std::string UrlPathOf(const std::string& file, const std::string& siteFolder);

std::string ContentTypeFor(const std::string& path);
// The HTML with `script` put before its closing body tag (else its closing html tag, else
// at the end).
std::string WithScript(std::string html, std::string_view script);
// A reply head with CR LF line ends, ending with the blank line.
std::string ReplyHead(const Decision& decision, size_t bodyLength);
// The reason phrase of a status code.
const char* StatusText(int status);

}  // namespace preview
