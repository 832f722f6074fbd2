// Open, Save, Save As, Close with its questions, Close All and Delete File.
#include <unistd.h>

#include <QDir>
#include <QTabWidget>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/file_stamp.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/disk_changes.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "platform/platform.h"

namespace {

// Writes a document's bytes. A read-only file is refused, as it would be when opened for
// writing, even though the rename of the atomic write could replace it.
bool WriteDocumentBytes(const std::string& path, std::string_view bytes) {
  // A link is written through to its target, also when that target does not exist yet.
  std::string target = core::ResolveWriteTarget(path);
  if (core::FileExists(target) && ::access(target.c_str(), W_OK) != 0) return false;
  return core::WriteFileAtomically(target, bytes);
}

void WriteBackup(App& app, const std::string& path, std::string_view bytes) {
  if (app.settings.backupFile != 1) return;
  // The document is safe, but an old backup left in place would pass for a current one.
  const std::string backup = BackupPathFor(path);
  if (!WriteDocumentBytes(backup, bytes)) app.platform.Message(kBackupFailedText + ("\r" + backup), MsgIcon::Warning);
}

Document* ActiveDocument(App& app) {
  if (app.activeSlot < 1 || app.activeSlot > kMaxDocuments) return nullptr;
  Document& d = app.docs[app.activeSlot];
  return d.page ? &d : nullptr;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> DocumentTypeFilters(const Settings& s) {
  const struct {
    int flag;
    const char* label;
    const char* pattern;
  } rows[] = {
      {s.webFiles, "Program Files (*.web)", "*.web"}, {s.bakFiles, "Backup Files (*.bak)", "*.bak"},
      {s.htmlFiles, "HTML Files (*.html)", "*.html"}, {s.xhtmlFiles, "XHTML Files (*.xhtml)", "*.xhtml"},
      {s.cssFiles, "CSS Files (*.css)", "*.css"},     {s.jsFiles, "JavaScript Files (*.js)", "*.js"},
      {s.javaFiles, "Java Files (*.java)", "*.java"}, {s.plainFiles, "Plain Text Files (*.txt)", "*.txt"},
      {s.wordFiles, "Word Files (*.doc)", "*.doc"},   {s.allFiles, "All Files (*.*)", "*.*"},
  };
  std::vector<std::pair<std::string, std::string>> filters;
  for (const auto& r : rows)
    if (r.flag == 1) filters.emplace_back(r.label, r.pattern);
  return filters;
}

std::string BackupPathFor(const std::string& path) {
  // Restore Backup looks for page.bak beside page.web; other types keep their whole name.
  if (core::EqualsNoCase(core::ExtensionOf(path), "web")) return path.substr(0, path.size() - 3) + "bak";
  return path + ".bak";
}

std::string DeleteIniText(const std::string& path) { return "File name " + core::LineValue(path) + "\r\n"; }

bool SaveActiveDocument(App& app) {
  Document* d = ActiveDocument(app);
  if (app.currentPath.empty() || !d) return false;
  if (SamePath(d->path, app.currentPath) && !ConfirmSaveOverDiskChange(app, app.activeSlot)) return false;
  // Written straight from the editor's buffer; nothing changes the text until the backup is done.
  std::string_view bytes = EditorBytes(d->editor);
  if (!WriteDocumentBytes(app.currentPath, bytes)) {
    app.platform.Message(kSaveFailedText, MsgIcon::Warning);
    return false;
  }
  // Only bytes that are on disk count as saved.
  MarkDocumentSaved(app, app.activeSlot);
  // Renamed, or lower-cased for upload; a first save keeps the name its tab already shows.
  const bool moved = !d->path.empty() && d->path != app.currentPath;
  d->path = app.currentPath;
  RememberDiskState(app, app.activeSlot, core::StampOf(d->path), bytes);
  if (moved) ShowDocumentPath(app, app.activeSlot);
  WriteBackup(app, app.currentPath, bytes);
  if (app.fileUsed) app.fileUsed(app.currentPath);
  return true;
}

bool SaveActiveDocumentAs(App& app) {
  app.previousPath = app.currentPath;
  FindActiveDocument(app);
  FeedbackIfOn(app);
  Document* d = ActiveDocument(app);
  if (!d) return false;
  FileDialogSpec fileDialog;
  fileDialog.title = "Save As";
  fileDialog.filters = DocumentTypeFilters(app.settings);
  fileDialog.startName = core::Trim(d->path).empty() ? d->tabName : d->path;
  fileDialog.defaultExtension = "web";
  fileDialog.askOverwrite = app.settings.existingFile == 1;
  std::string chosen;
  if (!app.platform.SaveFile(fileDialog, chosen) || chosen.empty()) {
    app.currentPath = app.previousPath;
    return false;
  }
  std::string_view bytes = EditorBytes(d->editor);
  if (!WriteDocumentBytes(chosen, bytes)) {
    app.platform.Message(kSaveFailedText, MsgIcon::Warning);
    app.currentPath = app.previousPath;
    return false;
  }
  WriteBackup(app, chosen, bytes);
  app.currentPath = chosen;
  MarkDocumentSaved(app, app.activeSlot);
  d->path = chosen;
  RememberDiskState(app, app.activeSlot, core::StampOf(chosen), bytes);
  d->tabName = core::FileNameOf(chosen);
  if (QTabWidget* tabs = TabStrip(app)) tabs->setTabText(tabs->indexOf(d->page), QString::fromUtf8(d->tabName.c_str()));
  UpdateTitle(app);
  if (app.fileUsed) app.fileUsed(chosen);
  return true;
}

bool SaveCommand(App& app) {
  FindActiveDocument(app);
  return app.currentPath.empty() ? SaveActiveDocumentAs(app) : SaveActiveDocument(app);
}

void OpenCommand(App& app) {
  app.previousPath = app.currentPath;
  FeedbackIfOn(app);
  FileDialogSpec fileDialog;
  fileDialog.title = "Open";
  fileDialog.filters = DocumentTypeFilters(app.settings);
  fileDialog.defaultExtension = "web";
  std::vector<std::string> paths;
  if (app.platform.OpenFile(fileDialog, paths) && !paths.empty() && core::FileExists(paths[0])) {
    app.currentPath = paths[0];
    if (!IsDocumentOpen(app, app.currentPath) && DocumentCount(app) == kMaxDocuments) ReportTabsFull(app);
    OpenDocumentTab(app, app.currentPath, app.currentPath);
  } else {
    app.currentPath = app.previousPath;
  }
}

bool ConfirmSaveBeforeClose(App& app, bool strict) {
  Document* d = ActiveDocument(app);
  if (!d) return true;
  bool unsaved = !SamePath(d->path, app.currentPath) || DocumentTextChanged(app, app.activeSlot);
  if (!unsaved) return true;
  if (app.platform.Message(kNotSavedQuestion, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) return !strict;
  // A failed save must not let the document go as if it were saved.
  if (SamePath(app.currentPath, app.previousPath) && core::IsAbsolutePath(app.currentPath))
    return SaveActiveDocument(app);
  return SaveActiveDocumentAs(app);
}

QsciScintilla* CloseActiveDocument(App& app) {
  if (!FindActiveDocument(app)) return app.activeEditor;
  if (!ConfirmSaveBeforeClose(app, false) &&
      app.platform.Message(kCloseAnywayQuestion, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes) {
    FindActiveDocument(app);
    return app.activeEditor;
  }
  return CloseActiveDocumentQuietly(app);
}

void CloseAllDocuments(App& app) {
  if (AnyDocumentModified(app) &&
      app.platform.Message(kCloseAllQuestion, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes &&
      !SaveAllDocuments(app)) {
    return;  // what could not be saved stays open
  }
  for (int n = DocumentCount(app); n > 0; --n) app.activeEditor = CloseActiveDocumentQuietly(app);
}

bool DeleteFileWithDialog(App& app, const std::string& title, const std::string& folder,
                          const std::vector<std::pair<std::string, std::string>>& filters, const std::string& startName,
                          const std::string& defaultExtension) {
  FeedbackIfOn(app);
  FileDialogSpec fileDialog;
  fileDialog.title = title;
  fileDialog.folder = folder;
  fileDialog.filters = filters;
  fileDialog.startName = startName;
  fileDialog.defaultExtension = defaultExtension;
  std::vector<std::string> paths;
  if (!app.platform.OpenFile(fileDialog, paths) || paths.empty()) return false;
  const std::string path = paths[0];
  if (!core::FileExists(path)) return false;
  if (app.settings.recycleBin == 1) {
    std::string cwd = QDir::currentPath().toStdString();
    if (core::WriteFileAtomically(core::JoinPath(cwd, "delete.ini"), DeleteIniText(path)))
      app.platform.RunAndWait(ProgramFile(app, "Delete"), {}, cwd);
  }
  if (app.settings.deleteFile == 1 && core::FileExists(path) &&
      app.platform.Message("Permanently delete file.\r" + path, MsgIcon::Warning, MsgButtons::OkCancel) ==
          MsgAnswer::Ok) {
    core::RemoveFile(path);
  }
  return !core::FileExists(path);
}
