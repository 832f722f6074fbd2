#include "insert/small_inserts_dialogs.h"

#include <QFont>
#include <algorithm>
#include <QPlainTextEdit>

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"
#include "insert/small_inserts.h"

namespace insert {

namespace {

// The two comment boxes act as one choice and change the settings at once.
void ChooseComment(App& app, InsertDialog& d, bool rem) {
  app.settings.remComment = rem ? 1 : 0;
  app.settings.apostropheComment = rem ? 0 : 1;
  d.SetChecked(kRemCommentBox, app.settings.remComment);
  d.SetChecked(kApostropheCommentBox, app.settings.apostropheComment);
}

}  // namespace

void RunCommentDialog(App& app) {
  InsertDialog d(app, {.entry = kCommentDialog,
                       .controls = {Label(100, "Comment:"), TextBox(kCommentBox),
                                    CheckBox(kRemCommentBox, " Rem comment", app.settings.remComment == 1),
                                    CheckBox(kApostropheCommentBox, " Apostrophe comment",
                                             app.settings.apostropheComment == 1),
                                    Label(104, "Enter your text within the Comment input field.")}});
  d.OnClick(kRemCommentBox, [&app, &d] { ChooseComment(app, d, true); });
  d.OnClick(kApostropheCommentBox, [&app, &d] { ChooseComment(app, d, false); });
  if (!RunInsertDialog(app, d)) return;
  std::string fragment = BuildComment(d.Text(kCommentBox), app.settings.remComment, app.settings.apostropheComment);
  if (!fragment.empty()) InsertTextAtCaret(app, fragment);
  FinishOk(app, kCommentDialog);
}

void RunHeaderDialog(App& app) {
  InsertDialog d(app, {.entry = kHeaderDialog,
                       .controls = {Label(100, "Header text"), TextBox(kHeaderBox),
                                    StyleCheckBox(kHeaderStyleBox, kHeaderStyle, app.settings)}});
  if (!RunInsertDialog(app, d)) return;
  StoreStyle(d, kHeaderStyleBox, kHeaderStyle, app.settings);
  InsertTextAtCaret(app, BuildHeader(d.Text(kHeaderBox), app.settings.headerStyle == 1));
  FinishOk(app, kHeaderDialog);
}

// The user picked this file: the translator may read it this session even when it lies
// outside the program's folder. A relative path is taken from the program's folder, as
// the translator takes it.
static void RememberChosenTextFile(App& app, const std::string& written) {
  std::string path = core::TrimBlank(written);
  if (path.empty() || path.find_first_of("\r\n") != std::string::npos) return;
  if (!core::IsAbsolutePath(path)) {
    if (app.currentPath.empty()) return;
    path = core::JoinPath(core::FolderOf(app.currentPath), path);
  }
  if (std::find(app.allowedFiles.begin(), app.allowedFiles.end(), path) == app.allowedFiles.end())
    app.allowedFiles.push_back(path);
}

void RunTextFileDialog(App& app) {
  InsertDialog d(app,
                 {.entry = kTextFileDialog,
                  .controls = {Label(100, "Locate file"), TextBox(kPathBox), PushButton(kPathBrowseButton, "Browse..."),
                               Label(103, "Click on the Browse button to locate text file")}});
  ConnectBrowse(app, d, kPathBrowseButton, kPathBox,
                {.dialog = {.title = "Open",
                            .filters = {{"Text Files (*.txt)", "*.txt"},
                                        {"Document Files (*.doc)", "*.doc"},
                                        {"All Files (*.*)", "*.*"}}}});
  if (!RunInsertDialog(app, d)) return;
  std::string path = d.Text(kPathBox);
  InsertPieces(app, BuildTextFile(path).pieces);
  RememberChosenTextFile(app, path);
  FinishOk(app, kTextFileDialog);
}

void RunStyleSheetDialog(App& app) {
  InsertDialog d(app,
                 {.entry = kStyleSheetDialog,
                  .controls = {Label(100, "Locate file"), TextBox(kPathBox), PushButton(kPathBrowseButton, "Browse..."),
                               Label(103, "Click on the Browse button to locate CSS file.")}});
  d.OnClick(kPathBrowseButton, [&app, &d] {
    FileDialogSpec fileDialog{.title = "Open CSS File",
                              .filters = {{"CSS Files (*.css)", "*.css"}, {"All Files (*.*)", "*.*"}}};
    std::vector<std::string> paths;
    // A cancelled Browse keeps the file chosen before, which the box still shows.
    if (app.platform.OpenFile(fileDialog, paths) && !paths.empty() && !paths[0].empty()) {
      app.stylesheetPath = paths[0];
      d.SetText(kPathBox, paths[0]);
    }
    d.Focus(kPathBox);
  });
  if (!RunInsertDialog(app, d)) return;
  InsertTextAtCaret(app, BuildStylesheetLink(app.stylesheetPath));
  FinishOk(app, kStyleSheetDialog);
}

void RunSpecialCharactersDialog(App& app) {
  InsertDialog d(app, {.entry = kSpecialCharactersDialog,
                       .controls = {Label(100, "Copy a character number to the clipboard."),
                                    MultiLineBox(kCharacterTableBox)}});
  std::string table;
  const std::string iso = ProgramFile(app, "res/iso.txt");
  if (core::FileExists(iso) && core::ReadFileBytes(iso, table)) d.SetText(kCharacterTableBox, table);
  if (auto* box = qobject_cast<QPlainTextEdit*>(d.Control(kCharacterTableBox))) {
    box->setReadOnly(true);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setStyleSheet("QPlainTextEdit { color: black; background: white; }");
    box->setFont(QFont("Courier New", 10));
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setMinimumSize(560, 420);
  }
  RunInsertDialog(app, d);
}

}  // namespace insert
