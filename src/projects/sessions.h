// Session files (the list of open documents) and the commands that copy files into folders.
#pragma once
#include <string>
#include <vector>

struct App;

// The 32 "File" lines of a session: "File" + three-digit slot + one space + the trimmed
// path ("" for a free slot), each ended by CR LF.
std::string SessionFileLines(const std::vector<std::string>& slotPaths);
// A whole session file: "Project files for " + `fileName`, an empty line, the 32 lines.
std::string WriteSessionFile(const std::string& fileName, const std::vector<std::string>& slotPaths);
// The paths of the "File" lines in file order, trimmed; empty ones are left out.
std::vector<std::string> ReadSessionPaths(const std::string& fileBytes);
// True when some line is one the reader takes as a "File" line, even one without a path.
bool HoldsSessionLines(const std::string& fileBytes);

// The paths of document slots 1..32 ("" for free slots and documents without a file).
std::vector<std::string> SlotPaths(const App& app);

// Copies `source` into `folder` under its own file name, replacing a file of that name.
// False when the source cannot be read or the target cannot be written.
bool CopyFileIntoFolder(const std::string& source, const std::string& folder);
// The folder browser prompt: the command's own line, CR, "Current directory: " + folder.
std::string FolderPrompt(const std::string& firstLine);

void SaveSession(App& app);
void LoadSession(App& app);
void AddActiveFileToFolder(App& app);
void AddAllOpenFilesToFolder(App& app);
void CopyFileToFolder(App& app);
