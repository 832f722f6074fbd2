#include "publish/publish_dialog.h"

#include <filesystem>

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "documents/application.h"
#include "app/shell.h"
#include "core/own_files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/config_folder.h"
#include "platform/platform.h"
#include "publish/ftp_profiles.h"
#include "publish/publish.h"
#include "tools/web_page.h"

namespace {

const char* const kProfileFile = "FtpProjs.ini";

FileDialogSpec ProfileDialog(App& app, const char* title) {
  FileDialogSpec fileDialog;
  fileDialog.title = title;
  fileDialog.folder = ConfigFile(app, home::kProfilesFolder);
  fileDialog.filters = {{"FTP Profile Files (*.ini)", "*.ini"}, {"All Files (*.*)", "*.*"}};
  std::error_code ec;
  std::filesystem::create_directories(fileDialog.folder, ec);
  return fileDialog;
}

QLineEdit* Box(QDialog& d, const char* id) { return d.findChild<QLineEdit*>(id); }
std::string BoxText(QDialog& d, const char* id) { return Box(d, id)->text().toStdString(); }
void SetBox(QDialog& d, const char* id, const std::string& text) { Box(d, id)->setText(QString::fromStdString(text)); }

PublishFields ReadBoxes(QDialog& d) {
  PublishFields f;
  f.programName = BoxText(d, "101");
  f.remoteFolder = BoxText(d, "148");
  f.domainName = BoxText(d, "109");
  f.hostName = BoxText(d, "103");
  f.userId = BoxText(d, "105");
  f.password = BoxText(d, "107");
  f.changedOnly = d.findChild<QCheckBox*>("changedOnly")->isChecked();
  return f;
}

void ShowFields(QDialog& d, const PublishFields& f) {
  SetBox(d, "101", f.programName);
  SetBox(d, "109", f.domainName);
  SetBox(d, "103", f.hostName);
  SetBox(d, "148", f.remoteFolder);
  SetBox(d, "105", f.userId);
  SetBox(d, "107", f.password);
}

// One of the files the editor keeps beside its settings (the save dialog can climb out of Profiles).
bool IsSettingsFile(App& app, const std::string& path) {
  std::error_code ec;
  return core::IsEditorsOwnName(core::FileNameOf(path)) &&
         std::filesystem::equivalent(core::FolderOf(path), app.configFolder.empty() ? "." : app.configFolder, ec);
}

void PressOpen(App& app, QDialog& d) {
  FileDialogSpec fileDialog = ProfileDialog(app, "Open FTP Profile");
  std::vector<std::string> paths;
  if (app.platform.OpenFile(fileDialog, paths) && !paths.empty()) ReadProfileFile(paths.front(), app.publish);
  ShowFields(d, app.publish);
}

void PressSave(App& app, QDialog& d) {
  app.publish = ReadBoxes(d);
  FileDialogSpec fileDialog = ProfileDialog(app, "Save FTP Profile");
  fileDialog.defaultExtension = "ini";
  fileDialog.askOverwrite = true;
  std::string path;
  std::string bytes = SaveLayout(app.publish);
  if (app.platform.SaveFile(fileDialog, path) && !path.empty()) {
    if (IsSettingsFile(app, path))
      app.platform.Message(core::FileNameOf(path) + " holds the editor's settings; the profile was not saved under "
                                                    "that name.",
                           MsgIcon::Warning);
    else WriteProfileFile(path, bytes);
  }
  WriteProfileFile(ConfigFile(app, kProfileFile), bytes);
}

QLineEdit* AddRow(QGridLayout* grid, int row, const char* labelId, const char* text, const char* boxId,
                  const std::string& value) {
  auto* label = new QLabel(QString::fromUtf8(text));
  label->setObjectName(labelId);
  auto* box = new QLineEdit(QString::fromStdString(value));
  box->setObjectName(boxId);
  label->setBuddy(box);
  grid->addWidget(label, row, 0);
  grid->addWidget(box, row, 1);
  return box;
}

QPushButton* MakeButton(const char* id, const char* text) {
  auto* b = new QPushButton(QString::fromUtf8(text));
  b->setObjectName(id);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

void PressPublish(App& app, const PublishFields& boxes) {
  using core::Trim;
  if (StoreProfile(*app.profiles, Trim(boxes.programName), Trim(boxes.hostName), Trim(boxes.userId),
                   Trim(boxes.password), Trim(boxes.domainName)) == 0) {
    app.platform.Message("The maximum of 32 FTP profiles has been reached.", MsgIcon::Information);
    return;
  }
  FindActiveDocument(app);
  // A document without a file is saved first, so that its own page is made and sent.
  bool ready = true;
  if (app.currentPath.empty()) {
    ready = ConfirmSaveBeforeClose(app, true);
    FindActiveDocument(app);
    if (!ready || app.currentPath.empty()) {
      ready = false;
      app.platform.Message(" Document was not saved, FTP upload cancelled.", MsgIcon::None, MsgButtons::Ok);
    }
  }
  app.publish.changedOnly = boxes.changedOnly;
  // Without a page made now, an older page must not go out under this document's name.
  if (ready && CreateWebPage(app)) PublishActiveDocument(app);
  app.publish = boxes;
  WriteProfileFile(ConfigFile(app, kProfileFile), PublishLayout(app.publish));
}

void ShowPublishDialog(App& app) {
  QDialog d(app.platform.Owner());
  d.setWindowTitle("Publish");
  if (app.platform.Owner()) d.setWindowIcon(app.platform.Owner()->windowIcon());
  auto* grid = new QGridLayout;
  QLineEdit* name = AddRow(grid, 0, "100", "Program name:", "101", core::FileNameOf(app.currentPath));
  AddRow(grid, 1, "147", "Remote folder:", "148", app.publish.remoteFolder);
  AddRow(grid, 2, "102", "Host address:", "103", app.publish.hostName);
  AddRow(grid, 3, "104", "User ID:", "105", app.publish.userId);
  QLineEdit* password = AddRow(grid, 4, "106", "Password:", "107", app.publish.password);
  password->setEchoMode(QLineEdit::Password);
  auto* show = new QCheckBox("Show");
  show->setObjectName("showPassword");
  grid->addWidget(show, 4, 2);
  QObject::connect(show, &QCheckBox::toggled, password,
                   [password](bool on) { password->setEchoMode(on ? QLineEdit::Normal : QLineEdit::Password); });
  AddRow(grid, 5, "108", "Comment:", "109", app.publish.domainName);
  QPushButton* open = MakeButton("127", "Open");
  QPushButton* save = MakeButton("128", "Save");
  grid->addWidget(open, 0, 2);
  grid->addWidget(save, 1, 2);
  auto* lower = new QCheckBox(" Force lowercase upload");
  lower->setObjectName("119");
  lower->setChecked(app.settings.lowercaseUpload == 1);
  grid->addWidget(lower, 6, 1);
  auto* changedOnly = new QCheckBox("Upload changed files only");
  changedOnly->setObjectName("changedOnly");
  changedOnly->setChecked(app.publish.changedOnly);
  grid->addWidget(changedOnly, 7, 1);

  QPushButton* help = MakeButton("400", "Help");
  QPushButton* publish = MakeButton("300", "Publish");
  QPushButton* cancel = MakeButton("2", "Cancel");
  publish->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(help);
  buttons->addStretch();
  buttons->addWidget(publish);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(&d);
  column->addLayout(grid);
  column->addLayout(buttons);

  QObject::connect(open, &QPushButton::clicked, &d, [&app, &d] { PressOpen(app, d); });
  QObject::connect(save, &QPushButton::clicked, &d, [&app, &d] { PressSave(app, d); });
  QObject::connect(publish, &QPushButton::clicked, &d, [&app, &d] { PressPublish(app, ReadBoxes(d)); });
  QObject::connect(help, &QPushButton::clicked, &d, [&app] { app.platform.ShowHelp("help/contents.chm", 62); });
  QObject::connect(cancel, &QPushButton::clicked, &d, &QDialog::reject);
  QObject::connect(lower, &QCheckBox::clicked, &d, [&app](bool on) { app.settings.lowercaseUpload = on ? 1 : 0; });

  name->setFocus();
  FeedbackIfOn(app);
  app.platform.RunDialog(d);
}
