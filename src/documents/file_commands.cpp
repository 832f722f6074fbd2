// The file commands' rows of the command registry.
#include "documents/application.h"
#include "core/command_rows.h"
#include "documents/document_table.h"

namespace {

void NewProgram(App& app) { NewProgramCommand(app); }
void Open(App& app) { OpenCommand(app); }
void Close(App& app) {
  app.activeEditor = CloseActiveDocument(app);
  FindActiveDocument(app);  // the editor of the tab that is selected now
}
void CloseAll(App& app) { CloseAllDocuments(app); }
void Save(App& app) {
  if (SaveCommand(app) && app.programSaved) app.programSaved(app.currentPath);
}
void SaveAs(App& app) {
  if (SaveActiveDocumentAs(app) && app.programSaved) app.programSaved(app.currentPath);
}
void SaveAll(App& app) { SaveAllDocuments(app); }
void DeleteFile(App& app) {
  DeleteFileWithDialog(app, "Delete File", "", {{"Program Files (*.web)", "*.web"}, {"All Files (*.*)", "*.*"}}, "",
                       "web");
}
void FileAssociations(App& app) { FileAssociationsCommand(app); }

const CommandRow kRows[] = {
    {Cmd::NewProgram,
     "&New Program...                  \tCtrl+N",
     NewProgram,
     Then::Focus,
     {Accel::NewProgram, "Ctrl+N"},
     {ButtonId::NewProgram, "100.svg", "New Program (Ctrl+N)"}},
    {Cmd::Open,
     "&Open...\tCtrl+O",
     Open,
     Then::Stay,
     {Accel::Open, "Ctrl+O"},
     {ButtonId::Open, "120.svg", "Open Program (Ctrl+O)"}},
    {Cmd::Close,
     "Close\tCtrl+Q",
     Close,
     Then::Stay,
     {Accel::Close, "Ctrl+Q"},
     {ButtonId::Close, "311.svg", "Close (Ctrl+Q)"}},
    {Cmd::CloseAll, "Close All", CloseAll},
    {Cmd::Save,
     "&Save\tCtrl+S",
     Save,
     Then::Stay,
     {Accel::Save, "Ctrl+S"},
     {ButtonId::Save, "140.svg", "Save Program (Ctrl+S)"}},
    {Cmd::SaveAs, "Save &As...\tCtrl+A", SaveAs, Then::Stay, {Accel::SaveAs, "Ctrl+A"}},
    {Cmd::SaveAll, "Save All", SaveAll},
    {Cmd::DeleteFile, "Delete File...", DeleteFile},
    {Cmd::FileAssociations,
     "File Associations...\tAlt+C",
     FileAssociations,
     Then::Focus,
     {Accel::FileAssociations, "Alt+C"}},
};

}  // namespace

std::span<const CommandRow> FileCommands() { return kRows; }
