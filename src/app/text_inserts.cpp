// The one-line inserts of the Format, Html and Style menus.
#include "app/commands.h"

CommandFragment TextInsertCommands() { return {}; }
