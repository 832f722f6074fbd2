// Handlers of the Edit and Search menus and of the smaller File and View commands that
// work on the active document. Each takes the App and finds the active document itself.
#pragma once

struct App;

// Dialog commands, one unit each.
void GoToLineCommand(App& app);
void FindCommand(App& app);
void FindReplaceCommand(App& app);
void RenameProgramCommand(App& app);

// Insert File, Save Selected, Restore Backup, Program Information.
void InsertProgramFileCommand(App& app);
void InsertLibraryFileCommand(App& app);
void InsertDocumentFileCommand(App& app);
void SaveSelectedProgramCommand(App& app);
void SaveSelectedLibraryCommand(App& app);
void SaveSelectedDocumentCommand(App& app);
void RestoreBackupCommand(App& app);
void ProgramInfoCommand(App& app);

// Replaces the selection by `text` (every byte) and leaves the caret in front of it,
// with nothing selected.
#include <string>
void ReplaceSelectionCaretBefore(App& app, const std::string& text);
