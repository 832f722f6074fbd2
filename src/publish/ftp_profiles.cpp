#include "publish/ftp_profiles.h"

#include <sys/stat.h>

#include "documents/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"

std::string FixedField(std::string_view text, std::size_t length) {
  std::string field(text.substr(0, length));
  field.resize(length, ' ');
  return field;
}

static std::string TrimSpaceAndNul(std::string_view s) {
  std::size_t first = s.find_first_not_of(std::string_view(" \0", 2));
  if (first == std::string_view::npos) return std::string();
  std::size_t last = s.find_last_not_of(std::string_view(" \0", 2));
  return std::string(s.substr(first, last - first + 1));
}

bool IsFreeProfile(const FtpProfile& profile) { return TrimSpaceAndNul(profile.programName).empty(); }

int FindProfileByName(const FtpProfileTable& table, std::string_view name) {
  std::string wanted = core::ToLower(core::Trim(name));
  for (int n = 1; n <= kMaxProfiles; ++n) {
    const FtpProfile& p = table.entries[n];
    if (!IsFreeProfile(p) && core::ToLower(core::Trim(p.programName)) == wanted) return n;
  }
  return 0;
}

int StoreProfile(FtpProfileTable& table, std::string_view programName, std::string_view hostName,
                 std::string_view userId, std::string_view password, std::string_view domainName) {
  // Compared as it will be stored, so a long name finds its own entry again.
  std::string stored = FixedField(programName, kProgramNameLength);
  int slot = FindProfileByName(table, stored);
  for (int n = 1; slot == 0 && n <= kMaxProfiles; ++n)
    if (IsFreeProfile(table.entries[n])) slot = n;
  if (slot == 0) return 0;
  FtpProfile& p = table.entries[slot];
  p.programName = stored;
  p.hostName = FixedField(hostName, kHostNameLength);
  p.userId = FixedField(userId, kUserIdLength);
  p.password = FixedField(password, kPasswordLength);
  p.domainName = FixedField(domainName, kDomainNameLength);
  return slot;
}

std::string PublishLayout(const PublishFields& f) {
  using core::LineValue;
  return "Program name " + LineValue(f.programName) + "\r\n" + "Remote folder " + LineValue(f.remoteFolder) + "\r\n" +
         "Domain name " + LineValue(f.domainName) + "\r\n" + "Host name " + LineValue(f.hostName) + "\r\n" +
         "User id " + LineValue(f.userId) + "\r\n" + "Password " + LineValue(f.password) + "\r\n";
}

std::string SaveLayout(const PublishFields& f) {
  auto value = [](const std::string& v) { return core::Trim(core::LineValue(v)); };
  return "Domain name " + value(f.domainName) + "\r\n" + "Program name " + value(f.programName) + "\r\n" +
         "Host name " + value(f.hostName) + "\r\n" + "User id " + value(f.userId) + "\r\n" + "Password " +
         value(f.password) + "\r\n";
}

bool WriteProfileFile(const std::string& path, const std::string& bytes) {
  // The file holds a password: an existing file made readable by others (by an older
  // version, a copy, a umask) is closed first, since the new file takes over its mode.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && (info.st_mode & 077) != 0) ::chmod(path.c_str(), 0600);
  return core::WriteFileAtomically(path, bytes, nullptr, 0600);
}

bool ReadProfileFile(const std::string& path, PublishFields& fields) {
  std::string bytes;
  if (!core::ReadFileBytes(path, bytes)) return false;
  ReadPublishFields(bytes, fields);
  return true;
}
