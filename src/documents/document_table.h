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
