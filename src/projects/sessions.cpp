#include "projects/sessions.h"

#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "documents/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "platform/config_folder.h"
#include "platform/platform.h"

namespace {

const char kUntitled[] = "Untitled.web";

std::vector<std::pair<std::string, std::string>> SessionFilters() {
  return {{"Session Files (*.xml)", "*.xml"}, {"All Files (*.*)", "*.*"}};
}

std::string CurrentFolder() {
  std::error_code ec;
  std::string folder = std::filesystem::current_path(ec).string();
  return ec ? std::string() : folder;
}

// Makes the tab that shows `page` the active one.
void ActivatePage(App& app, QWidget* page) {
  QTabWidget* tabs = TabStrip(app);
  if (!tabs || !page) return;
  int index = tabs->indexOf(page);
  if (index >= 0) ActivateTab(app, index + 1);
}

// The empty tab the document table leaves behind when its last document closes.
QWidget* EmptyUntitledPage(App& app) {
  for (int s = 1; s <= kMaxDocuments; ++s) {
    const Document& d = app.docs[s];
    if (d.page && d.path.empty() && d.tabName == kUntitled && EditorLength(d.editor) == 0) return d.page;
  }
  return nullptr;
}

// True when a tab holds text that is on no disk; an empty tab without a file holds nothing.
bool UnsavedWorkRemains(App& app) {
  for (int s = 1; s <= kMaxDocuments; ++s) {
    const Document& d = app.docs[s];
    if (d.page && IsDocumentModified(app, s) && !(d.path.empty() && EditorLength(d.editor) == 0)) return true;
  }
  return false;
}

FileDialogSpec SessionDialog(const App& app, const std::string& title) {
  FileDialogSpec fileDialog;
  fileDialog.title = title;
  fileDialog.folder = ConfigFile(app, home::kSessionsFolder);
  fileDialog.filters = SessionFilters();
  fileDialog.defaultExtension = "xml";
  return fileDialog;
}

}  // namespace

std::string SessionFileLines(const std::vector<std::string>& slotPaths) {
  std::string out;
  for (int slot = 1; slot <= kMaxDocuments; ++slot) {
    char key[16];
    std::snprintf(key, sizeof key, "File%03d ", slot);
    out += key;
    if (static_cast<size_t>(slot - 1) < slotPaths.size()) out += core::Trim(core::LineValue(slotPaths[slot - 1]));
    out += "\r\n";
  }
  return out;
}

std::string WriteSessionFile(const std::string& fileName, const std::vector<std::string>& slotPaths) {
  return "Project files for " + core::LineValue(fileName) + "\r\n\r\n" + SessionFileLines(slotPaths);
}

std::vector<std::string> ReadSessionPaths(const std::string& fileBytes) {
  std::vector<std::string> paths;
  for (const std::string& line : core::SplitLines(fileBytes)) {
    if (!core::StartsWith(line, "File")) continue;
    // The path starts after "File" and its three digits; the digits are not checked.
    std::string path = line.size() > 7 ? core::Trim(std::string_view(line).substr(7)) : std::string();
    if (!path.empty()) paths.push_back(path);
  }
  return paths;
}

bool HoldsSessionLines(const std::string& fileBytes) {
  for (const std::string& line : core::SplitLines(fileBytes))
    if (core::StartsWith(line, "File")) return true;
  return false;
}

std::vector<std::string> SlotPaths(const App& app) {
  std::vector<std::string> paths;
  for (int s = 1; s <= kMaxDocuments; ++s) paths.push_back(app.docs[s].page ? app.docs[s].path : std::string());
  return paths;
}

bool CopyFileIntoFolder(const std::string& source, const std::string& folder) {
  std::string bytes;
  if (source.empty() || folder.empty() || !core::FileExists(source) || !core::ReadFileBytes(source, bytes))
    return false;
  std::string target = core::JoinPath(folder, core::FileNameOf(source));
  std::error_code ec;
  if (std::filesystem::equivalent(source, target, ec)) return true;  // already there
  return core::WriteFileAtomically(target, bytes);
}

std::string FolderPrompt(const std::string& firstLine) {
  return firstLine + "\r" + "Current directory: " + CurrentFolder();
}

