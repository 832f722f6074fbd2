// The table of open documents: 32 slots packed from slot 1, one tab each.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct App;
class QsciScintilla;
class QTabWidget;

QTabWidget* TabStrip(App& app);

// Makes the selected tab's document active (activeSlot, activeEditor, currentPath);
// returns its editor, or null when no slot matches.
QsciScintilla* FindActiveDocument(App& app);
// Opens `path` in a new tab named after `name`. False when the file is already open or
// all 32 slots are in use; callers that open one file at the user's request tell the
// user about the latter with ReportTabsFull.
bool OpenDocumentTab(App& app, const std::string& path, const std::string& name);
// True when `path` is open in a tab (outer spaces ignored).
bool IsDocumentOpen(const App& app, const std::string& path);
// True when two paths name the same file: the same text (outer spaces ignored), or two
// names of one existing file (a link, or another letter case on a case-blind file system).
bool SamePath(const std::string& a, const std::string& b);
// The information message for a 33rd document.
void ReportTabsFull(App& app);
// Opens a new tab named `name` holding `bytes`, with no path (templates, new documents);
// tells the user when all tabs are in use.
bool OpenUntitledTab(App& app, const std::string& name, const std::string& bytes);
// Number of open documents (occupied slots).
int DocumentCount(const App& app);
// Slot of the document shown at tab position `tab` (1-based), 0 when none.
int SlotOfTab(App& app, int tab);
// Selects tab position `tab` (1-based) and makes its document active.
void ActivateTab(App& app, int tab);

// After a document's path changed: its tab shows the new file name and, when it is the
// active one, the title and status bar the new path.
void ShowDocumentPath(App& app, int slot);

// Unsaved: no path, the file is gone, or the text changed since it was opened or saved
// (the editor's save point; undoing back to it counts as unchanged).
bool IsDocumentModified(App& app, int slot);
// Only the text's part of that: changed since the last open or save.
bool DocumentTextChanged(App& app, int slot);
// The text of `slot` is now what its file holds (after an open or a save).
void MarkDocumentSaved(App& app, int slot);
// The text of `slot` differs from its file although the editor may not show it (Restore Backup).
void MarkDocumentModified(App& app, int slot);
// Shows on the tab (and in the title when active) whether the text differs from its file.
void ShowModifiedMarker(App& app, int slot);
// True when the tab of `slot` carries the changed-document marker.
bool TabShowsModified(App& app, int slot);
// Empties the active editor's undo history; a modified document stays modified.
void EmptyUndoHistory(App& app);
bool AnyDocumentModified(App& app);
// Saves every modified document (Save As for those without an existing file); true when
// every one was written.
bool SaveAllDocuments(App& app);

// Closes the active tab without asking; returns the editor that becomes active.
QsciScintilla* CloseActiveDocumentQuietly(App& app);
// Close All: offers to save, then closes every tab (leaving the Untitled.web tab).
void CloseAllDocuments(App& app);

// File commands used across the program.
// Save: writes the active document to `currentPath` (and its backup); false on failure.
bool SaveActiveDocument(App& app);
// Save As dialog, then save under the chosen name; false when cancelled or failed.
bool SaveActiveDocumentAs(App& app);
// The Save command: the selected tab becomes active, then Save, or Save As when it has no path.
bool SaveCommand(App& app);
// Open dialog, then a new tab for the chosen file.
void OpenCommand(App& app);
// Asks about an unsaved active document before it goes; true = go on.
bool ConfirmSaveBeforeClose(App& app, bool strict);
// Closes the active tab after the unsaved-changes question; returns the editor that becomes active.
QsciScintilla* CloseActiveDocument(App& app);
// The Delete File operation with its own dialog values; true when the file is gone.
bool DeleteFileWithDialog(App& app, const std::string& title, const std::string& folder,
                          const std::vector<std::pair<std::string, std::string>>& filters, const std::string& startName,
                          const std::string& defaultExtension);

// The document-type filter pairs offered by Open and Save As, by the File Associations flags.
struct Settings;
std::vector<std::pair<std::string, std::string>> DocumentTypeFilters(const Settings& s);
// page.web -> page.bak; any other name gets ".bak" after it (page.html -> page.html.bak).
std::string BackupPathFor(const std::string& path);
// The line Delete reads from delete.ini.
std::string DeleteIniText(const std::string& path);

// The dialogs of the file commands.
void NewProgramCommand(App& app);
void FileAssociationsCommand(App& app);

// Messages of the file lifecycle, shared with the tests.
inline constexpr const char* kSaveFailedText =
    "There was a problem saving this file. Please try saving in to another location.";
inline constexpr const char* kBackupFailedText = "The file was saved, but its backup copy could not be written.";
inline constexpr const char* kNotSavedQuestion = " Document has not been saved, would you like to save now?";
inline constexpr const char* kCloseAnywayQuestion = " Document has not been saved, would you like to close it anyway?";
inline constexpr const char* kCloseAllQuestion =
    "One or more documents have not been saved, do you want to save them now?";
inline constexpr const char* kTabsFullText = "All 32 tabs are in use. Please close a document first.";
