#include "app/shell.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QStatusBar>
#include <QTabWidget>
#include <filesystem>
#include <Qsci/qsciscintilla.h>

#include "documents/application.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "app/recent_files.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/editor_style.h"
#include "platform/platform.h"
#include "platform/verosta_folder.h"

namespace {

// The active document's text differs from its file (the editor's save point, or a change
// it cannot show).
bool ActiveTextChanged(const App& app) {
  if (app.activeSlot < 1 || app.activeSlot > kMaxDocuments || !app.docs[app.activeSlot].page) return false;
  const Document& d = app.docs[app.activeSlot];
  return d.unsavedChange || (d.editor && d.editor->isModified());
}

}  // namespace

std::string TitleFor(const App& app) {
  // A leading "*" while the active text differs from its file, as many desktop editors show it.
  const std::string marker = ActiveTextChanged(app) ? "*" : "";
  if (app.settings.titlebarName != 1) return marker + "Verosta editor.";
  std::string name = core::FileNameOf(app.currentPath);
  // A document without a file (New.web, Untitled.web, a new program) is named by its tab.
  if (name.empty() && app.activeSlot >= 1 && app.activeSlot <= kMaxDocuments) name = app.docs[app.activeSlot].tabName;
  return marker + "Verosta editor - " + name;
}

void WindowUpdateTitle(App& app) {
  if (app.window) app.window->setWindowTitle(QString::fromUtf8(TitleFor(app).c_str()));
}

void WindowShowTitleMarker(App& app) {
  if (!app.window) return;
  const bool modified = ActiveTextChanged(app);
  // Whatever the title says (a name, a path New Program showed), only its marker changes.
  QString title = app.window->windowTitle();
  if (title.startsWith('*')) title.remove(0, 1);
  app.window->setWindowTitle(modified ? "*" + title : title);
}

namespace {

const char kSettingsFile[] = "Verosta.ini";

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  std::filesystem::path full = std::filesystem::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

// Told once a run, after start-up: which file was damaged and where it is kept.
void ReportDamagedSettings(App& app) {
  SettingsFileState& state = app.settingsFile;
  if (!state.damaged || state.damageTold) return;
  state.damageTold = true;
  const std::string path = AbsolutePath(ConfigFile(app, kSettingsFile));
  app.platform.Message("The settings file is damaged:\r" + path +
                           "\rSettings it lacks or cannot give take their default values; the damaged file is "
                           "kept as " +
                           core::FileNameOf(path) + kDamagedSuffix + ".",
                       MsgIcon::Warning);
}

void WriteSettings(App& app) {
  SettingsFileState& state = app.settingsFile;
  const std::string file = ConfigFile(app, kSettingsFile);
  // The damaged file goes aside before anything replaces it, so the user can still look at it.
  if (state.damaged && KeepDamagedSettingsFile(file)) state.damaged = false;
  std::string error;
  if (SaveSettingsFile(app.settings, file, &error)) {
    state.writeFailureTold = false;
  } else if (!state.writeFailureTold) {
    // Said once, not at every later change while the disk stays full.
    state.writeFailureTold = true;
    app.platform.Message("The settings could not be saved to " + AbsolutePath(file) + ".\r" + error +
                             "\rChanges to them last until the editor closes.",
                         MsgIcon::Warning);
  }
}

}  // namespace

void ReadSettings(App& app) {
  const SettingsFileStatus status =
      LoadSettingsFile(app.settings, ConfigFile(app, kSettingsFile), ProgramFile(app, home::kDefaultSettings));
  if (status == SettingsFileStatus::Damaged) app.settingsFile.damaged = true;
}

void SaveAndApplySettings(App& app) {
  // Every write records the open documents, by tab position, as the session list.
  if (TabStrip(app)) {
    for (int n = 1; n <= kMaxDocuments; ++n) {
      int slot = SlotOfTab(app, n);
      app.settings.sessionFiles[n] = slot ? app.docs[slot].path : std::string();
    }
  }
  WriteSettings(app);
  UpdateTitle(app);
  RefreshStatusBar(app);
  SetStatusBarPart(app, 2, app.settings.statusbarFile == 1 ? "Program Name: " + app.currentPath : std::string());
  if (QsciScintilla* e = app.activeEditor) {
    const Settings& s = app.settings;
    Send(e, QsciScintillaBase::SCI_STYLESETBACK, QsciScintillaBase::STYLE_DEFAULT, s.colorBackground);
    Send(e, QsciScintillaBase::SCI_STYLECLEARALL);
    Send(e, QsciScintillaBase::SCI_SETCARETFORE, s.colorCursor);
    Send(e, QsciScintillaBase::SCI_STYLESETBACK, QsciScintillaBase::STYLE_LINENUMBER, s.colorGutter);
    Send(e, QsciScintillaBase::SCI_STYLESETFORE, QsciScintillaBase::STYLE_LINENUMBER, s.colorSetNumbers);
    Send(e, QsciScintillaBase::SCI_SETTABWIDTH, core::ParseNumber(s.tabIndent));
  }
}

