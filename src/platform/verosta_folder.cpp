#include "platform/verosta_folder.h"

#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/files.h"
#include "core/text.h"

namespace home {

namespace {

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Files of an older copy that belong to the user rather than to the program.
bool UsersOwn(const std::string& rel, const PlanInput& in) {
  if (rel == "Verosta.ini") return in.settingsChanged;
  if (rel == "FtpProjs.ini") return true;
  if (rel.find('/') == std::string::npos) return EndsWith(rel, ".web") && rel != "New.web";
  if (StartsWith(rel, "Sessions/")) return true;
  if (StartsWith(rel, "Library/") || StartsWith(rel, "Themes/"))
    return !in.shipped.empty() && !in.shipped.count(rel);
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
  plan.folders = {"Library", "Sessions", "Themes"};
  const bool hasDefaults = std::find(in.programFiles.begin(), in.programFiles.end(), kDefaultSettings) !=
                           in.programFiles.end();
  if (!in.firstUse) {
    if (!in.sameFolder) plan.copies.push_back({"New.web", "New.web", false});
    return plan;
  }
  if (!in.sameFolder)
    for (const std::string& rel : in.programFiles)
      if (UsersOwn(rel, in)) plan.copies.push_back({rel, rel, true});
  if (hasDefaults) plan.copies.push_back({kDefaultSettings, "Verosta.ini", false});
  if (!in.sameFolder)
    for (const std::string& rel : in.programFiles)
      if (Seed(rel, in)) plan.copies.push_back({rel, rel, false});
  return plan;
}

std::string MovedMessage(const std::vector<std::string>& moved, const std::string& from, const std::string& to) {
  if (moved.empty()) return {};
  std::string text = "Your files were copied from the program folder\r" + from + "\rto your Verosta folder\r" + to +
                     "\r(files already there were kept):\r";
  const size_t shown = std::min<size_t>(moved.size(), 12);
  for (size_t i = 0; i < shown; ++i) text += "\r" + moved[i];
  if (moved.size() > shown) text += "\rand " + std::to_string(moved.size() - shown) + " more.";
  return text;
}

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The files a plan looks at: the top level and the user's folders, relative with "/".
std::vector<std::string> ProgramFiles(const QString& folder) {
  std::vector<std::string> files;
  QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name))
    files.push_back(name.toStdString());
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

}  // namespace

std::string EnterVerostaFolder(const std::string& programFolder, std::string& message) {
  message.clear();
  FolderChoice choice;
  choice.homeVariable = qEnvironmentVariable(kHomeVariable).toStdString();
  choice.programFolder = programFolder;
  choice.portable = QFileInfo::exists(Q(core::JoinPath(programFolder, kPortableMarker)));
  choice.documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
  choice.documentsExists = !choice.documentsFolder.empty() && QFileInfo(Q(choice.documentsFolder)).isDir();
  choice.userHome = QDir::homePath().toStdString();
  std::string folder = QDir::cleanPath(QDir(Q(programFolder)).absoluteFilePath(Q(ChooseVerostaFolder(choice))))
                           .toStdString();

  QDir target(Q(folder));
  PlanInput in;
  in.sameFolder = QFileInfo(Q(folder)).canonicalFilePath() == QFileInfo(Q(programFolder)).canonicalFilePath();
  // A folder without settings is new to the editor, even when it already holds the user's pages.
  in.firstUse = !QFileInfo::exists(Q(core::JoinPath(folder, "Verosta.ini")));
  if (!QDir().mkpath(Q(folder))) {
    message = "The Verosta folder\r" + folder +
              "\rcould not be created. Your work is kept in the program folder for this run.";
    QDir::setCurrent(Q(programFolder));
    return programFolder;
  }
  in.programFiles = ProgramFiles(Q(programFolder));
  in.shipped = ShippedList(programFolder);
  std::string settings, defaults;
  in.settingsChanged = core::ReadFileBytes(core::JoinPath(programFolder, "Verosta.ini"), settings) &&
                       (!core::ReadFileBytes(core::JoinPath(programFolder, kDefaultSettings), defaults) ||
                        settings != defaults);

  FolderPlan plan = PlanVerostaFolder(in);
  for (const std::string& sub : plan.folders) target.mkpath(Q(sub));
  std::vector<std::string> moved;
  for (const CopyStep& step : plan.copies) {
    QString from = Q(core::JoinPath(programFolder, step.from));
    QString to = Q(core::JoinPath(folder, step.to));
    if (QFileInfo::exists(to) || !QFileInfo(from).isFile()) continue;
    QDir().mkpath(QFileInfo(to).absolutePath());
    if (!QFile::copy(from, to)) continue;
    // A copy from a read-only program folder would be read-only too.
    QFile::setPermissions(to, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                  QFileDevice::ReadOther);
    if (step.usersOwn) moved.push_back(step.to);
  }
  message = MovedMessage(moved, programFolder, folder);
  QDir::setCurrent(Q(folder));
  return folder;
}

}  // namespace home
