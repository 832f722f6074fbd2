// This subsystem's rows of the command registry: Live Preview and its three options.
#include <QMainWindow>

#include "app/commands.h"
#include "core/command_rows.h"
#include "core/text.h"
#include "documents/application.h"
#include "documents/document_table.h"
#include "documents/editor_style.h"
#include "documents/shell_events.h"
#include "platform/platform.h"
#include "preview/live_preview.h"
#include "tools/web_page.h"

namespace {

using preview::LivePreview;

// Starts the preview on the active document's page, or stops it when it runs.
void LivePreviewCommand(App& app) {
  if (LivePreview* running = preview::RunningPreview(app)) {
    delete running;
    SetMenuCheck(app, Cmd::LivePreview, false);
    return;
  }
  FindActiveDocument(app);
  QMainWindow* window = ShellWindow(app);
  if (app.currentPath.empty() || !window) {
    app.platform.Message(kProgramNotSavedMessage, MsgIcon::Warning);
    return;
  }
  if (preview::PreviewPageOf(app.currentPath).empty()) {
    app.platform.Message("Live Preview shows programs and HTML pages.\rPlease choose the tab of one.",
                         MsgIcon::Information);
    return;
  }
  bool program = core::EqualsNoCase(core::ExtensionOf(app.currentPath), "web");
  if (program ? !CreateWebPage(app) : !SaveActiveDocument(app)) return;
  auto* preview = new LivePreview(app, window);
  if (!preview->Show(app.currentPath)) {
    delete preview;
    return;
  }
  SetMenuCheck(app, Cmd::LivePreview, true);
}

void Toggle(App& app, int& flag, Cmd item) {
  flag = flag == 1 ? 0 : 1;
  SetMenuCheck(app, item, flag == 1);
  SaveSettings(app);
}
void ToggleFollow(App& app) { Toggle(app, app.settings.followActiveDocument, Cmd::FollowActiveDocument); }
void ToggleWhileTyping(App& app) { Toggle(app, app.settings.previewWhileTyping, Cmd::PreviewWhileTyping); }
// Takes effect at the next start of the preview: the address changes with it.
void ToggleOtherDevices(App& app) { Toggle(app, app.settings.previewOtherDevices, Cmd::PreviewOnOtherDevices); }

const CommandRow kRows[] = {
    {Cmd::LivePreview, "Live Preview\tF5", LivePreviewCommand, Then::Focus, {Accel::LivePreview, "F5"}},
    {Cmd::FollowActiveDocument, "Follow active document", ToggleFollow},
    {Cmd::PreviewWhileTyping, "Preview while typing", ToggleWhileTyping},
    {Cmd::PreviewOnOtherDevices, "Preview on other devices", ToggleOtherDevices},
};

}  // namespace

std::span<const CommandRow> PreviewCommands() { return kRows; }
