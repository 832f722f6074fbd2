// A server's folder listing as the site publish reads it: MLSD lines (RFC 3659) where the
// server offers them, else LIST lines in the Unix "ls -l" form (also what SFTP lists) or
// the DOS form. Plain C++.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// A file or folder in a server's listing.
struct RemoteEntry {
  std::string name;
  long long size = -1;  // -1 when the listing tells none
  bool folder = false;
};

// "type=file;size=12;modify=20260101120000; a b.html" per line; "." and ".." (cdir, pdir) left out.
std::vector<RemoteEntry> ParseMlsd(std::string_view text);
// "-rw-r--r-- 1 anna web 12 Jan  1 12:00 a b.html" or "01-01-26  12:00PM  <DIR>  pics";
// "total" lines, "." and ".." left out, a link's " -> target" cut off.
std::vector<RemoteEntry> ParseList(std::string_view text);
