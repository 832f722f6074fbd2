#include "platform/verosta_folder.h"

#include <sys/stat.h>

#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/files.h"
#include "core/own_files.h"
#include "core/text.h"
#include "platform/config_folder.h"

namespace home {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Files of an older copy that belong to the user rather than to the program.
bool UsersOwn(const std::string& rel, const PlanInput& in) {
  if (rel == "Verosta.ini") return in.settingsChanged;
  if (IsConfigurationFile(rel)) return true;
  if (rel.find('/') == std::string::npos) return EndsWith(rel, ".web") && rel != "New.web";
  if (StartsWith(rel, "Library/") || StartsWith(rel, "Themes/")) return !in.shipped.empty() && !in.shipped.count(rel);
  return false;
}

bool Seed(const std::string& rel, const PlanInput& in) {
  if (rel == "New.web") return true;
  if (StartsWith(rel, "Library/") || StartsWith(rel, "Themes/")) return in.shipped.empty() || in.shipped.count(rel);
  return false;
}

}  // namespace

std::string ChooseVerostaFolder(const FolderChoice& c) {
  if (!c.homeVariable.empty()) return c.homeVariable;
  if (c.portable) return c.programFolder;
  return core::JoinPath(c.documentsExists ? c.documentsFolder : c.userHome, "Verosta");
}

