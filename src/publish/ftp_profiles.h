// The in-memory FTP profile table (32 profiles, searched by the Publish command) and
// the profile files: FtpProjs.ini and single profiles saved by the user.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

struct PublishFields;

constexpr int kMaxProfiles = 32;
constexpr std::size_t kProgramNameLength = 32;
constexpr std::size_t kPasswordLength = 32;
constexpr std::size_t kHostNameLength = 128;
constexpr std::size_t kUserIdLength = 64;
constexpr std::size_t kDomainNameLength = 64;

// Every field holds exactly its fixed length: the text, cut or filled with spaces.
struct FtpProfile {
  std::string programName, password, hostName, userId, domainName;
};

struct FtpProfileTable {
  FtpProfile entries[kMaxProfiles + 1];  // 1..32 used
};

// `text` cut to `length` bytes or filled with spaces up to it.
std::string FixedField(std::string_view text, std::size_t length);
// An entry is free when its program name is empty apart from spaces and NULs.
bool IsFreeProfile(const FtpProfile& profile);
// The first used entry whose program name matches `name` (letter case and surrounding
// spaces ignored); 0 when none.
int FindProfileByName(const FtpProfileTable& table, std::string_view name);
// Stores the values in the entry of that program name, or else in the first free entry.
// Returns the entry number, or 0 when the table is full.
int StoreProfile(FtpProfileTable& table, std::string_view programName, std::string_view hostName,
                 std::string_view userId, std::string_view password, std::string_view domainName);

// The two layouts: the Publish button writes all six fields as typed; the Save button
// five fields (no remote folder) with surrounding spaces removed.
std::string PublishLayout(const PublishFields& fields);
std::string SaveLayout(const PublishFields& fields);
// Writes a profile file safely; a file made here is readable by its owner only.
bool WriteProfileFile(const std::string& path, const std::string& bytes);
// Reads a profile file into the fields; false (nothing changed) when it cannot be read.
bool ReadProfileFile(const std::string& path, PublishFields& fields);
