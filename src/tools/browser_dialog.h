// The Create Web Page dialog: five browser rows, one of them chosen, and an Ok that
// makes the page and shows it while the dialog stays open.
#pragma once
#include <functional>
#include <string>
#include <vector>

struct App;
struct Settings;

struct BrowserRow {
  const char* name;  // "Firefox"
  int checkId, pathId, browseId;
  const char* browseTitle;     // "Locate Firefox"
  const char* missingMessage;  // shown when the path names no file
  std::string Settings::*path;
  int Settings::*check;
};

inline constexpr int kBrowserCount = 5;
// Explorer, Firefox, Safari, Chrome, Opera, in the dialog's order.
const BrowserRow* BrowserRows();

// The browsers act as one choice: `row` gets 1, every other 0.
void ChooseBrowser(Settings& settings, int row);

// The program names a row's browser goes by on this system, most likely first.
std::vector<std::string> BrowserProgramNames(int row);
// The executable `name` in the folders of `pathList` (a PATH value), "" when none.
std::string FindOnPath(const std::string& name, const std::string& pathList);
// The first of the row's program names that `which` finds, "" when none.
std::string LookUpBrowser(int row, const std::function<std::string(const std::string&)>& which);
// The row's browser found on PATH, "" when none.
std::string SystemBrowser(int row);
// The program a row starts: its path box, or when that is empty the browser found on PATH.
std::string BrowserProgram(const Settings& settings, int row);

// Ok: stores the paths, makes the page and starts each chosen browser on it.
void CreateWebPageOk(App& app, const std::string (&paths)[kBrowserCount]);

void RunCreateWebPageDialog(App& app);