void ReadPublishFields(const std::string& fileBytes, PublishFields& f) {
  auto lines = core::SplitLines(fileBytes);
  core::LastValue(lines, "Program name ", f.programName);
  core::LastValue(lines, "Remote folder ", f.remoteFolder);
  core::LastValue(lines, "Domain name ", f.domainName);
  core::LastValue(lines, "Host name ", f.hostName);
  core::LastValue(lines, "User id ", f.userId);
  core::LastValue(lines, "Password ", f.password);
}

void AfterCommand(App& app) {
  ApplyEditorStyle(app);
  RefreshStatusBar(app);
}

void StartUp(App& app) {
  auto* window = new MainWindow(app);
  app.platform.SetOwner(window);
  if (app.settings.maximizeWindow == 1) window->setWindowState(Qt::WindowMaximized);
  app.editorWidth = window->width() - 2;
  app.editorHeight = window->height() - 89;

  bool opened = false;
  if (app.settings.lastFile == 1) {
    for (int n = 1; n <= kMaxDocuments; ++n) {
      std::string path = core::Trim(app.settings.sessionFiles[n]);
      if (!path.empty() && core::FileExists(path) && OpenDocumentTab(app, path, path)) opened = true;
    }
  }
  if (!opened) {
    std::string cwd = QDir::currentPath().toStdString();
    OpenDocumentTab(app, core::JoinPath(cwd, "New.web"), "New.web");
  }
  FindActiveDocument(app);
  UpdateTitle(app);
  auto* bar = new QStatusBar(window);
  bar->setObjectName("7500");
  window->setStatusBar(bar);
  BuildStatusBar(app, bar);

  std::string bytes;
  if (core::ReadFileBytes(ConfigFile(app, "FtpProjs.ini"), bytes)) ReadPublishFields(bytes, app.publish);

  if (app.settings.whiteSpace == 1 && app.activeEditor) {
    Send(app, QsciScintillaBase::SCI_SETWHITESPACEFORE, 1, app.settings.colorSpace);
    Send(app, QsciScintillaBase::SCI_SETWHITESPACESIZE, 2);
    Send(app, QsciScintillaBase::SCI_SETVIEWWS, QsciScintillaBase::SCWS_VISIBLEALWAYS);
    if (QAction* a = MenuItem(window, Cmd::ShowWhiteSpace)) {
      a->setCheckable(true);
      a->setChecked(true);
    }
  }
  Send(app, QsciScintillaBase::SCI_SETTABWIDTH, core::ParseNumber(app.settings.tabIndent));
  // From here on, files the user opens or saves go into the Recent Files list.
  app.fileUsed = [&app](const std::string& path) { NoteRecentFile(app, path); };
  SetMenuCheck(app, Cmd::BuildOnSave, app.settings.buildOnSave == 1);
  RefreshRecentMenu(app);
  AfterCommand(app);
  ReportDamagedSettings(app);
}

bool ExitSequence(App& app) {
  bool saved = true;
  if (app.settings.saveOnExit == 1) {
    saved = SaveAllDocuments(app);
  } else if (AnyDocumentModified(app)) {
    MsgAnswer a = app.platform.Message("One or more documents have not been saved.\rDo you want to save them now?",
                                       MsgIcon::Question, MsgButtons::YesNo);
    if (a == MsgAnswer::Yes) saved = SaveAllDocuments(app);
  }
  // A save the user wanted did not happen (its failure has been reported): closing now
  // would throw the text away, so the window stays open.
  if (!saved) return false;
  FindActiveDocument(app);
  if (app.window) {
    QRect frame = app.window->frameGeometry();
    app.settings.windowWidth = frame.width();
    app.settings.windowHeight = frame.height();
  }
  SaveSettings(app);
  return true;
}

ShellHooks WindowShellHooks() {
  ShellHooks hooks;
  hooks.updateTitle = WindowUpdateTitle;
  hooks.showTitleMarker = WindowShowTitleMarker;
  hooks.loadSettings = ReadSettings;
  hooks.saveSettings = SaveAndApplySettings;
  hooks.setStatusBarPart = ShowStatusBarPart;
  hooks.window = [](App& app) -> QMainWindow* { return app.window; };
  hooks.tabs = [](App& app) { return app.window ? app.window->Tabs() : nullptr; };
  return hooks;
}
