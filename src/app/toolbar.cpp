// The toolbar and the status bar.
#include <QStatusBar>
#include <QToolBar>

#include "app/application.h"
#include "app/commands.h"
#include "app/shell.h"

void BuildToolbar(App&, QToolBar*) {}
void BuildStatusBar(App&, QStatusBar*) {}
void RefreshStatusBar(App&) {}

CommandFragment ToolbarCommands() { return {}; }
