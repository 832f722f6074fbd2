// The toolbar's buttons as data, its tip texts and Select Color; the status bar's parts.
#pragma once
#include <span>
#include <string>

struct App;

struct ToolButton {
  int id;            // 0 marks a separator
  const char* icon;  // file name under res/icons/
  const char* tip;
  int command;       // menu command the button runs, 0 when it has its own action
};

// Left to right, separators included.
std::span<const ToolButton> ToolbarButtons();
// The tip for a button, or "" while tool tips are off in the settings.
std::string ToolbarTip(const App& app, int id);
// Picks a colour and inserts it as "#RRGGBB" at the caret.
void SelectColor(App& app);

// The text shown in status bar part 1 to 4 ("" when there is no status bar).
std::string StatusBarPart(App& app, int part);
