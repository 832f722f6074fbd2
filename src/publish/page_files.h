// The files a published page needs beside it on the server: the local files its tags
// reference (pictures, style sheets, scripts, media, linked pages), and the record of
// what an earlier publish of the same profile already put there.
#pragma once
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "publish/publish_run.h"

// The addresses in a page's tags that may name files: img src and srcset, link href,
// script src, audio/video/source/track/embed/iframe src, video poster, object data,
// background, input src and a href; in document order, &amp; decoded. Script and style
// bodies and comments are skipped.
std::vector<std::string> PageReferences(std::string_view html);

// An address as a path inside the site folder, resolved against `base` (a folder inside
// the site, "" for its top): "pics/a%20b.gif?v=2#x" -> "pics/a b.gif". "" for anything
// that is not a local file inside the site: other schemes, "//host", "/root", "#top",
// a climb above the site. A file: URL counts when it points into `siteFolder`.
std::string SitePathOf(std::string_view url, std::string_view base, std::string_view siteFolder);

// The page first (as `remoteName`), then every existing local file it references inside
// its folder, each once; linked pages (.html, .htm) are read for their references too.
// The editor's own files (settings, FTP profiles, anything in `configFolder`) never go.
std::vector<UploadItem> PageUploads(const std::string& pagePath, const std::string& remoteName,
                                    const std::string& configFolder);

// What the server holds after earlier publishes of one profile, by remote path (the
// target folder and the file's path below it).
struct ManifestEntry {
  long long size = 0;
  std::string sha256;  // lower-case hex
  std::string localPath;
};
struct Manifest {
  std::string host;
  std::map<std::string, ManifestEntry> files;
};

// "Host h" then one line per file: "File " size, sha256, remote path, TAB, local path.
std::string WriteManifest(const Manifest& manifest);
Manifest ReadManifest(std::string_view bytes);
// Beside FtpProjs.ini: "FtpProjs-mysite.manifest" (letters, digits, "-", "_" and "." kept).
std::string ManifestPathFor(std::string_view programName);
// Size and SHA-256 of a local file; false when it cannot be read.
bool FileDigest(const std::string& path, long long& size, std::string& sha256);
// The remote path a manifest knows a file by: "/www/site/" + "pics/a.gif" -> "www/site/pics/a.gif".
std::string ManifestKey(std::string_view folder, std::string_view remotePath);
