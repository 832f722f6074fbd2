// The Recent Files submenu of File: the last ten documents opened or saved, newest first,
// kept in Recent.ini in the settings folder (one path a line), apart from Verosta.ini.
#pragma once
#include <string>
#include <vector>

#include "core/command_ids.h"

struct App;

inline constexpr int kRecentFileCount = 10;
// The entries' menu items, newest first.
inline constexpr Cmd kRecentFileItems[kRecentFileCount] = {Cmd::RecentFile1, Cmd::RecentFile2, Cmd::RecentFile3,
                                                           Cmd::RecentFile4, Cmd::RecentFile5, Cmd::RecentFile6,
                                                           Cmd::RecentFile7, Cmd::RecentFile8, Cmd::RecentFile9,
                                                           Cmd::RecentFile10};
inline constexpr const char* kRecentFilesName = "Recent.ini";

// The paths of a Recent.ini text: one a line, blank lines skipped, at most ten.
std::vector<std::string> ParseRecentFiles(const std::string& bytes);
// The file text for a list: each path followed by CR LF.
std::string RecentFilesText(const std::vector<std::string>& paths);
// `path` moved (or added) to the front, the oldest dropped beyond ten.
std::vector<std::string> WithRecentFile(std::vector<std::string> paths, const std::string& path);
// The list from Recent.ini in the configuration folder (empty when there is none).
std::vector<std::string> LoadRecentFiles(const App& app);

// Records a file opened or saved: Recent.ini is rewritten and the submenu follows.
void NoteRecentFile(App& app, const std::string& path);
// Shows the list in the submenu: "&1 path" ..., unused entries hidden.
void RefreshRecentMenu(App& app);
// Opens entry `index` (0-based); a file that is gone is said so and leaves the list.
void OpenRecentFile(App& app, int index);
