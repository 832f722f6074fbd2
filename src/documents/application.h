// The process-wide state of the editor, in one object made by main() and by each test.
// Procedures of every subsystem take it as their first argument.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/file_stamp.h"
#include "settings/settings.h"

class Platform;
class MainWindow;
class QMainWindow;
class QTabWidget;
class QWidget;
class QsciScintilla;
struct App;

// One open file in one tab.
struct Document {
  QWidget* page = nullptr;          // the tab page; null marks a free slot
  QsciScintilla* editor = nullptr;  // the editor on the page
  std::string path;                 // full path; empty for a document without a file
  std::string tabName;              // file name shown on the tab
  // Modified in a way the editor's save point cannot show (Restore Backup, an undo history
  // cleared while modified); cleared by a save.
  bool unsavedChange = false;
  // The file as last read or written here, or as the user last saw it and chose to keep
  // their text: another program's change shows as a difference from it.
  core::FileStamp disk;
  size_t diskHash = 0;
};

// The six publish fields remembered from FtpProjs.ini.
struct PublishFields {
  std::string programName, remoteFolder, domainName, hostName, userId, password;
  bool changedOnly = true;  // the dialog's "Upload changed files only" (kept for the run only)
};

struct SearchState;      // find and replace
struct FtpProfileTable;  // the 32 in-memory FTP profiles

constexpr int kMaxDocuments = 32;

// The window shell's procedures, for the layers below it: they report a changed title,
// text marker or status and reach the window through these without depending on
// the shell. Filled in where the program is assembled; an empty one does nothing.
struct ShellHooks {
  void (*updateTitle)(App&) = nullptr;
  void (*showTitleMarker)(App&) = nullptr;
  void (*loadSettings)(App&) = nullptr;
  void (*saveSettings)(App&) = nullptr;
  void (*setStatusBarPart)(App&, int part, const std::string& text) = nullptr;
  QMainWindow* (*window)(App&) = nullptr;
  QTabWidget* (*tabs)(App&) = nullptr;
};

struct App {
  explicit App(Platform& p);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Platform& platform;
  Settings settings;
  SettingsFileState settingsFile;  // damage found at start-up, failed writes already reported
  std::string programFolder;       // the folder that holds the executable and its data
  // Settings, FTP profiles and trusted keys, publish manifests, sessions: apart from the
  // user's sites, so that none of them can become part of a page or an upload.
  std::string configFolder;

  // Documents
  Document docs[kMaxDocuments + 1];  // slots 1..32, packed from slot 1
  int activeSlot = 0;
  QsciScintilla* activeEditor = nullptr;
  std::string currentPath;
  std::string previousPath;
  int editorWidth = 0, editorHeight = 0;
  // Opening a file above largeFileBytes asks first (0: 512 MB or half the free memory, the
  // smaller); one above progressFileBytes is read with a progress window that can cancel.
  long long largeFileBytes = 0;
  long long progressFileBytes = 64LL << 20;

  // Shell
  MainWindow* window = nullptr;
  ShellHooks shell;
  PublishFields publish;

  // Find and replace
  std::unique_ptr<SearchState> search;

  // Page creation and publishing
  std::string generatedPagePath;
  // Files outside a program's site folder that the user chose in a dialog this session
  // (Text File insert): the translator may read them without asking.
  std::vector<std::string> allowedFiles;
  int translatorTimeoutMs = 60000;  // the translator is stopped after this long
  bool translating = false;         // a translation runs (its progress dialog may not show yet)
  std::unique_ptr<FtpProfileTable> profiles;

  // Insert dialogs: the image gallery folder and the chosen style sheet kept for the run
  std::string galleryFolder;
  std::string stylesheetPath;
  // The Tables dialog's inline-style box, kept for the run
  int tableInlineStyle = 1;

  // Printing: when set, print jobs go to this PDF file instead of a printer (tests)
  std::string printToFile;

  // Told of every file the user opens or saves (the Recent Files list); unset during start-up.
  std::function<void(const std::string& path)> fileUsed;
  // Told of a program the user saved with Save or Save As (not of saves other commands make).
  std::function<void(const std::string& path)> programSaved;
};

// Where the program's shipped, read-only files are: "res/sound.wav", "help/...", "Comp" and so on
// resolve against the program folder. Everything else resolves in the current folder, which
// start-up makes the user's Verosta folder.
std::string ProgramFile(const App& app, const std::string& relative);
// A file of the configuration folder: "Verosta.ini", "FtpProjs.ini", "Sessions", ...
std::string ConfigFile(const App& app, const std::string& relative);
