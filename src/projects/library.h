// The fragment library: *.lib files in Library/ of the program folder, the Library Manager
// and the command that replaces the caret's line, naming a library file, by its content.
#pragma once
#include <string>

struct App;

// Names (file name and extension) of the *.lib files in `folder`, sorted, joined by CR LF
// with nothing after the last. A missing folder gives "".
std::string LibraryFileList(const std::string& folder);

// The library file named by a caret line: cut at its first NUL, blanks trimmed, ".lib"
// appended unless the name already contains it. "" when the line names no file inside the
// library folder (empty, or with a folder separator).
std::string LibraryNameFromLine(const std::string& line);

// The text that ends a line in a document of Scintilla end-of-line mode `eolMode`.
std::string LineEndForMode(int eolMode);

// Line ends for the manager's edit box: the box works with LF, files keep their own.
std::string LineEndOf(const std::string& bytes);  // first line end found, CR LF when none
std::string ToBoxText(const std::string& bytes);  // every CR LF and lone CR becomes LF
std::string FromBoxText(const std::string& boxText, const std::string& lineEnd);

// Include library file by name (Ctrl+L) on the active editor.
void IncludeLibraryFile(App& app);

// The Library Manager dialog. Ids of its controls (object names):
enum LibraryManagerId {
  kLibraryListLabel = 10,
  kLibraryEditLabel = 11,
  kLibraryList = 101,
  kLibraryEditor = 102,
  kLibraryOpen = 201,
  kLibrarySave = 202,
  kLibraryDelete = 203,
  kLibraryPrint = 204,
  kLibraryHelp = 420,
  kLibraryOk = 1,
  kLibraryCancel = 2,
};
void LibraryManager(App& app);
