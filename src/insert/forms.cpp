#include "insert/forms.h"

#include "documents/application.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "insert/insert_dialog.h"

namespace insert {

namespace {

// The nine texts in dialog order, with their form-file keys.
struct FormField {
  const char* key;
  std::string FormValues::*value;
  std::string Settings::*setting;
  const char* label;
};
const FormField kFields[] = {
    {"Action ", &FormValues::action, &Settings::formAction, "Form action:"},
    {"Name ", &FormValues::name, &Settings::formName, "Name:"},
    {"Email ", &FormValues::email, &Settings::formEmail, "Email:"},
    {"Address ", &FormValues::address, &Settings::formAddress, "Address:"},
    {"Code ", &FormValues::post, &Settings::formPost, "Zip/Post:"},
    {"Country ", &FormValues::country, &Settings::formCountry, "Country:"},
    {"Comments ", &FormValues::comments, &Settings::formComments, "Comments:"},
    {"Submit button ", &FormValues::submit, &Settings::formSubmit, "Submit button:"},
    {"Clear button ", &FormValues::clear, &Settings::formClear, "Clear button:"},
};

std::string TextInput(const std::string& caption, const char* inputName) {
  return "WriteText \"" + caption + "\"\n" + "<input type=\"text\" name=\"" + inputName +
         "\" size=\"50px\"><br><br>\n\n";
}

}  // namespace

std::string BuildForm(const FormValues& v) {
  std::string out = "<form method=\"post\" action=\"" + AttributeText(v.action) + "\"";
  if (v.style == 1) out += " style=\"" + std::string(kLargeTextStyle) + "\"";
  out += ">\n\n";
  out += TextInput(v.name, "Name");
  out += TextInput(v.email, "Email");
  out += TextInput(v.address, "Address");
  out += TextInput(v.post, "code");
  out += TextInput(v.country, "country");
  out += "WriteText \"" + v.comments + "\"\n";
  out += "<textarea name=\"Comments\" rows=\"8\" cols=\"37\"></textarea><br><br>\n\n";
  out += "<input type=\"submit\" name=\"" + AttributeText(v.submit) + "\" value=\"Send\">\n";
  out += "<input type=\"reset\" value=\"" + AttributeText(v.clear) + "\">\n\n";
  out += "</form>";
  return out;
}

std::string WriteFormFile(const FormValues& v) {
  std::string out = "[Form data]\r\n\r\n";
  for (const FormField& f : kFields) out += f.key + core::LineValue(v.*f.value) + "\r\n";
  return out;
}

void ReadFormFile(const std::string& bytes, FormValues& v) {
  for (const std::string& line : core::SplitLines(bytes)) {
    std::string rest;
    for (const FormField& f : kFields)
      if (core::MatchKey(line, f.key, rest)) {
        v.*f.value = rest;
        break;
      }
  }
}

namespace {

enum : int { kFirstBox = 1001, kStyleBox = 1010, kOpen = 3001, kSave, kDelete };
constexpr int kFieldCount = 9;

const std::vector<std::pair<std::string, std::string>> kFormFilters = {{"Form Files (*.form)", "*.form"},
                                                                       {"All Files (*.*)", "*.*"}};

DialogSpec FormSpec(const Settings& s) {
  DialogSpec fileDialog{.entry = kFormDialog};
  const char* buttons[] = {"Open", "Save", "Delete"};
  for (int i = 0; i < kFieldCount; ++i) {
    fileDialog.controls.push_back(Label(2001 + i, kFields[i].label));
    fileDialog.controls.push_back(TextBox(kFirstBox + i, s.*kFields[i].setting));
    if (i < 3) fileDialog.controls.push_back(PushButton(kOpen + i, buttons[i]));
  }
  fileDialog.controls.push_back(StyleCheckBox(kStyleBox, kFormStyle, s));
  return fileDialog;
}

FormValues ReadBoxes(const InsertDialog& d) {
  FormValues v;
  for (int i = 0; i < kFieldCount; ++i) v.*kFields[i].value = d.Text(kFirstBox + i);
  v.style = d.Checked(kStyleBox);
  return v;
}

void FillBoxes(InsertDialog& d, const FormValues& v) {
  for (int i = 0; i < kFieldCount; ++i) d.SetText(kFirstBox + i, v.*kFields[i].value);
}

void StoreTexts(Settings& s, const FormValues& v) {
  for (const FormField& f : kFields) s.*f.setting = v.*f.value;
}

void OpenFormFile(App& app, InsertDialog& d) {
  std::vector<std::string> paths;
  FileDialogSpec fileDialog{
      .title = "Open Form", .folder = "", .filters = kFormFilters, .startName = "", .defaultExtension = "form"};
  if (!app.platform.OpenFile(fileDialog, paths) || paths.empty() || !core::FileExists(paths[0])) return;
  std::string bytes, error;
  if (!core::ReadFileBytes(paths[0], bytes, &error)) {
    app.platform.Message("The form file could not be read:\r" + paths[0] + "\r" + error, MsgIcon::Warning);
    return;
  }
  FormValues v = ReadBoxes(d);
  ReadFormFile(bytes, v);
  FillBoxes(d, v);
  d.Focus(kFirstBox);
}

void SaveFormFile(App& app, InsertDialog& d) {
  std::string path;
  FileDialogSpec fileDialog{.title = "Save Form",
                            .folder = "",
                            .filters = kFormFilters,
                            .startName = "",
                            .defaultExtension = "form",
                            .askOverwrite = app.settings.existingFile == 1};
  if (!app.platform.SaveFile(fileDialog, path) || path.empty()) return;
  FormValues v = ReadBoxes(d);
  StoreTexts(app.settings, v);
  std::string error;
  if (!core::WriteFileAtomically(path, WriteFormFile(v), &error))
    app.platform.Message("The form file could not be saved:\r" + path + "\r" + error, MsgIcon::Warning);
  d.Focus(kFirstBox);
}

}  // namespace

void RunFormDialog(App& app) {
  InsertDialog d(app, FormSpec(app.settings));
  d.OnClick(kOpen, [&app, &d] { OpenFormFile(app, d); });
  d.OnClick(kSave, [&app, &d] { SaveFormFile(app, d); });
  d.OnClick(kDelete, [&app] { DeleteFileWithDialog(app, "Delete Form", "", kFormFilters, "", "web"); });
  d.Focus(kFirstBox);
  if (!RunInsertDialog(app, d)) return;

  FormValues v = ReadBoxes(d);
  StoreTexts(app.settings, v);
  app.settings.formStyle = v.style;
  FinishOk(app, kFormDialog);
  InsertTextAtCaret(app, BuildForm(v));
}

}  // namespace insert
