// The configuration folder: the editor's settings, FTP profiles and trusted keys, publish
// manifests and sessions, kept apart from the user's sites so that none of them can become
// part of a page or an upload. Older copies kept these files in the Verosta folder or the
// program folder; they move over once.
#pragma once
#include <set>
#include <string>
#include <vector>

namespace home {

inline constexpr const char* kConfigHomeVariable = "XDG_CONFIG_HOME";
// Saved FTP profiles have a folder of their own, so that no name the user gives one can be
// that of a settings file.
inline constexpr const char* kProfilesFolder = "Profiles";
inline constexpr const char* kSessionsFolder = "Sessions";

// `verosta` in $XDG_CONFIG_HOME (an absolute path; else ~/.config); a portable copy keeps it
// in `config` in its program folder.
std::string ChooseConfigFolder(const std::string& configHome, const std::string& userHome, bool portable,
                               const std::string& programFolder);

// A file of the configuration as an older copy kept it (relative, "/"): Verosta.ini,
// FtpProjs.ini, FtpTrust.ini, Recent.ini, FtpProjs-*.manifest, Sessions/...
bool IsConfigurationFile(const std::string& rel);

// One file to move into the configuration folder (relative names).
struct MoveStep {
  std::string from, to;
};

// What moves from a folder of the older layout: the configuration files among `files`, and
// the saved FTP profiles among them (`profiles`: .ini files holding a password line), which
// go into Profiles/.
std::vector<MoveStep> PlanConfigMoves(const std::vector<std::string>& files, const std::set<std::string>& profiles);

// Moves a file, never over an existing one: a rename, or across file systems a copy that
// keeps the mode, is synced and compared, and then the old file removed. The file is then
// in one place only; on failure it stays where it was and `error` says why.
bool MoveFileKeepingMode(const std::string& from, const std::string& to, std::string* error = nullptr);

// What the one-time hand-over did, for the one message that tells the user.
struct Handover {
  std::vector<std::string> moved;   // old full paths, now in the configuration folder
  std::vector<std::string> kept;    // old full paths left alone: the configuration folder holds that file
  std::vector<std::string> failed;  // old full paths that could not be moved, with the reason
  std::vector<std::string> copied;  // relative: copied from an older copy's program folder
  std::string problem;              // a folder that could not be made
};

// The one message ("" when there is nothing to tell).
std::string HandoverMessage(const Handover& h, const std::string& programFolder, const std::string& verostaFolder,
                            const std::string& configFolder);

}  // namespace home
