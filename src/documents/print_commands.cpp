// Print, Print Selected and Print All. The text goes from memory to the printer;
// no scratch files are written.
#include "documents/application.h"
#include "core/command_rows.h"
#include "documents/shell_events.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/printing.h"

namespace {

void Print(App& app) {
  FeedbackIfOn(app);
  if (!FindActiveDocument(app)) return;
  if (!app.currentPath.empty()) SaveActiveDocument(app);
  PrintPlanner planner(PrintFlagsOf(app.settings), core::FileNameOf(app.currentPath));
  planner.Document(EditorText(app.activeEditor));
  RunPrintJob(app, planner.Plan());
}

void PrintSelected(App& app) {
  FeedbackIfOn(app);
  // Taken from the editor directly: the clipboard stays untouched, and an empty
  // selection prints nothing rather than whatever the clipboard held.
  PrintPlanner planner(PrintFlagsOf(app.settings), core::FileNameOf(app.currentPath));
  planner.PlainText(SelectedText(app.activeEditor));
  RunPrintJob(app, planner.Plan());
}

void PrintAll(App& app) {
  SaveAllDocuments(app);
  SaveSettings(app);
  std::string config;
  core::ReadFileBytes(ConfigFile(app, "Verosta.ini"), config);
  PrintPlanner planner(PrintFlagsOf(app.settings), core::FileNameOf(app.currentPath));
  for (const std::string& path : ListedFilePaths(config)) {
    std::string bytes;
    bool readable = core::ReadFileBytes(path, bytes);
    planner.ListedFile(path, readable, bytes);
  }
  RunPrintJob(app, planner.Plan());
}

const CommandRow kRows[] = {
    {Cmd::Print,
     "&Print...\tCtrl+P",
     Print,
     Then::Stay,
     {Accel::Print, "Ctrl+P"},
     {ButtonId::Print, "150.svg", "Print Text (Ctrl+P)"}},
    {Cmd::PrintAll, "Print All...", PrintAll},
    {Cmd::PrintSelected, "Print Selected\tAlt+O", PrintSelected, Then::Stay, {Accel::PrintSelected, "Alt+O"}},
};

}  // namespace

std::span<const CommandRow> PrintCommands() { return kRows; }
