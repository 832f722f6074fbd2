// A headless editor for tests: a temporary program folder (made current), a temporary
// configuration folder, the scripted platform, the application object and, on request,
// the main window.
#pragma once
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "documents/application.h"
#include "core/command_ids.h"
#include "support/scripted_platform.h"

class EditorFixture {
 public:
  // Makes a fresh program folder with the build's data folders (res/, help/, ...) but
  // without Verosta.ini, unless `withData` is false.
  explicit EditorFixture(bool withData = true);
  // Uses a separate program folder (shipped data), Verosta folder (the user's files, made
  // current) and configuration folder (a temporary one when ""); those given must exist.
  EditorFixture(const std::string& programFolder, const std::string& verostaFolder,
                const std::string& configFolder = "");
  ~EditorFixture();

  // Reads Verosta.ini (if the test wrote one) and starts the main window.
  void Start();
  // Runs a command as a menu item or as a key, by name or by number.
  void Menu(Cmd item) { Menu(Number(item)); }
  void Key(Accel key) { Key(Number(key)); }
  void Menu(int number);
  void Key(int number);
  // Closes the main window (runs the exit sequence).
  void Close();

  std::string Folder() const;         // the Verosta folder, current while the fixture lives
  std::string ProgramFolder() const;  // the same folder unless the fixture was given two
  std::string ConfigFolder() const;   // the configuration folder, never the user's own
  // Where the editor keeps a file of this name: its settings, profiles, trusted keys,
  // manifests and sessions ("Verosta.ini", "Sessions/a.xml", ...) in the configuration
  // folder, everything else in the Verosta folder.
  std::string Path(const std::string& name) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;
  std::string ReadFile(const std::string& name) const;

  ScriptedPlatform platform;
  std::unique_ptr<App> app;

 private:
  QTemporaryDir dir_, configDir_;
  QString oldCurrent_;
  std::string folder_;
};

// Reads a file whole ("" when missing).
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
// Helper programs built into the program folder (Comp, Delete).
std::string BuiltProgram(const std::string& name);
