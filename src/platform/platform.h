// Every question to the user and every outside effect goes through this interface.
// The program uses QtPlatform; tests use ScriptedPlatform (tests/support).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/run_request.h"

class QDialog;
class QPrinter;
class QWidget;

enum class MsgIcon { None, Information, Warning, Question, Error };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct FileDialogSpec {
  std::string title = {};
  std::string folder = {};                                        // start folder, "" for the current one
  std::vector<std::pair<std::string, std::string>> filters = {};  // {"Program Files (*.web)", "*.web"}
  int filterIndex = 0;                                            // pre-selected filter
  std::string startName = {};                                     // proposed file name
  std::string defaultExtension = {};                              // added when the chosen name has none
  bool askOverwrite = false;                                      // save dialogs only
  bool multiSelect = false;                                       // open dialogs only
};

struct FontChoice {
  std::string name;
  int pointSize = 10;
  bool bold = false;
  bool italic = false;
};

// Work that runs off the GUI thread, watched through a progress window with a Cancel
// button. The functions are called on the GUI thread.
struct ProgressWatch {
  std::string title;
  std::function<bool()> finished;     // polled; the window closes once it is true
  std::function<std::string()> text;  // what is being done now
  std::function<int()> percent;       // 0..100, or -1 while unknown
  std::function<void()> cancel;       // the Cancel button (or Escape)
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A message box titled `title`; a CR in `text` shows as a line break.
  virtual MsgAnswer Message(const std::string& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                            const std::string& title = "Verosta editor") = 0;
  // A question answered by one of `choices`, the button texts from left to right; returns the
  // index chosen. The last choice is the safe one: the default, and what Escape and closing give.
  virtual int Choose(const std::string& text, MsgIcon icon, const std::vector<std::string>& choices,
                     const std::string& title = "Verosta editor") = 0;
  // False when cancelled. Open dialogs with multiSelect fill every chosen path.
  virtual bool OpenFile(const FileDialogSpec& fileDialog, std::vector<std::string>& paths) = 0;
  virtual bool SaveFile(const FileDialogSpec& fileDialog, std::string& path) = 0;
  virtual bool PickFolder(const std::string& prompt, std::string& folder) = 0;
  // Colours are Windows values 0x00BBGGRR; the 16 custom colours are shared for the run.
  virtual bool PickColor(uint32_t& colour) = 0;
  virtual bool PickFont(FontChoice& font) = 0;
  // Shows the print dialog for `printer`; false when cancelled.
  virtual bool PrintDialog(QPrinter& printer) = 0;
  // The desktop's "open" action on a file, folder or web address.
  virtual bool ShellOpen(const std::string& target) = 0;
  // Starts a web browser on `address` (a web address or a file): `program`, or the user's
  // default browser when it is "". A browser that cannot start, or that ends at once with
  // an error, calls `failed` with its own last words, later, from the event loop.
  virtual void OpenBrowser(const std::string& program, const std::string& address,
                           std::function<void(const std::string& error)> failed) = 0;
  // Starts a program without waiting; false when it could not be started.
  virtual bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingFolder = "") = 0;
  // Runs a program and waits for its end without a time-out. Returns its exit code,
  // or -1 when it could not be started or crashed; `errorText` gets its standard error.
  virtual int RunAndWait(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingFolder, std::string* errorText = nullptr) = 0;
  // Runs a program while the event loop keeps turning, with a progress dialog whose
  // Cancel stops it, and stops it at the request's time-out.
  virtual RunOutcome RunWithProgress(const RunRequest& request) = 0;
  virtual void PlaySound(const std::string& path) = 0;
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(const std::string& text) = 0;
  // Shows the help topic for a context number of a help file ("help/contents.chm", 0 = contents page).
  virtual void ShowHelp(const std::string& helpFile, int context) = 0;
  // Runs one of our own modal dialogs; true when accepted. The scripted double fills its
  // controls from the test instead of showing it.
  virtual bool RunDialog(QDialog& dialog) = 0;
  // Shows the progress window and runs the event loop until the work has finished; the
  // window keeps painting and its timers keep running meanwhile.
  virtual void WatchProgress(const ProgressWatch& watch) = 0;
  // The parent for dialogs (the main window), may be null.
  virtual QWidget* Owner() = 0;
  virtual void SetOwner(QWidget* owner) = 0;
};

// Windows colour value (0x00BBGGRR) from red, green, blue and back.
inline uint32_t Rgb(int r, int g, int b) {
  return static_cast<uint32_t>((r & 255) | ((g & 255) << 8) | ((b & 255) << 16));
}
inline int RedOf(uint32_t c) { return c & 255; }
inline int GreenOf(uint32_t c) { return (c >> 8) & 255; }
inline int BlueOf(uint32_t c) { return (c >> 16) & 255; }
