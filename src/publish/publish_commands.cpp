// Rows of the dispatch tables for this subsystem.
#include "app/commands.h"
#include "publish/publish_dialog.h"

namespace {
const CommandRow kMenuRows[] = {{902, ShowPublishDialog, true}};
const CommandRow kKeyRows[] = {{4057, ShowPublishDialog, true}};
}  // namespace

CommandFragment PublishCommands() { return {kMenuRows, kKeyRows}; }
