// Rows of the dispatch tables for this subsystem.
#include "app/commands.h"
#include "documents/system_colors_dialog.h"

namespace {

const CommandRow kMenu[] = {{303, SystemColorsCommand, true}};
const CommandRow kKeys[] = {{4010, SystemColorsCommand, true}};

}  // namespace

CommandFragment ColourCommands() { return {kMenu, kKeys}; }
