// The toolbar's button order, its tip texts and Select Color; the status bar's parts.
#pragma once
#include <span>
#include <string>

#include "core/command_ids.h"

struct App;

// Left to right; ButtonId::None marks a separator.
std::span<const ButtonId> ToolbarLayout();
// The tip for a button, or "" while tool tips are off in the settings.
std::string ToolbarTip(const App& app, ButtonId id);
// Picks a colour and inserts it as "#RRGGBB" at the caret.
void SelectColor(App& app);

// The text shown in status bar part 1 to 4 ("" when there is no status bar).
std::string StatusBarPart(App& app, int part);
