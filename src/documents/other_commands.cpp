// Insert File, Save Selected, Restore Backup and Program Information.
#include <QFileInfo>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/text_commands.h"
#include "documents/text_transforms.h"
#include "platform/platform.h"

namespace {

using Sci = QsciScintillaBase;
using Filters = std::vector<std::pair<std::string, std::string>>;

const Filters kProgramFilters = {{"Program Files (*.web)", "*.web"}, {"All Files (*.*)", "*.*"}};
const Filters kLibraryFilters = {{"Library Files (*.lib)", "*.lib"}, {"All Files (*.*)", "*.*"}};
const Filters kDocumentFilters = {{"Document Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};

FileDialogSpec DialogFor(const std::string& title, const std::string& folder, const Filters& filters,
                         const std::string& extension) {
  FileDialogSpec fileDialog;
  fileDialog.title = title;
  fileDialog.folder = folder;
  fileDialog.filters = filters;
  fileDialog.defaultExtension = extension;
  return fileDialog;
}

bool Active(App& app) {
  FindActiveDocument(app);
  return app.activeEditor != nullptr;
}

// Reads a chosen file whole; a file that exists but cannot be read is reported.
bool ReadChosenFile(App& app, const std::string& path, std::string& bytes) {
  if (!core::FileExists(path)) return false;
  std::string error;
  if (core::ReadFileBytes(path, bytes, &error)) return true;
  app.platform.Message("The file could not be read:\r" + path, MsgIcon::Warning);
  return false;
}

void InsertFile(App& app, const FileDialogSpec& fileDialog) {
  if (!Active(app)) return;
  FeedbackIfOn(app);
  std::vector<std::string> paths;
  if (!app.platform.OpenFile(fileDialog, paths) || paths.empty()) return;
  std::string bytes;
  // The editor takes the text up to its first NUL byte, as for any inserted text.
  if (ReadChosenFile(app, paths.front(), bytes)) InsertTextAtCaret(app, bytes);
}

void SaveSelected(App& app, FileDialogSpec fileDialog) {
  if (!Active(app)) return;
  FeedbackIfOn(app);
  std::string selected = SelectedText(app.activeEditor);
  fileDialog.askOverwrite = app.settings.existingFile == 1;
  std::string path;
  if (!app.platform.SaveFile(fileDialog, path) || path.empty()) return;
  if (!core::WriteFileAtomically(path, selected))
    app.platform.Message("There was a problem saving this file. Please try saving in to another location.",
                         MsgIcon::Warning);
}

}  // namespace

void InsertProgramFileCommand(App& app) {
  InsertFile(app, DialogFor("Insert Program File", "", kProgramFilters, "web"));
}
void InsertLibraryFileCommand(App& app) {
  InsertFile(app, DialogFor("Insert Library File", "Library", kLibraryFilters, "lib"));
}
void InsertDocumentFileCommand(App& app) {
  InsertFile(app, DialogFor("Insert Document File", "Doc", kDocumentFilters, "txt"));
}

void SaveSelectedProgramCommand(App& app) { SaveSelected(app, DialogFor("Save Selected", "", kProgramFilters, "web")); }
void SaveSelectedLibraryCommand(App& app) {
  SaveSelected(app, DialogFor("Save Selected", "Library", kLibraryFilters, "lib"));
}
void SaveSelectedDocumentCommand(App& app) {
  SaveSelected(app, DialogFor("Save Selected", "Doc", kDocumentFilters, "txt"));
}

// The backup's text replaces the editor's; the slot keeps its own path and saved text,
// so the document counts as modified and Save writes it to the document's own file.
void RestoreBackupCommand(App& app) {
  if (!Active(app)) return;
  FeedbackIfOn(app);
  app.previousPath = app.currentPath;
  std::vector<std::string> paths;
  FileDialogSpec fileDialog =
      DialogFor("Restore Backup", "", {{"Backup Files (*.bak)", "*.bak"}, {"All Files (*.*)", "*.*"}}, "bak");
  std::string bytes;
  if (!app.platform.OpenFile(fileDialog, paths) || paths.empty() || !ReadChosenFile(app, paths.front(), bytes)) {
    app.currentPath = app.previousPath;
    return;
  }
  app.currentPath = paths.front();
  SetEditorText(app.activeEditor, bytes);
  SetEolModeFor(app.activeEditor, bytes);
  Send(app, Sci::SCI_EMPTYUNDOBUFFER);
  // The file itself still holds the text from before the restore.
  MarkDocumentModified(app, app.activeSlot);
  UpdateTitle(app);
}

void ProgramInfoCommand(App& app) {
  if (!Active(app)) return;
  FeedbackIfOn(app);
  long long words = CountWords(EditorBytes(app.activeEditor));
  if (!core::Trim(app.currentPath).empty()) SaveActiveDocument(app);
  const std::string& path = app.currentPath;
  if (path.empty() || !core::FileExists(path)) {
    app.platform.Message("File not found.\rPlease load a program file into the editor.", MsgIcon::Information);
    return;
  }
  long long size = QFileInfo(QString::fromUtf8(path.c_str())).size();
  app.platform.Message(ProgramInfoText(core::FileNameOf(path), size, core::FolderOf(path), words),
                       MsgIcon::Information);
}
