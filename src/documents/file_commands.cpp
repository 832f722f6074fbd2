// Rows of the dispatch tables for this subsystem.
#include "app/commands.h"

CommandFragment FileCommands() { return {}; }
