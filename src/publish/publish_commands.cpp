// This subsystem's rows of the command registry.
#include "app/commands.h"
#include "publish/publish_dialog.h"
#include "publish/site_publish.h"

namespace {
const CommandRow kRows[] = {
    {Cmd::Publish, "P&ublish...\t\tCtrl+U", ShowPublishDialog, Then::Focus, {Accel::Publish, "Ctrl+U"}},
    {Cmd::PublishSite, "Publish &Site...", PublishSite, Then::Focus, {}},
};

}  // namespace

std::span<const CommandRow> PublishCommands() { return kRows; }
