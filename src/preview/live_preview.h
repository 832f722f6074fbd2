// Live Preview: the site of the active program served to any browser, each page
// reloading itself when its program is saved, a style sheet swapped in place, and the
// translator's errors shown over the page.
#pragma once
#include <QObject>
#include <QTimer>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "preview/preview_server.h"
#include "preview/site_watcher.h"
#include "tools/translator_messages.h"

struct App;

namespace preview {

class LivePreview : public QObject {
  Q_OBJECT

 public:
  LivePreview(App& app, QObject* parent);

  // Serves the site of `documentPath` and shows its page: in the browsers already
  // showing the preview, else in the default browser. False (after telling the user)
  // when the server cannot start.
  bool Show(const std::string& documentPath);
  const PreviewServer& Server() const { return server_; }
  const std::string& Site() const { return site_; }

  // The editor's text of `programPath` changed: with "Preview while typing" its page is
  // rebuilt from that text once the typing pauses.
  void TextEdited(const std::string& programPath);
  // Listens to the typing in every open editor (those opened later as their tabs come forward).
  void ListenToEditors();

 private:
  void FilesChanged(const std::vector<std::string>& files);
  void Rebuild(const std::string& programPath, const std::string* text = nullptr);
  void TabChanged(int index);
  void Tell(const std::string& json, const std::string& pageFile);
  bool UseSite(const std::string& site);
  void TellOtherDevicesAddress();
  std::set<std::string> ProgramsOnShow() const;

  App& app_;
  PreviewServer server_;
  SiteWatcher watcher_;
  std::string site_;
  std::map<std::string, TranslatorMessage> errors_;  // the failed build of each page
  bool building_ = false;
  std::vector<std::string> waiting_;  // changes seen while a page was being built
  QTimer typing_;
  std::string typedProgram_;
};

// The page a document is previewed as: a program's made page, an HTML file itself;
// "" for anything else.
std::string PreviewPageOf(const std::string& documentPath);

// The running preview of this editor, or null.
LivePreview* RunningPreview(App& app);

}  // namespace preview
