#include "insert/link_dialogs.h"

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"
#include "insert/link_fragments.h"

namespace insert {

namespace {

const std::vector<std::pair<std::string, std::string>> kEmailFilters = {{"Email Files (*.email)", "*.email"},
                                                                        {"All Files (*.*)", "*.*"}};

EmailLinkValues ReadEmailBoxes(const InsertDialog& d) {
  return {d.Text(kEmailTextBox), d.Text(kEmailSubjectBox), d.Text(kEmailAddressBox), d.Text(kEmailTooltipBox),
          d.Checked(kEmailStyleBox) == 1};
}

void FillEmailBoxes(InsertDialog& d, const EmailLinkValues& v) {
  d.SetText(kEmailTextBox, v.linkText);
  d.SetText(kEmailSubjectBox, v.subject);
  d.SetText(kEmailAddressBox, v.address);
  d.SetText(kEmailTooltipBox, v.tooltip);
}

void OpenEmailFile(App& app, InsertDialog& d) {
  FileDialogSpec fileDialog{.title = "Open Email", .filters = kEmailFilters, .defaultExtension = "email"};
  std::vector<std::string> paths;
  if (app.platform.OpenFile(fileDialog, paths) && !paths.empty() && core::FileExists(paths[0])) {
    std::string bytes, error;
    if (core::ReadFileBytes(paths[0], bytes, &error)) {
      EmailLinkValues v = ReadEmailBoxes(d);
      ReadEmailFile(bytes, v);
      FillEmailBoxes(d, v);
    } else {
      app.platform.Message("The e-mail file could not be read.\r" + paths[0] + "\r" + error, MsgIcon::Warning);
    }
  }
  d.Focus(kEmailTextBox);
}

void SaveEmailFile(App& app, InsertDialog& d) {
  FileDialogSpec fileDialog{.title = "Save Email",
                            .filters = kEmailFilters,
                            .defaultExtension = "email",
                            .askOverwrite = app.settings.existingFile == 1};
  std::string path, error;
  if (app.platform.SaveFile(fileDialog, path) && !path.empty() &&
      !core::WriteFileAtomically(path, WriteEmailFile(ReadEmailBoxes(d)), &error))
    app.platform.Message("The e-mail file could not be saved.\r" + path + "\r" + error, MsgIcon::Warning);
  d.Focus(kEmailSubjectBox);
}

}  // namespace

void RunHypertextLinkDialog(App& app) {
  InsertDialog d(app,
                 {.entry = kHypertextLinkDialog,
                  .controls = {Label(100, "Link to:"), TextBox(kLinkToBox), PushButton(kLinkBrowseButton, "Browse..."),
                               Label(103, "Link text:"), TextBox(kLinkTextBox), Label(105, "Tooltip text:"),
                               TextBox(kLinkTooltipBox), StyleCheckBox(kLinkStyleBox, kLinkStyle, app.settings)}});
  ConnectBrowse(app, d, kLinkBrowseButton, kLinkToBox,
                {.dialog = {.title = "Link To",
                            .filters = {{"Html Files (*.html)", "*.html"}, {"All Files (*.*)", "*.*"}}},
                 .convert = [](const std::string& p) { return core::ReplaceAll(p, "\\", "/"); }});
  if (!RunInsertDialog(app, d)) return;
  StoreStyle(d, kLinkStyleBox, kLinkStyle, app.settings);
  std::string fragment = BuildHypertextLink(
      {d.Text(kLinkToBox), d.Text(kLinkTextBox), d.Text(kLinkTooltipBox), app.settings.linkStyle == 1});
  if (!fragment.empty()) InsertTextAtCaret(app, fragment);
  FinishOk(app, kHypertextLinkDialog);
}

void RunEmailLinkDialog(App& app) {
  InsertDialog d(app,
                 {.entry = kEmailLinkDialog,
                  .controls = {Label(100, "Link text:"), TextBox(kEmailTextBox), PushButton(kEmailOpenButton, "Open"),
                               Label(103, "Email subject:"), TextBox(kEmailSubjectBox),
                               PushButton(kEmailSaveButton, "Save"), Label(106, "Email address:"),
                               TextBox(kEmailAddressBox), PushButton(kEmailDeleteButton, "Delete"),
                               Label(109, "Tooltip text:"), TextBox(kEmailTooltipBox),
                               StyleCheckBox(kEmailStyleBox, kEmailStyle, app.settings)}});
  d.OnClick(kEmailOpenButton, [&app, &d] { OpenEmailFile(app, d); });
  d.OnClick(kEmailSaveButton, [&app, &d] { SaveEmailFile(app, d); });
  d.OnClick(kEmailDeleteButton, [&app] { DeleteFileWithDialog(app, "Delete Email", "", kEmailFilters, "", "web"); });
  if (!RunInsertDialog(app, d)) return;
  StoreStyle(d, kEmailStyleBox, kEmailStyle, app.settings);
  EmailLinkValues v = ReadEmailBoxes(d);
  v.inlineStyle = app.settings.emailStyle == 1;
  InsertTextAtCaret(app, BuildEmailLink(v));
  FinishOk(app, kEmailLinkDialog);
}

}  // namespace insert
