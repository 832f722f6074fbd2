// Rows of the dispatch tables for the file commands.
#include "app/application.h"
#include "app/commands.h"
#include "documents/document_table.h"

namespace {

void NewProgram(App& app) { NewProgramCommand(app); }
void Open(App& app) { OpenCommand(app); }
void Close(App& app) {
  app.activeEditor = CloseActiveDocument(app);
  FindActiveDocument(app);  // the editor of the tab that is selected now
}
void CloseAll(App& app) { CloseAllDocuments(app); }
void Save(App& app) { SaveCommand(app); }
void SaveAs(App& app) { SaveActiveDocumentAs(app); }
void SaveAll(App& app) { SaveAllDocuments(app); }
void DeleteFile(App& app) {
  DeleteFileWithDialog(app, "Delete File", "", {{"Program Files (*.web)", "*.web"}, {"All Files (*.*)", "*.*"}}, "",
                       "web");
}
void FileAssociations(App& app) { FileAssociationsCommand(app); }

const CommandRow kMenu[] = {
    {100, NewProgram, true}, {102, Open, false},   {123, Close, false},      {125, CloseAll, false},
    {105, Save, false},      {106, SaveAs, false}, {117, SaveAll, false},    {130, DeleteFile, false},
    {310, FileAssociations, true},
};

const CommandRow kKeys[] = {
    {4012, NewProgram, true}, {4013, Open, false},  {4016, Save, false},
    {4017, SaveAs, false},    {4022, FileAssociations, true}, {4290, Close, false},
};

}  // namespace

CommandFragment FileCommands() { return {kMenu, kKeys}; }
