// Build Site: every page of the active program's site made by the translator in one run,
// with progress and Cancel, the whole site's messages in the Page messages dock; and Build
// on save, which does the same after the user saves a program of a site.
#pragma once
#include <string>

struct App;

// How far a "[DONE/TOTAL] PROGRAM" progress line of the translator's site build is, in
// percent; -1 for any other line.
int SiteBuildPercent(const std::string& line);

// Builds the site in `folder` (only what changed since its last build) and shows its
// messages. False with `problem` set to one line when it did not finish or a page failed.
bool BuildSiteIn(App& app, const std::string& folder, std::string& problem);

// The Build Site command: the site of the active program (saved first), else a folder the
// user picks.
void BuildSiteCommand(App& app);
// The Build on Save command: turns rebuilding on save on or off.
void ToggleBuildOnSave(App& app);
// After a save: rebuilds the program's site when Build on save is on and the program lies
// in a site (a folder at or above it holds a site file).
void BuildOnSave(App& app, const std::string& savedPath);