FolderPlan PlanVerostaFolder(const PlanInput& in) {
  FolderPlan plan;
  plan.folders = {"Library", "Themes"};
  plan.configFolders = {kProfilesFolder, kSessionsFolder};
  const bool hasDefaults =
      std::find(in.programFiles.begin(), in.programFiles.end(), kDefaultSettings) != in.programFiles.end();
  if (!in.firstUse) {
    if (!in.sameFolder) plan.copies.push_back({"New.web", "New.web", false});
    return plan;
  }
  if (!in.sameFolder)
    for (const std::string& rel : in.programFiles)
      if (UsersOwn(rel, in)) {
        const bool config = IsConfigurationFile(rel);
        plan.copies.push_back({rel, rel, true, config, config});
      }
  if (hasDefaults) plan.copies.push_back({kDefaultSettings, "Verosta.ini", false, true, false});
  if (!in.sameFolder)
    for (const std::string& rel : in.programFiles)
      if (Seed(rel, in)) plan.copies.push_back({rel, rel, false});
  return plan;
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The files a plan looks at: the top level and the user's folders, relative with "/".
std::vector<std::string> ProgramFiles(const QString& folder) {
  std::vector<std::string> files;
  QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) files.push_back(name.toStdString());
  for (const char* sub : {"Library", "Sessions", "Themes", "res"}) {
    QDirIterator it(folder + "/" + sub, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    std::vector<std::string> found;
    while (it.hasNext()) found.push_back(dir.relativeFilePath(it.next()).toStdString());
    std::sort(found.begin(), found.end());
    if (std::string(sub) == "res") {
      // Only the default settings matter under res/.
      for (const std::string& f : found)
        if (f == kDefaultSettings) files.push_back(f);
    } else {
      files.insert(files.end(), found.begin(), found.end());
    }
  }
  return files;
}

std::set<std::string> ShippedList(const std::string& programFolder) {
  std::set<std::string> shipped;
  std::string bytes;
  if (!core::ReadFileBytes(core::JoinPath(programFolder, kShippedList), bytes)) return shipped;
  for (const std::string& line : core::SplitLines(bytes))
    if (!line.empty()) shipped.insert(line);
  return shipped;
}

std::string Absolute(const std::string& base, const std::string& path) {
  return QDir::cleanPath(QDir(Q(base)).absoluteFilePath(Q(path))).toStdString();
}

bool SameFolder(const std::string& a, const std::string& b) {
  return QFileInfo(Q(a)).canonicalFilePath() == QFileInfo(Q(b)).canonicalFilePath();
}

// Made readable by its owner only: it holds passwords. A folder that cannot be made leaves
// the configuration in `fallback` for this run.
std::string MakeConfigFolder(const std::string& chosen, const std::string& fallback, Handover& h) {
  if (QDir().mkpath(Q(chosen))) {
    ::chmod(chosen.c_str(), 0700);  // a file system without modes (a USB stick) keeps its own
    return chosen;
  }
  h.problem += (h.problem.empty() ? "" : "\r\r") + std::string("The configuration folder\r") + chosen +
               "\rcould not be created. Your settings are kept in\r" + fallback + "\rfor this run.";
  return fallback;
}

void MoveOne(const std::string& from, const std::string& to, Handover& h) {
  if (QFileInfo::exists(Q(to)) || QFileInfo(Q(to)).isSymLink()) {
    h.kept.push_back(from);
    return;
  }
  QDir().mkpath(Q(core::FolderOf(to)));
  std::string error;
  if (MoveFileKeepingMode(from, to, &error)) h.moved.push_back(from);
  else h.failed.push_back(error);
}

// The configuration files an older layout kept in `folder` move to the configuration folder.
void MoveConfiguration(const std::string& folder, const std::string& config, Handover& h) {
  std::vector<std::string> files;
  std::set<std::string> profiles;
  for (const QString& name : QDir(Q(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
    std::string rel = name.toStdString(), bytes;
    files.push_back(rel);
    if (core::EqualsNoCase(core::ExtensionOf(rel), "ini") && !IsConfigurationFile(rel) &&
        core::ReadFileBytes(core::JoinPath(folder, rel), bytes) && core::LooksLikeFtpProfile(bytes))
      profiles.insert(rel);
  }
  QDirIterator it(Q(core::JoinPath(folder, kSessionsFolder)), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) files.push_back(QDir(Q(folder)).relativeFilePath(it.next()).toStdString());
  for (const MoveStep& step : PlanConfigMoves(files, profiles))
    MoveOne(core::JoinPath(folder, step.from), core::JoinPath(config, step.to), h);
  QDir(Q(folder)).rmdir(kSessionsFolder);  // only when it was emptied
}

void Carry(const CopyStep& step, const std::string& programFolder, const std::string& folder, const std::string& config,
           Handover& h) {
  const std::string from = core::JoinPath(programFolder, step.from);
  const std::string to = core::JoinPath(step.toConfig ? config : folder, step.to);
  if (!QFileInfo(Q(from)).isFile()) return;
  if (step.move) return MoveOne(from, to, h);
  if (QFileInfo::exists(Q(to))) return;
  QDir().mkpath(Q(core::FolderOf(to)));
  if (!QFile::copy(Q(from), Q(to))) return;
  // A copy from a read-only program folder would be read-only too.
  QFile::setPermissions(Q(to), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                   QFileDevice::ReadOther);
  if (step.usersOwn) h.copied.push_back(step.to);
}

}  // namespace

std::string EnterVerostaFolder(const std::string& programFolder, std::string& message, std::string& configFolder) {
  message.clear();
  FolderChoice choice;
  choice.homeVariable = qEnvironmentVariable(kHomeVariable).toStdString();
  choice.programFolder = programFolder;
  choice.portable = QFileInfo::exists(Q(core::JoinPath(programFolder, kPortableMarker)));
  choice.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  choice.documentsExists = !choice.documentsFolder.empty() && QFileInfo(Q(choice.documentsFolder)).isDir();
  choice.userHome = QDir::homePath().toStdString();
  std::string folder = Absolute(programFolder, ChooseVerostaFolder(choice));

  Handover h;
  if (!QDir().mkpath(Q(folder))) {
    h.problem = "The Verosta folder\r" + folder +
                "\rcould not be created. Your work is kept in the program folder for this run.";
    folder = programFolder;
  }
  const std::string chosenConfig = ChooseConfigFolder(qEnvironmentVariable(kConfigHomeVariable).toStdString(),
                                                      choice.userHome, choice.portable, programFolder);
  configFolder = MakeConfigFolder(Absolute(programFolder, chosenConfig), folder, h);
  PlanInput in;
  in.sameFolder = SameFolder(folder, programFolder);
  // Without settings in either place the editor is new to this user, even when the folder holds pages.
  in.firstUse = !QFileInfo::exists(Q(core::JoinPath(configFolder, "Verosta.ini"))) &&
                !QFileInfo::exists(Q(core::JoinPath(folder, "Verosta.ini")));
  if (!SameFolder(folder, configFolder)) MoveConfiguration(folder, configFolder, h);

  in.programFiles = ProgramFiles(Q(programFolder));
  in.shipped = ShippedList(programFolder);
  std::string settings, defaults;
  in.settingsChanged =
      core::ReadFileBytes(core::JoinPath(programFolder, "Verosta.ini"), settings) &&
      (!core::ReadFileBytes(core::JoinPath(programFolder, kDefaultSettings), defaults) || settings != defaults);
  FolderPlan plan = PlanVerostaFolder(in);
  for (const std::string& sub : plan.folders) QDir(Q(folder)).mkpath(Q(sub));
  for (const std::string& sub : plan.configFolders) QDir(Q(configFolder)).mkpath(Q(sub));
  for (const CopyStep& step : plan.copies) Carry(step, programFolder, folder, configFolder, h);
  message = HandoverMessage(h, programFolder, folder, configFolder);
  QDir::setCurrent(Q(folder));
  return folder;
}

}  // namespace home
