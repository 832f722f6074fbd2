// Outside editors, the folder listing and the web searches.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

struct App;
struct Settings;

// The file dialog that picks a program: programs carry no extension here, so every
// file is offered; `folder` is where it starts ("" for the dialog's own choice).
FileDialogSpec ProgramFileDialog(const std::string& title, const std::string& folder);
// Where Locate Programs starts browsing.
inline constexpr const char* kProgramsFolder = "/usr/bin";

struct EditorRow {
  const char* label;  // "Text editor"
  int pathId, browseId;
  const char* browseTitle;  // "Locate Text Editor"
  std::string Settings::*path;
};
inline constexpr int kEditorCount = 5;
const EditorRow* EditorRows();  // in the dialog's order
void RunLocateProgramsDialog(App& app);

// Active Text. The name N: double quotes, brackets and apostrophes removed, lower-cased.
std::string ActiveTextName(std::string_view selection);
struct ActiveTextRule {
  std::vector<std::string> texts;  // any of them occurring in N selects the rule
  std::string Settings::*editor;
  const char* missingMessage;  // null: nothing is said
};
// The first rule whose text occurs in `name`, null when none does.
const ActiveTextRule* ActiveTextRuleFor(const std::string& name);
// The paths Active Text tries, in order: a relative name beside the active document first
// (lower-cased, then as selected), then in the current folder.
std::vector<std::string> ActiveTextCandidates(const std::string& selection, const std::string& documentPath);
void ActiveText(App& app);

// View Folder Contents: the text of Contents.doc for a folder and its file names.
std::string ContentsDocText(const std::string& folder, const std::vector<std::string>& names);
// The ordinary files of a folder (no folders, no hidden files), sorted by name.
std::vector<std::string> FolderFileNames(const std::string& folder);
void ViewFolderContents(App& app);

// Every byte but the unreserved ones (letters, digits, - . _ ~) as %XX.
std::string PercentEncode(std::string_view text);
std::string SearchAddressFor(std::string_view text);
void SearchGoogle(App& app);
void SearchSelected(App& app);

inline constexpr const char* kTextEditorMissing =
    "Text editor not found.\rPlease select Locate Programs from the Tools menu.";
