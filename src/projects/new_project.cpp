#include "projects/new_project.h"

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>

#include "documents/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/site_file.h"
#include "core/text.h"
#include "documents/dialog_parts.h"
#include "platform/platform.h"

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
std::string S(const QString& s) { return s.toUtf8().toStdString(); }

const char* const kScripts[] = {"jquery.js", "jquery-ui.js", "Texteffects.js"};

void MakeFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directory(path, ec);
}

void CopyScript(const std::string& from, const std::string& to) {
  std::string bytes;
  if (core::FileExists(from) && core::ReadFileBytes(from, bytes)) core::WriteFileAtomically(to, bytes);
}

class NewProjectDialog : public QDialog {
 public:
  explicit NewProjectDialog(App& app) : QDialog(app.platform.Owner()), app_(app) {
    setWindowTitle("New Project");
    auto* grid = new QGridLayout(this);
    location_ = Edit(kProjectLocation, Q(std::filesystem::current_path().string()));
    name_ = Edit(kProjectName, "NewProject");
    grid->addWidget(Label("Location:", kProjectLocationLabel), 0, 0);
    grid->addWidget(location_, 1, 0);
    grid->addWidget(IdButton(this, kProjectBrowse, "Browse...", [this] { Browse(); }), 1, 1);
    grid->addWidget(Label("Folder name:", kProjectNameLabel), 2, 0);
    grid->addWidget(name_, 3, 0);

    auto* sub = new QCheckBox(" Include sub directories.", this);
    sub->setObjectName(QString::number(kProjectSubFolders));
    sub->setChecked(app_.settings.projectDirectories == 1);
    // Remembered in memory; the file gets it with the next settings write.
    connect(sub, &QCheckBox::toggled, this, [this](bool on) { app_.settings.projectDirectories = on ? 1 : 0; });
    grid->addWidget(sub, 4, 0);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(IdButton(this, kProjectHelp, "Help", [this] { app_.platform.ShowHelp("help/contents.chm", 22); }));
    QPushButton* ok = IdButton(this, kProjectOk, "Ok", [this] { accept(); });
    ok->setDefault(true);
    row->addWidget(ok);
    row->addWidget(IdButton(this, kProjectCancel, "Cancel", [this] { reject(); }));
    grid->addLayout(row, 5, 0, 1, 2);
  }

  std::string Location() const { return S(location_->text()); }
  std::string Name() const { return S(name_->text()); }

 private:
  QLineEdit* Edit(int id, const QString& text) {
    auto* e = new QLineEdit(text, this);
    e->setObjectName(QString::number(id));
    e->setMinimumWidth(320);
    return e;
  }
  QLabel* Label(const char* text, int id) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::number(id));
    return l;
  }
  void Browse() {
    std::string folder = Location();
    if (app_.platform.PickFolder("Please select a project folder", folder)) location_->setText(Q(folder));
    name_->setFocus();
  }

  App& app_;
  QLineEdit* location_ = nullptr;
  QLineEdit* name_ = nullptr;
};

}  // namespace

std::string CreateProject(const std::string& location, const std::string& name, bool withSubFolders,
                          const std::string& programFolder) {
  if (location.empty() || name.empty()) return std::string();
  // Joined as typed: a trailing separator on the location only doubles it, which is harmless.
  std::string project = location + "/" + name;
  MakeFolder(project);
  if (!core::FolderExists(project)) return std::string();  // nothing to put the rest into
  if (!core::FileExists(core::JoinPath(project, core::kSiteFileName))) {
    core::SiteFile site;
    site.name = name;
    core::WriteSiteFile(project, site);
  }
  if (withSubFolders) {
    for (const char* sub : {"Doc", "Images", "JavaScript"}) MakeFolder(project + "/" + sub);
    std::string scripts = core::JoinPath(programFolder.empty() ? "." : programFolder, "JavaScript");
    for (const char* script : kScripts) CopyScript(core::JoinPath(scripts, script), project + "/JavaScript/" + script);
    MakeFolder(project + "/Sound");
  }
  return project;
}

void NewProject(App& app) {
  NewProjectDialog dialog(app);
  FeedbackIfOn(app);
  if (!app.platform.RunDialog(dialog)) return;
  std::error_code ec;
  if (dialog.Location().empty() || dialog.Name().empty()) return;
  if (CreateProject(dialog.Location(), dialog.Name(), app.settings.projectDirectories == 1,
                    std::filesystem::current_path(ec).string())
          .empty())
    app.platform.Message(ProjectNotCreatedText(dialog.Location() + "/" + dialog.Name()), MsgIcon::Warning);
}

std::string ProjectNotCreatedText(const std::string& project) {
  return "The project folder could not be created:\r" + project + "\rPlease check the location and the folder name.";
}

std::string MakeSite(const std::string& folder) {
  if (core::FileExists(core::JoinPath(folder, core::kSiteFileName)))
    return folder + " is a site already; its settings are in " + core::kSiteFileName + ".";
  core::SiteFile site;
  site.name = core::FileNameOf(folder);
  std::string error;
  if (!core::WriteSiteFile(folder, site, &error)) return "The site file could not be written:\r" + error;
  return folder + " is a site now; its settings are in " + core::kSiteFileName + ".";
}

void SiteFolder(App& app) {
  std::string folder = app.currentPath.empty() ? std::string() : core::FolderOf(app.currentPath);
  if (!app.platform.PickFolder("Please select the folder of a web site", folder) || folder.empty()) return;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  app.platform.Message(MakeSite(folder), MsgIcon::Information);
}
