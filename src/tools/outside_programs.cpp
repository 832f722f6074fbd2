#include "tools/outside_programs.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "documents/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/editor.h"
#include "tools/web_addresses.h"

FileDialogSpec ProgramFileDialog(const std::string& title, const std::string& folder) {
  FileDialogSpec fileDialog;
  fileDialog.title = title;
  fileDialog.folder = folder;
  fileDialog.filters = {{"All Files (*.*)", "*.*"}};
  return fileDialog;
}

const EditorRow* EditorRows() {
  static const EditorRow rows[kEditorCount] = {
      {"Text editor", 150, 160, "Locate Text Editor", &Settings::textEditorPath},
      {"Library editor", 270, 280, "Locate Library Editor", &Settings::libraryEditorPath},
      {"Style editor", 210, 220, "Locate Style Editor", &Settings::styleEditorPath},
      {"Image editor", 180, 190, "Locate Image Editor", &Settings::imageEditorPath},
      {"Sound editor", 240, 250, "Locate Sound Editor", &Settings::soundEditorPath},
  };
  return rows;
}

std::string ActiveTextName(std::string_view selection) {
  std::string name;
  for (char c : selection)
    if (c != '"' && c != '(' && c != ')' && c != '\'') name += c;
  return core::ToLower(name);
}

std::vector<std::string> ActiveTextCandidates(const std::string& selection, const std::string& documentPath) {
  // Names are lower-cased for matching; on a case-sensitive disk the name as selected may be the one that exists.
  std::string asSelected = selection;
  std::erase_if(asSelected, [](char c) { return c == '"' || c == '(' || c == ')' || c == '\''; });
  const std::string lower = ActiveTextName(selection);
  std::vector<std::string> names = {lower};
  if (asSelected != lower) names.push_back(asSelected);
  std::vector<std::string> out;
  // A page names its files relative to itself, so the active document's folder comes first.
  const std::string folder = core::FolderOf(documentPath);
  if (!folder.empty() && !core::IsAbsolutePath(asSelected))
    for (const std::string& n : names) out.push_back(core::JoinPath(folder, n));
  for (const std::string& n : names) out.push_back(n);
  return out;
}

const ActiveTextRule* ActiveTextRuleFor(const std::string& name) {
  static const ActiveTextRule rules[] = {
      {{".doc", ".txt"}, &Settings::textEditorPath, kTextEditorMissing},
      {{".gif", ".jpg", ".png", ".tif", ".bmp"},
       &Settings::imageEditorPath,
       "Image editor not found.\rPlease select Locate Programs from the Tools menu."},
      {{".wav", ".mp3", ".ogg"},
       &Settings::soundEditorPath,
       "Sound editor not found.\rPlease select Locate Programs from the Tools menu."},
      {{".css"},
       &Settings::styleEditorPath,
       "Style editor not found.\rPlease select Locate Programs from the Tools menu."},
      {{".lib"}, &Settings::libraryEditorPath, nullptr},
  };
  for (const ActiveTextRule& rule : rules)
    for (const std::string& text : rule.texts)
      if (name.find(text) != std::string::npos) return &rule;
  return nullptr;
}

void ActiveText(App& app) {
  // The selection is read directly: the clipboard is the user's and stays untouched.
  std::string selection = SelectedText(app.activeEditor);
  std::string name = ActiveTextName(selection);
  const ActiveTextRule* rule = ActiveTextRuleFor(name);
  if (!rule) return;
  const std::string& editor = app.settings.*rule->editor;
  bool haveEditor = core::FileExists(editor);
  if (!haveEditor && rule->missingMessage) app.platform.Message(rule->missingMessage, MsgIcon::Information);
  std::string file;
  for (const std::string& candidate : ActiveTextCandidates(selection, app.currentPath))
    if (core::FileExists(candidate)) {
      file = candidate;
      break;
    }
  if (!core::FileExists(file)) {
    app.platform.Message("Can not edit file.\rPlease make sure the file name is correct.", MsgIcon::Information);
    return;
  }
  if (haveEditor) app.platform.StartProgram(editor, {file});
}

std::string ContentsDocText(const std::string& folder, const std::vector<std::string>& names) {
  std::string text = "Folder " + folder + "\r\n" + "Number of files: " + std::to_string(names.size()) + "\r\n\r\n";
  for (const std::string& n : names) text += n + "\r\n";
  return text;
}

std::vector<std::string> FolderFileNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::string name = entry.path().filename().string();
    std::error_code e2;
    if (name.empty() || name[0] == '.' || !entry.is_regular_file(e2)) continue;
    names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void ViewFolderContents(App& app) {
  FeedbackIfOn(app);
  const std::string& editor = app.settings.textEditorPath;
  if (!core::FileExists(editor)) {
    app.platform.Message(kTextEditorMissing, MsgIcon::Information);
    return;
  }
  FeedbackIfOn(app);
  std::error_code ec;
  std::string current = std::filesystem::current_path(ec).string();
  std::string folder;
  if (!app.platform.PickFolder("Select a folder to view contents.\rCurrent directory: " + current, folder) ||
      folder.empty())
    return;
  std::string error;
  if (!core::WriteFileAtomically("Contents.doc", ContentsDocText(folder, FolderFileNames(folder)), &error)) {
    app.platform.Message("Contents.doc could not be written.\r" + error, MsgIcon::Warning);
    return;
  }
  app.platform.StartProgram(editor, {"Contents.doc"});
}

std::string PercentEncode(std::string_view text) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out += ch;
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::string SearchAddressFor(std::string_view text) {
  return std::string(web::kGoogleSearchHome) + web::kGoogleSearchQuery + PercentEncode(text);
}

void SearchGoogle(App& app) { app.platform.ShellOpen(web::kGoogleSearchHome); }

void SearchSelected(App& app) {
  std::string selection = SelectedText(app.activeEditor);
  if (!selection.empty()) app.platform.ShellOpen(SearchAddressFor(selection));
}
