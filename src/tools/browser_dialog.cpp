#include "documents/dialog_parts.h"
#include "tools/browser_dialog.h"

#include <unistd.h>

#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "documents/application.h"
#include "app/shell.h"
#include "core/files.h"
#include "core/text.h"
#include <cstdlib>
#include "documents/document_table.h"
#include "platform/platform.h"
#include "tools/outside_programs.h"
#include "tools/web_page.h"

const BrowserRow* BrowserRows() {
  static const BrowserRow rows[kBrowserCount] = {
      {"Explorer", 100, 110, 111, "Locate Internet Explorer",
       "Internet explorer not found.\rPlease click on the Browse button to locate Program.", &Settings::explorerPath,
       &Settings::checkExplorer},
      {"Firefox", 120, 130, 131, "Locate Firefox",
       "Firefox not found.\rPlease click on the Browse button to locate Program.", &Settings::firefoxPath,
       &Settings::checkFirefox},
      {"Safari", 140, 150, 151, "Locate Safari",
       "Safari not found.\rPlease click on the Browse button to locate Program.", &Settings::safariPath,
       &Settings::checkSafari},
      {"Chrome", 160, 170, 171, "Locate Chrome",
       "Chrome not found.\rPlease click on the Browse button to locate Program.", &Settings::chromePath,
       &Settings::checkChrome},
      {"Opera", 180, 190, 191, "Locate Opera", "Opera not found.\rPlease click on the Browse button to locate Program.",
       &Settings::operaPath, &Settings::checkOpera},
  };
  return rows;
}

void ChooseBrowser(Settings& settings, int row) {
  for (int i = 0; i < kBrowserCount; ++i) settings.*BrowserRows()[i].check = i == row ? 1 : 0;
}

std::vector<std::string> BrowserProgramNames(int row) {
  // Explorer's row takes the browser that came after it; Safari's the one on its engine.
  static const std::vector<std::string> names[kBrowserCount] = {
      {"microsoft-edge", "microsoft-edge-stable"},
      {"firefox", "firefox-esr"},
      {"epiphany", "epiphany-browser"},
      {"google-chrome", "google-chrome-stable", "chromium", "chromium-browser"},
      {"opera", "opera-stable"},
  };
  return row >= 0 && row < kBrowserCount ? names[row] : std::vector<std::string>{};
}

std::string FindOnPath(const std::string& name, const std::string& pathList) {
  if (name.empty() || name.find('/') != std::string::npos) return {};
  size_t start = 0;
  while (start <= pathList.size()) {
    size_t end = pathList.find(':', start);
    std::string folder = pathList.substr(start, end == std::string::npos ? std::string::npos : end - start);
    // An empty entry is the current folder: never where a browser is looked up.
    std::string candidate = folder.empty() ? std::string() : core::JoinPath(folder, name);
    if (!candidate.empty() && core::FileExists(candidate) && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return {};
}

std::string LookUpBrowser(int row, const std::function<std::string(const std::string&)>& which) {
  for (const std::string& name : BrowserProgramNames(row))
    if (std::string found = which(name); !found.empty()) return found;
  return {};
}

std::string SystemBrowser(int row) {
  const char* pathList = std::getenv("PATH");
  return LookUpBrowser(row, [&](const std::string& name) { return FindOnPath(name, pathList ? pathList : ""); });
}

std::string BrowserProgram(const Settings& settings, int row) {
  const std::string& path = settings.*BrowserRows()[row].path;
  return core::Trim(path).empty() ? SystemBrowser(row) : path;
}

void CreateWebPageOk(App& app, const std::string (&paths)[kBrowserCount]) {
  for (int i = 0; i < kBrowserCount; ++i) app.settings.*BrowserRows()[i].path = paths[i];
  FindActiveDocument(app);
  if (app.currentPath.empty()) {
    app.platform.Message(kProgramNotSavedMessage, MsgIcon::Warning);
    return;
  }
  if (!CreateWebPage(app)) return;
  for (int i = 0; i < kBrowserCount; ++i) {
    const BrowserRow& row = BrowserRows()[i];
    if (app.settings.*row.check != 1) continue;
    const std::string program = BrowserProgram(app.settings, i);
    if (!core::FileExists(program)) {
      app.platform.Message(row.missingMessage, MsgIcon::Information);
      continue;
    }
    OpenPageInBrowser(app, program, app.generatedPagePath);
    SaveSettings(app);
  }
}

namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

class CreateWebPageDialog : public QDialog {
 public:
  explicit CreateWebPageDialog(App& app) : QDialog(app.platform.Owner()), app_(app) {
    setWindowTitle("Create Web Page");
    auto* grid = new QGridLayout;
    for (int i = 0; i < kBrowserCount; ++i) AddRow(grid, i);
    auto* help = Button("Help", 359);
    auto* ok = Button("Ok", 1);
    auto* cancel = Button("Cancel", 2);
    ok->setDefault(true);
    connect(help, &QPushButton::clicked, this, [this] { app_.platform.ShowHelp("help/contents.chm", 61); });
    connect(ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow(help, {ok, cancel}));
    paths_[0]->setFocus();
  }

 private:
  QPushButton* Button(const char* text, int id) { return IdButton(this, id, text); }

  void AddRow(QGridLayout* grid, int i) {
    const BrowserRow& row = BrowserRows()[i];
    checks_[i] = new QCheckBox(this);
    checks_[i]->setObjectName(QString::number(row.checkId));
    checks_[i]->setChecked(app_.settings.*row.check == 1);
    connect(checks_[i], &QCheckBox::clicked, this, [this, i] {
      ChooseBrowser(app_.settings, i);
      for (int k = 0; k < kBrowserCount; ++k) checks_[k]->setChecked(app_.settings.*BrowserRows()[k].check == 1);
    });
    paths_[i] = new QLineEdit(Q(app_.settings.*row.path), this);
    paths_[i]->setObjectName(QString::number(row.pathId));
    // An empty box starts the browser found on this system.
    paths_[i]->setPlaceholderText(Q(SystemBrowser(i)));
    paths_[i]->setMinimumWidth(320);
    auto* browse = Button("Browse...", row.browseId);
    connect(browse, &QPushButton::clicked, this, [this, i] { Browse(i); });
    auto* head = new QHBoxLayout;
    head->addWidget(checks_[i]);
    head->addWidget(new QLabel(row.name, this));
    head->addStretch();
    grid->addLayout(head, 2 * i, 0, 1, 2);
    grid->addWidget(paths_[i], 2 * i + 1, 0);
    grid->addWidget(browse, 2 * i + 1, 1);
  }

  void Browse(int i) {
    std::vector<std::string> chosen;
    if (app_.platform.OpenFile(ProgramFileDialog(BrowserRows()[i].browseTitle, ""), chosen) && !chosen.empty())
      paths_[i]->setText(Q(chosen.front()));
    paths_[i]->setFocus();
  }

  void Ok() {
    std::string paths[kBrowserCount];
    for (int i = 0; i < kBrowserCount; ++i) paths[i] = paths_[i]->text().toUtf8().toStdString();
    CreateWebPageOk(app_, paths);
  }

  App& app_;
  QCheckBox* checks_[kBrowserCount];
  QLineEdit* paths_[kBrowserCount];
};

}  // namespace

void RunCreateWebPageDialog(App& app) {
  FeedbackIfOn(app);
  CreateWebPageDialog dialog(app);
  app.platform.RunDialog(dialog);
}
