#include "publish/server_trust.h"

#include "core/files.h"
#include "core/text.h"
#include "publish/ftp_profiles.h"

std::map<std::string, std::string> ReadTrust(std::string_view bytes) {
  std::map<std::string, std::string> trusted;
  for (const std::string& line : core::SplitLines(bytes)) {
    std::string value;
    if (!core::MatchKey(line, "Trust ", value)) continue;
    value = core::Trim(value);
    std::size_t blank = value.find(' ');
    if (blank == std::string::npos) continue;
    std::string key = core::Trim(value.substr(blank + 1));
    if (!key.empty()) trusted[value.substr(0, blank)] = key;
  }
  return trusted;
}

std::string WriteTrust(const std::map<std::string, std::string>& trusted) {
  std::string bytes;
  for (const auto& [server, key] : trusted) bytes += "Trust " + server + " " + key + "\r\n";
  return bytes;
}

std::string TrustedKeyFor(const std::string& trustFile, const std::string& server) {
  std::string bytes;
  if (!core::ReadFileBytes(trustFile, bytes)) return std::string();
  auto trusted = ReadTrust(bytes);
  auto it = trusted.find(server);
  return it == trusted.end() ? std::string() : it->second;
}

bool RememberTrust(const std::string& trustFile, const std::string& server, const std::string& key) {
  std::string bytes;
  core::ReadFileBytes(trustFile, bytes);
  auto trusted = ReadTrust(bytes);
  trusted[server] = key;
  return WriteProfileFile(trustFile, WriteTrust(trusted));
}
