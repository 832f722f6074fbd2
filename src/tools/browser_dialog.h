// The Create Web Page dialog: five browser rows, one of them chosen, and an Ok that
// makes the page and shows it while the dialog stays open.
#pragma once
#include <string>

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

// Ok: stores the paths, makes the page and starts each chosen browser on it.
void CreateWebPageOk(App& app, const std::string (&paths)[kBrowserCount]);

void RunCreateWebPageDialog(App& app);
