// The desktop implementation of Platform, with Qt.
#pragma once
#include <QPointer>
#include <QRect>
#include <QSize>

#include "platform/platform.h"

class HelpViewer;

class QtPlatform : public Platform {
 public:
  MsgAnswer Message(const std::string& text, MsgIcon icon, MsgButtons buttons, const std::string& title) override;
  int Choose(const std::string& text, MsgIcon icon, const std::vector<std::string>& choices,
             const std::string& title) override;
  bool OpenFile(const FileDialogSpec& fileDialog, std::vector<std::string>& paths) override;
  bool SaveFile(const FileDialogSpec& fileDialog, std::string& path) override;
  bool PickFolder(const std::string& prompt, std::string& folder) override;
  bool PickColor(uint32_t& colour) override;
  bool PickFont(FontChoice& font) override;
  bool PrintDialog(QPrinter& printer) override;
  bool ShellOpen(const std::string& target) override;
  void OpenBrowser(const std::string& program, const std::string& address,
                   std::function<void(const std::string& error)> failed) override;
  bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& workingFolder) override;
  int RunAndWait(const std::string& program, const std::vector<std::string>& args, const std::string& workingFolder,
                 std::string* errorText) override;
  RunOutcome RunWithProgress(const RunRequest& request) override;
  void PlaySound(const std::string& path) override;
  std::string ClipboardText() override;
  void SetClipboardText(const std::string& text) override;
  void ShowHelp(const std::string& helpFile, int context) override;
  bool RunDialog(QDialog& dialog) override;
  void WatchProgress(const ProgressWatch& watch) override;
  QWidget* Owner() override { return owner_; }
  void SetOwner(QWidget* owner) override { owner_ = owner; }

  // Where help/ is read from (the current folder when empty).
  std::string programFolder;

 private:
  QPointer<QWidget> owner_;
  QPointer<HelpViewer> help_;
};

// "Label" / "pattern" pairs as one Qt filter string: "Label (pattern);;...".
QString QtFilterString(const std::vector<std::pair<std::string, std::string>>& filters);
// The installed family a font request shows in the font dialog: the family itself, the
// fixed-width family fontconfig puts in its place, or the system's fixed-width font.
QString ResolvedFontFamily(const QString& requested);
// A message's text as the box shows it: CR line breaks; when every line holds a TAB the
// lines become rows of a two-column table (label, value) so the values line up.
QString MessageBoxText(const std::string& text, bool* table);
// Where the help viewer goes beside an open dialog: right of it, else left, narrowed to
// the larger side on a small screen, kept on the screen.
QRect HelpPlaceBeside(const QRect& dialog, const QSize& viewer, const QRect& screen);
// Adds ".ext" when the file name of `path` has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& ext);
