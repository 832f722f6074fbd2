// Watches a site's folders and reports the files that changed, also those another
// program replaced by an atomic rename (a watch on the file itself goes silent then).
#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/file_stamp.h"

namespace preview {

enum class ChangeKind { Ignore, Program, Library, StyleSheet, Other };

// What a change to `path` asks of the preview: a program's page is rebuilt, a library's
// pages too, a style sheet swapped, anything else reloads. The editor's own files, backups and the temporaries of
// safe writes are no change to the site.
ChangeKind KindOfChange(const std::string& path, const std::string& configFolder);

class SiteWatcher : public QObject {
  Q_OBJECT

 public:
  explicit SiteWatcher(QObject* parent = nullptr);
  // Watches `folder` and the folders below it (not hidden ones); forgets the earlier one.
  void Watch(const std::string& folder);
  // The file is as it is now: a change the editor made itself is not reported again.
  void Note(const std::string& file);
  // Reports the files changed since the last report, a few milliseconds after the last event.
  std::function<void(const std::vector<std::string>& files)> changed;

 private:
  void Scan(const std::string& folder, bool report, std::vector<std::string>& found);
  void Settle();

  QFileSystemWatcher watcher_;
  QTimer settle_;
  std::string root_;
  std::set<std::string> dirty_;
  std::map<std::string, core::FileStamp> stamps_;
};

}  // namespace preview
