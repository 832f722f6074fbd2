// Servers the user chose to trust although their identity could not be verified: a
// certificate that does not chain to the system's trust store (FTPS), or an SSH host key
// (SFTP). Kept in FtpTrust.ini beside FtpProjs.ini, one line per server:
//   "Trust ftps://example.org:21 sha256//BASE64"   the certificate's public key
//   "Trust sftp://example.org:22 SHA256:BASE64"    the host key's fingerprint
#pragma once
#include <map>
#include <string>
#include <string_view>

inline constexpr const char* kTrustFile = "FtpTrust.ini";

// Server (as ServerName gives it) -> trusted key. A later line for the same server wins.
std::map<std::string, std::string> ReadTrust(std::string_view bytes);
std::string WriteTrust(const std::map<std::string, std::string>& trusted);

// The key trusted for `server` in the trust file at `trustFile` ("" when none).
std::string TrustedKeyFor(const std::string& trustFile, const std::string& server);
// Adds or replaces the server's key; the file is written whole (0600). False on failure.
bool RememberTrust(const std::string& trustFile, const std::string& server, const std::string& key);
