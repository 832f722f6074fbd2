#include "preview/site_watcher.h"

#include <filesystem>
#include <system_error>

#include "core/own_files.h"
#include "core/text.h"

namespace preview {

namespace fs = std::filesystem;

ChangeKind KindOfChange(const std::string& path, const std::string& configFolder) {
  std::string name = core::FileNameOf(path);
  std::string ext = core::ToLower(core::ExtensionOf(name));
  if (name.empty() || name[0] == '.' || name.back() == '~' || ext == "bak" || ext == "tmp" ||
      core::IsEditorsOwnFile(path, configFolder))
    return ChangeKind::Ignore;
  if (ext == "web") return ChangeKind::Program;
  if (ext == "lib") return ChangeKind::Library;
  if (ext == "css") return ChangeKind::StyleSheet;
  return ChangeKind::Other;
}

SiteWatcher::SiteWatcher(QObject* parent) : QObject(parent) {
  settle_.setSingleShot(true);
  settle_.setInterval(1);
  connect(&settle_, &QTimer::timeout, this, &SiteWatcher::Settle);
  auto mark = [this](const QString& path) {
    std::string p = path.toStdString();
    dirty_.insert(fs::is_directory(p) ? p : core::FolderOf(p));
    settle_.start();
  };
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, mark);
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, mark);
}

void SiteWatcher::Watch(const std::string& folder) {
  if (!watcher_.files().isEmpty()) watcher_.removePaths(watcher_.files());
  if (!watcher_.directories().isEmpty()) watcher_.removePaths(watcher_.directories());
  stamps_.clear();
  dirty_.clear();
  root_ = folder;
  std::vector<std::string> ignored;
  Scan(folder, false, ignored);
}

void SiteWatcher::Note(const std::string& file) { stamps_[file] = core::StampOf(file); }

// Stamps every file of `folder` and watches it and its new subfolders; with `report`,
// the files whose stamp changed (or that went) go into `found`.
void SiteWatcher::Scan(const std::string& folder, bool report, std::vector<std::string>& found) {
  std::error_code ec;
  std::set<std::string> seen;
  watcher_.addPath(QString::fromStdString(folder));
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::string path = entry.path().string();
    std::string name = entry.path().filename().string();
    if (entry.is_directory(ec)) {
      if (name[0] != '.' && !watcher_.directories().contains(QString::fromStdString(path))) Scan(path, report, found);
      continue;
    }
    seen.insert(path);
    core::FileStamp stamp = core::StampOf(path);
    auto it = stamps_.find(path);
    bool known = it != stamps_.end();
    if (known && it->second == stamp) continue;
    stamps_[path] = stamp;
    if (report) found.push_back(path);
    watcher_.addPath(QString::fromStdString(path));  // again after a rename replaced it
  }
  std::string prefix = folder + "/";
  for (auto it = stamps_.lower_bound(prefix); it != stamps_.end() && core::StartsWith(it->first, prefix);) {
    bool direct = it->first.find('/', prefix.size()) == std::string::npos;
    if (direct && !seen.count(it->first)) {
      if (report) found.push_back(it->first);
      it = stamps_.erase(it);
    } else {
      ++it;
    }
  }
}

void SiteWatcher::Settle() {
  std::vector<std::string> found;
  std::set<std::string> folders;
  folders.swap(dirty_);
  for (const std::string& folder : folders)
    if (folder == root_ || core::StartsWith(folder, root_ + "/")) Scan(folder, true, found);
  if (!found.empty() && changed) changed(found);
}

}  // namespace preview
