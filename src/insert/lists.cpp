#include "insert/lists.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <Qsci/qsciscintillabase.h>

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

const char kTitleKey[] = "List title ";

// Lines that end at CR LF; the text is taken to end with one.
std::vector<std::string> CrLfLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  return lines;
}

// Lines ended by CR LF, a lone CR or a lone LF, as the editor's selection may use any.
std::vector<std::string> AnyLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(std::move(current));
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) lines.push_back(std::move(current));
  return lines;
}

}  // namespace

std::string BuildList(const ListValues& v) {
  std::string out;
  const std::string textStyle(kTextStyle);
  if (v.style == 1) out = "<p style=\"" + textStyle + "\">" + v.title + "</p>\r\n";
  else out = "<p>" + v.title + "</p>\r\n";
  const std::pair<int, const char*> bullets[] = {{v.disc, "disc"}, {v.circle, "circle"}, {v.square, "square"}};
  for (const auto& [checked, type] : bullets) {
    if (checked != 1) continue;
    if (v.style == 1) out += "<ul style=\"list-style-type:" + std::string(type) + " ; " + textStyle + "\">\n";
    else out += "<ul>\n";
  }
  for (const std::string& line : CrLfLines(v.items + "\r\n")) out += "<li>" + line + "</li>\r\n";
  out += "</ul>\r\n";
  return out;
}

std::string WriteListFile(const std::string& title, const std::string& items) {
  return kTitleKey + core::LineValue(title) + "\r\n" + items + "\r\n";
}

ListFile ReadListFile(const std::string& bytes) {
  ListFile f;
  for (const std::string& line : core::SplitLines(bytes)) {
    std::string rest;
    if (core::MatchKey(line, kTitleKey, rest)) {
      f.hasTitle = true;
      f.title = rest;
    } else {
      f.itemLines.push_back(line);
    }
  }
  return f;
}

std::vector<std::string> ListCommandPieces(const std::string& source, bool ordered) {
  std::vector<std::string> pieces{ordered ? "<ol type=\"1\">" : "<ul type=\"disc\">"};
  for (const std::string& line : AnyLines(source))
    if (!line.empty()) pieces.push_back("<li>" + line + "</li>");
  pieces.push_back(ordered ? "</ol>" : "</ul>");
  return pieces;
}

namespace {

enum : int { kTitle = 1001, kItems, kDisc, kCircle, kSquare, kStyleBox, kOpen = 3001, kSave, kDelete };

const std::vector<std::pair<std::string, std::string>> kListFilters = {{"List Files (*.list)", "*.list"},
                                                                       {"All Files (*.*)", "*.*"}};

DialogSpec ListSpec(const Settings& s) {
  return {.entry = kListDialog,
          .feedback = false,
          .controls = {Label(2001, "List title:"), TextBox(kTitle), PushButton(kOpen, "Open"),
                       Label(2002, "List items:"), MultiLineBox(kItems), PushButton(kSave, "Save"),
                       PushButton(kDelete, "Delete"), CheckBox(kDisc, " Disc", s.listDisc == 1),
                       CheckBox(kCircle, " Circle", s.listCircle == 1), CheckBox(kSquare, " Square", s.listSquare == 1),
                       StyleCheckBox(kStyleBox, kListStyle, s)}};
}

// Adds the file's item lines where the items box's caret stands, replacing its selection,
// as whole lines: line breaks are added only where the caret sits inside a line.
void InsertItemLines(InsertDialog& d, const std::vector<std::string>& lines) {
  auto* box = qobject_cast<QPlainTextEdit*>(d.Control(kItems));
  if (!box || lines.empty()) return;
  QTextCursor cursor = box->textCursor();
  cursor.removeSelectedText();
  QString text;
  for (size_t i = 0; i < lines.size(); ++i) text += (i ? "\n" : "") + Qs(lines[i]);
  if (cursor.positionInBlock() > 0) text.prepend("\n");
  if (!cursor.atBlockEnd()) text += "\n";
  cursor.insertText(text);
  box->setTextCursor(cursor);
}

void OpenListFile(App& app, InsertDialog& d) {
  std::vector<std::string> paths;
  FileDialogSpec fileDialog{
      .title = "Open List", .folder = "", .filters = kListFilters, .startName = "", .defaultExtension = "list"};
  if (!app.platform.OpenFile(fileDialog, paths) || paths.empty() || !core::FileExists(paths[0])) return;
  std::string bytes, error;
  if (!core::ReadFileBytes(paths[0], bytes, &error)) {
    app.platform.Message("The list file could not be read:\r" + paths[0] + "\r" + error, MsgIcon::Warning);
    return;
  }
  ListFile f = ReadListFile(bytes);
  if (f.hasTitle) d.SetText(kTitle, f.title);
  InsertItemLines(d, f.itemLines);
  d.Focus(kTitle);
}

void SaveListFile(App& app, InsertDialog& d) {
  std::string path;
  FileDialogSpec fileDialog{.title = "Save List",
                            .folder = "",
                            .filters = kListFilters,
                            .startName = "",
                            .defaultExtension = "list",
                            .askOverwrite = app.settings.existingFile == 1};
  if (!app.platform.SaveFile(fileDialog, path) || path.empty()) return;
  std::string error;
  if (!core::WriteFileAtomically(path, WriteListFile(d.Text(kTitle), d.Text(kItems)), &error))
    app.platform.Message("The list file could not be saved:\r" + path + "\r" + error, MsgIcon::Warning);
}

void ListCommand(App& app, bool ordered) {
  if (!app.activeEditor) return;
  // The selection is taken directly, so the clipboard keeps its text; without a selection
  // the clipboard's text is the source.
  std::string source = SelectedText(app.activeEditor);
  if (source.empty()) source = app.platform.ClipboardText();
  else Send(app, QsciScintillaBase::SCI_REPLACESEL, 0, reinterpret_cast<intptr_t>(""));
  InsertPieces(app, ListCommandPieces(source, ordered));
}

}  // namespace

void RunListDialog(App& app) {
  InsertDialog d(app, ListSpec(app.settings));
  d.OnClick(kOpen, [&app, &d] { OpenListFile(app, d); });
  d.OnClick(kSave, [&app, &d] { SaveListFile(app, d); });
  d.OnClick(kDelete, [&app] { DeleteFileWithDialog(app, "Delete List", "", kListFilters, "", "web"); });
  for (int box : {kDisc, kCircle, kSquare})
    d.OnClick(box, [&d, box] {
      for (int other : {kDisc, kCircle, kSquare}) d.SetChecked(other, other == box ? 1 : 0);
    });
  if (!RunInsertDialog(app, d)) return;

  ListValues v{.title = d.Text(kTitle),
               .items = d.Text(kItems),
               .disc = d.Checked(kDisc),
               .circle = d.Checked(kCircle),
               .square = d.Checked(kSquare),
               .style = d.Checked(kStyleBox)};
  app.settings.listStyle = v.style;
  InsertTextAtCaret(app, BuildList(v));
  app.settings.listDisc = v.disc;
  app.settings.listCircle = v.circle;
  app.settings.listSquare = v.square;
  FinishOk(app, kListDialog);
}

void OrderedListCommand(App& app) { ListCommand(app, true); }
void UnorderedListCommand(App& app) { ListCommand(app, false); }

}  // namespace insert
