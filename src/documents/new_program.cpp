// The New Program and File Associations dialogs.
#include "documents/new_program.h"

#include <QMainWindow>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "documents/shell_events.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "platform/platform.h"

namespace {

const char* const kTypeLabels[] = {" HTML5",
                                   " HTML 4.01 Transitional",
                                   " HTML 4.01 Strict",
                                   " HTML 4.01 Frameset",
                                   " XHTML 1.0 Transitional",
                                   " XHTML 1.0 Strict",
                                   " XHTML 1.0 Frameset",
                                   " Blank Page"};
const char* const kTemplates[] = {"res/Html5.web",
                                  "res/HtmlTransitional.web",
                                  "res/HtmlStrict.web",
                                  "res/HtmlFrameset.web",
                                  "res/XhtmlTransitional.web",
                                  "res/XhtmlStrict.web",
                                  "res/XhtmlFrameset.web",
                                  "res/New.web"};
const char* const kAssociationLabels[] = {" Program files (*.web)", " Backup files (*.bak)", " HTML files (*.html)",
                                          " XHTML files (*.xhtml)", " CSS files (*.css)",    " JavaScript files (*.js)",
                                          " Java files (*.java)",   " Plain text (*.txt)",   " Word files (*.doc)",
                                          " All files (*.*)"};

QPushButton* Button(QDialog* dialog, const char* text, int id) {
  auto* b = new QPushButton(text, dialog);
  b->setObjectName(QString::number(id));
  b->setAutoDefault(false);
  return b;
}

class NewProgramDialog : public QDialog {
 public:
  NewProgramDialog(App& app, QWidget* parent) : QDialog(parent), app_(app) {
    setWindowTitle("New Program");
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < 8; ++i) {
      boxes_[i] = new QCheckBox(kTypeLabels[i], this);
      boxes_[i]->setObjectName(QString::number(100 + 10 * i));
      grid->addWidget(boxes_[i], i % 4, i / 4);
      connect(boxes_[i], &QCheckBox::clicked, this, [this, i] { Choose(i); });
    }
    auto* label = new QLabel("Program name", this);
    label->setObjectName("180");
    name_ = new QLineEdit("New.web", this);
    name_->setObjectName("190");
    auto* hint = new QLabel("Enter a program name within the text input field.", this);
    hint->setObjectName("200");
    grid->addWidget(label, 4, 0, 1, 2);
    grid->addWidget(name_, 5, 0, 1, 2);
    grid->addWidget(hint, 6, 0, 1, 2);
    QPushButton* ok = Button(this, "Ok", 300);
    ok->setDefault(true);
    QPushButton* cancel = Button(this, "Cancel", 2);
    QPushButton* help = Button(this, "Help", 3);
    auto* row = new QHBoxLayout;
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addWidget(help);
    grid->addLayout(row, 7, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { app_.platform.ShowHelp("help/contents.chm", 16); });
    Recheck();
    name_->setFocus();
  }

  std::string Name() const { return ProgramNameWithExtension(name_->text().toStdString()); }

 private:
  void Choose(int chosen) {
    for (int i = 0; i < 8; ++i) *NewProgramFlag(app_.settings, i) = i == chosen ? 1 : 0;
    Recheck();
  }
  void Recheck() {
    for (int i = 0; i < 8; ++i) boxes_[i]->setChecked(*NewProgramFlag(app_.settings, i) == 1);
  }
  void OnOk() {
    SaveSettings(app_);
    std::string typed = name_->text().toStdString();
    std::string name = ProgramNameWithExtension(typed);
    bool blank = core::Trim(typed).empty();
    if (blank || ProgramNameTaken(name, QDir::currentPath().toStdString(), app_.currentPath)) {
      app_.platform.Message(blank ? "Enter a program name within the text input field."
                                  : "Program name: " + name +
                                        "\rThis file already exists. Please enter a different file name.",
                            MsgIcon::Information);
      name_->setFocus();
      return;
    }
    accept();
  }

  App& app_;
  QCheckBox* boxes_[8];
  QLineEdit* name_;
};