void SaveSession(App& app) {
  FeedbackIfOn(app);
  // Sessions are kept together in their own folder, which the dialog opens on.
  std::error_code ec;
  std::filesystem::create_directory(ConfigFile(app, home::kSessionsFolder), ec);
  FileDialogSpec fileDialog = SessionDialog(app, "Save Session");
  fileDialog.askOverwrite = app.settings.existingFile == 1;
  std::string path;
  if (!app.platform.SaveFile(fileDialog, path) || path.empty()) return;
  std::string error;
  if (!core::WriteFileAtomically(path, WriteSessionFile(core::FileNameOf(path), SlotPaths(app)), &error))
    app.platform.Message("The session file could not be written.\r" + error, MsgIcon::Warning);
}

void LoadSession(App& app) {
  if (AnyDocumentModified(app) &&
      app.platform.Message("One or more documents have not been saved, do you want to save them now?",
                           MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::Yes &&
      !SaveAllDocuments(app) && UnsavedWorkRemains(app))
    return;  // the user wanted it kept, and closing the tabs now would lose it
  FeedbackIfOn(app);
  std::vector<std::string> chosen;
  if (!app.platform.OpenFile(SessionDialog(app, "Load Session"), chosen) || chosen.empty()) return;
  std::string bytes, error;
  // An unreadable session file must not cost the user the tabs that are open now.
  if (!core::ReadFileBytes(chosen.front(), bytes, &error)) {
    app.platform.Message("The session file could not be read.\r" + error, MsgIcon::Warning);
    return;
  }
  if (!HoldsSessionLines(bytes)) {
    app.platform.Message("This is not a session file: it has no File001 to File032 lines. The open documents stay "
                         "as they are.\r" +
                             chosen.front(),
                         MsgIcon::Warning);
    return;
  }

  // Every tab goes, however many are open; the table then leaves its empty Untitled.web tab.
  for (int i = 0; i < kMaxDocuments && DocumentCount(app) > 0; ++i) {
    if (DocumentCount(app) == 1 && EmptyUntitledPage(app)) break;
    app.activeEditor = CloseActiveDocumentQuietly(app);
  }

  // The empty tab goes as soon as a session file stands in its place, leaving all 32 slots to the session.
  QWidget* untitled = EmptyUntitledPage(app);
  QWidget* lastOpened = nullptr;
  for (const std::string& path : ReadSessionPaths(bytes)) {
    if (DocumentCount(app) >= kMaxDocuments) break;
    if (!core::FileExists(path) || !OpenDocumentTab(app, path, path)) continue;
    lastOpened = app.docs[app.activeSlot].page;
    if (untitled) {
      ActivatePage(app, untitled);
      app.activeEditor = CloseActiveDocumentQuietly(app);
      untitled = nullptr;
    }
  }
  ActivatePage(app, lastOpened);
  FindActiveDocument(app);
}

void AddActiveFileToFolder(App& app) {
  FindActiveDocument(app);
  std::string folder;
  if (!app.platform.PickFolder(FolderPrompt("Select a folder to add active file."), folder)) return;
  CopyFileIntoFolder(app.currentPath, folder);
}

void AddAllOpenFilesToFolder(App& app) {
  FeedbackIfOn(app);
  std::string folder;
  if (!app.platform.PickFolder(FolderPrompt("Select a folder to add all open files."), folder)) return;
  for (const std::string& path : SlotPaths(app))
    if (!core::Trim(path).empty()) CopyFileIntoFolder(core::Trim(path), folder);
}

void CopyFileToFolder(App& app) {
  FeedbackIfOn(app);
  FileDialogSpec fileDialog;
  fileDialog.title = "Copy File";
  fileDialog.filters = {{"All Files (*.*)", "*.*"}};
  fileDialog.defaultExtension = "html";
  std::vector<std::string> chosen;
  if (!app.platform.OpenFile(fileDialog, chosen) || chosen.empty()) return;
  std::string folder;
  if (!app.platform.PickFolder(FolderPrompt("Select folder to copy file."), folder)) return;
  CopyFileIntoFolder(chosen.front(), folder);
}
