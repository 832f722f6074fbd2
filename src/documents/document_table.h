// The table of open documents: 32 slots packed from slot 1, one tab each.
#pragma once
#include <string>

struct App;
class QsciScintilla;
class QTabWidget;

QTabWidget* TabStrip(App& app);

// Makes the selected tab's document active (activeSlot, activeEditor, currentPath);
// returns its editor, or null when no slot matches.
QsciScintilla* FindActiveDocument(App& app);
// Opens `path` in a new tab named after `name`. False when the file is already open or
// all 32 slots are in use.
bool OpenDocumentTab(App& app, const std::string& path, const std::string& name);
// Number of open documents (occupied slots).
int DocumentCount(const App& app);
// Slot of the document shown at tab position `tab` (1-based), 0 when none.
int SlotOfTab(App& app, int tab);
// Selects tab position `tab` (1-based) and makes its document active.
void ActivateTab(App& app, int tab);

bool IsDocumentModified(App& app, int slot);
bool AnyDocumentModified(App& app);
bool SaveAllDocuments(App& app);

// Closes the active tab without asking; returns the editor that becomes active.
QsciScintilla* CloseActiveDocumentQuietly(App& app);

// File commands used across the program.
// Save: writes the active document to `currentPath` (and its backup); false on failure.
bool SaveActiveDocument(App& app);
// Save As dialog, then save under the chosen name; false when cancelled or failed.
bool SaveActiveDocumentAs(App& app);
// Asks about an unsaved active document before it goes; true = go on.
bool ConfirmSaveBeforeClose(App& app, bool strict);
// Closes the active tab after the unsaved-changes question; returns the editor that becomes active.
QsciScintilla* CloseActiveDocument(App& app);
// The Delete File operation with its own dialog values.
#include <utility>
#include <vector>
bool DeleteFileWithDialog(App& app, const std::string& title, const std::string& folder,
                          const std::vector<std::pair<std::string, std::string>>& filters,
                          const std::string& startName, const std::string& defaultExtension);