class FileAssociationsDialog : public QDialog {
 public:
  FileAssociationsDialog(App& app, QWidget* parent) : QDialog(parent) {
    setWindowTitle("File Associations");
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < 10; ++i) {
      auto* box = new QCheckBox(kAssociationLabels[i], this);
      box->setObjectName(QString::number(130 + 10 * i));
      box->setChecked(*AssociationFlag(app.settings, i) == 1);
      layout->addWidget(box);
      connect(box, &QCheckBox::toggled, this, [&app, i](bool on) { *AssociationFlag(app.settings, i) = on ? 1 : 0; });
    }
    QPushButton* help = Button(this, "Help", 3);
    QPushButton* ok = Button(this, "Ok", 1);
    ok->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addWidget(help);
    row->addWidget(ok);
    layout->addLayout(row);
    connect(help, &QPushButton::clicked, this, [&app] { app.platform.ShowHelp("help/contents.chm", 57); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  }
};

// Opens the chosen template in a new tab named `name`, without a path yet.
bool OpenTemplate(App& app, const std::string& templ, const std::string& name) {
  std::string bytes;
  if (!core::ReadFileBytes(ProgramFile(app, templ), bytes)) {
    app.platform.Message("The template " + templ + " could not be read.\rThe new program starts empty.",
                         MsgIcon::Information);
    bytes.clear();
  }
  if (!OpenUntitledTab(app, name, bytes)) return false;
  FindActiveDocument(app);
  SaveSettings(app);
  std::string shown = core::JoinPath(QDir::currentPath().toStdString(), name);
  if (QMainWindow* window = ShellWindow(app)) window->setWindowTitle(QString::fromUtf8(shown.c_str()));
  return true;
}

}  // namespace

std::string ProgramNameWithExtension(const std::string& name) {
  return name.find(".web") == std::string::npos ? name + ".web" : name;
}

bool ProgramNameTaken(const std::string& name, const std::string& folder, const std::string& currentPath) {
  return core::FileExists(core::JoinPath(folder, name)) || name == core::FileNameOf(currentPath);
}

int* NewProgramFlag(Settings& s, int index) {
  int* flags[] = {&s.html5,       &s.htmlTransitional, &s.htmlStrict, &s.htmlFrameset, &s.xhtmlTransitional,
                  &s.xhtmlStrict, &s.xhtmlFrameset,    &s.blankPage};
  return flags[index];
}

int* AssociationFlag(Settings& s, int index) {
  int* flags[] = {&s.webFiles, &s.bakFiles,  &s.htmlFiles,  &s.xhtmlFiles, &s.cssFiles,
                  &s.jsFiles,  &s.javaFiles, &s.plainFiles, &s.wordFiles,  &s.allFiles};
  return flags[index];
}

std::string TemplateFor(const Settings& s) {
  for (int i = 0; i < 8; ++i)
    if (*NewProgramFlag(const_cast<Settings&>(s), i) == 1) return kTemplates[i];
  return kTemplates[7];  // no type chosen: the blank page
}

void NewProgramCommand(App& app) {
  FeedbackIfOn(app);
  int before[8];
  for (int i = 0; i < 8; ++i) before[i] = *NewProgramFlag(app.settings, i);
  NewProgramDialog dialog(app, app.platform.Owner());
  if (!app.platform.RunDialog(dialog)) {
    // Cancel keeps the document type the user had before the dialog.
    for (int i = 0; i < 8; ++i) *NewProgramFlag(app.settings, i) = before[i];
    return;
  }
  const std::string name = dialog.Name();
  if (!OpenTemplate(app, TemplateFor(app.settings), name)) return;
  EmptyUndoHistory(app);
  app.currentPath = core::JoinPath(QDir::currentPath().toStdString(), name);
  SaveActiveDocument(app);
}

void FileAssociationsCommand(App& app) {
  FeedbackIfOn(app);
  FileAssociationsDialog dialog(app, app.platform.Owner());
  if (app.platform.RunDialog(dialog)) SaveSettings(app);
}
