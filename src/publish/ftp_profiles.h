// The in-memory FTP profile table: 32 profiles, searched by the Publish command.
#pragma once
#include <string>

struct FtpProfile {
  std::string programName, remoteFolder, domainName, hostName, userId, password;
};

struct FtpProfileTable {
  FtpProfile entries[33];  // 1..32 used
};
