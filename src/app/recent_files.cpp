#include "app/recent_files.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

#include "documents/application.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "platform/platform.h"

std::vector<std::string> ParseRecentFiles(const std::string& bytes) {
  std::vector<std::string> paths;
  size_t start = 0;
  while (start < bytes.size() && static_cast<int>(paths.size()) < kRecentFileCount) {
    size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!core::Trim(line).empty()) paths.push_back(line);
    start = end + 1;
  }
  return paths;
}

std::string RecentFilesText(const std::vector<std::string>& paths) {
  std::string text;
  for (const std::string& p : paths) text += p + "\r\n";
  return text;
}

std::vector<std::string> WithRecentFile(std::vector<std::string> paths, const std::string& path) {
  if (core::Trim(path).empty() || path.find_first_of("\r\n") != std::string::npos) return paths;
  std::erase(paths, path);
  paths.insert(paths.begin(), path);
  if (static_cast<int>(paths.size()) > kRecentFileCount) paths.resize(kRecentFileCount);
  return paths;
}

std::vector<std::string> LoadRecentFiles(const App& app) {
  const std::string file = ConfigFile(app, kRecentFilesName);
  std::string bytes;
  if (!core::FileExists(file) || !core::ReadFileBytes(file, bytes)) return {};
  return ParseRecentFiles(bytes);
}

namespace {

// A failed write keeps the old file; nothing else depends on it.
void StoreRecentFiles(App& app, const std::vector<std::string>& paths) {
  core::WriteFileAtomically(ConfigFile(app, kRecentFilesName), RecentFilesText(paths));
  RefreshRecentMenu(app);
}

}  // namespace

void NoteRecentFile(App& app, const std::string& path) {
  std::vector<std::string> before = LoadRecentFiles(app);
  std::vector<std::string> after = WithRecentFile(before, path);
  if (after != before) StoreRecentFiles(app, after);
}

void RefreshRecentMenu(App& app) {
  if (!app.window) return;
  const std::vector<std::string> paths = LoadRecentFiles(app);
  QMenu* submenu = nullptr;
  for (int i = 0; i < kRecentFileCount; ++i) {
    QAction* a = MenuItem(app.window, kRecentFileItems[i]);
    if (!a) continue;
    const bool used = i < static_cast<int>(paths.size());
    QString label = used ? QString::fromUtf8(paths[i].c_str()).replace("&", "&&") : QString();
    a->setText(i < 9 ? QString("&%1 %2").arg(i + 1).arg(label) : QString("1&0 %1").arg(label));
    a->setVisible(used);
    for (QObject* o : a->associatedObjects())
      if (auto* m = qobject_cast<QMenu*>(o)) submenu = m;
  }
  if (submenu) submenu->menuAction()->setEnabled(!paths.empty());
}

void OpenRecentFile(App& app, int index) {
  std::vector<std::string> paths = LoadRecentFiles(app);
  if (index < 0 || index >= static_cast<int>(paths.size())) return;
  const std::string path = paths[index];
  if (!core::FileExists(path)) {
    app.platform.Message("This file no longer exists:\r" + path, MsgIcon::Information);
    paths.erase(paths.begin() + index);
    StoreRecentFiles(app, paths);
    return;
  }
  if (IsDocumentOpen(app, path)) {
    // Already open: its tab comes to the front.
    for (int tab = 1; tab <= DocumentCount(app); ++tab)
      if (int slot = SlotOfTab(app, tab); slot && core::ToLower(app.docs[slot].path) == core::ToLower(path))
        ActivateTab(app, tab);
    return;
  }
  if (DocumentCount(app) == kMaxDocuments) {
    ReportTabsFull(app);
    return;
  }
  app.currentPath = path;
  OpenDocumentTab(app, path, path);
}
