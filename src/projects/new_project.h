// New Project: a folder for a web site, with optional sub-folders and script files.
#pragma once
#include <string>

struct App;

// The fixed layout, with a site file naming the site after the project. Every step is tried; a step that fails (folder already there, missing
// location, missing script) is skipped, so an existing project gets what it lacks and
// fresh copies of the scripts. Nothing happens when `location` or `name` is empty.
// Scripts come from JavaScript/ of `programFolder`. Returns the project folder ("" when none).
std::string CreateProject(const std::string& location, const std::string& name, bool withSubFolders,
                          const std::string& programFolder);

// Makes `folder` a site by writing its site file (named after the folder); an existing one
// is kept. Returns what to tell the user.
std::string MakeSite(const std::string& folder);
// Site Folder: asks for a folder and makes it a site.
void SiteFolder(App& app);

// What New Project says when the project folder itself cannot be made.
std::string ProjectNotCreatedText(const std::string& project);

// The dialog's control ids (object names).
enum NewProjectId {
  kProjectLocationLabel = 10,
  kProjectLocation = 102,
  kProjectBrowse = 200,
  kProjectNameLabel = 300,
  kProjectName = 400,
  kProjectSubFolders = 120,
  kProjectHelp = 420,
  kProjectOk = 500,
  kProjectCancel = 2,
};
// The New Project dialog; Ok creates the project.
void NewProject(App& app);
