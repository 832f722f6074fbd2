// A Platform for tests: answers come from a queue, every call is recorded, and a call
// that the test did not expect is recorded as a surprise (and answered "cancel").
#pragma once
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

struct PlatformCall {
  std::string kind;  // "message", "open", "save", "folder", "color", "font", "print", "shell",
                     // "start", "browser", "run", "sound", "help", "dialog"
                     // (RunWithProgress records "run" with its progress text as title and
                     // its time-out as context)
  std::string text;  // message text, dialog title, target, program ...
  std::string title;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  FileDialogSpec fileDialog;
  std::vector<std::string> args;
  int context = 0;
  uint32_t colour = 0;  // the colour a colour dialog opened on
};

class ScriptedPlatform : public Platform {
 public:
  // Queue answers, in the order the calls will come.
  void AnswerMessage(MsgAnswer a);
  // For Choose: the index of the button pressed. Recorded as a "message" whose `args` are the buttons.
  void AnswerChoice(int index);
  void AnswerOpen(std::vector<std::string> paths);  // empty = cancel
  void AnswerSave(std::string path);                // empty = cancel
  void AnswerFolder(std::string folder);            // empty = cancel
  void AnswerColor(uint32_t colour, bool ok = true);
  void AnswerFont(FontChoice font, bool ok = true);
  void AnswerPrint(bool ok);
  // For our own dialogs: `fill` sets the controls, then the dialog is accepted when it
  // returns true. Without a queued answer a dialog is a surprise.
  void AnswerDialog(std::function<bool(QDialog&)> fill);
  // Exit code and standard error for the next RunAndWait; by default programs really run.
  void AnswerRun(int exitCode, std::string errorText = "");
  void RunProgramsForReal(bool on) { realRun_ = on; }
  // For the next RunWithProgress that really runs: the user presses Cancel in the
  // progress dialog after `cancelAfterMs` (the program runs on with the event loop turning).
  void AnswerProgress(int cancelAfterMs);

  std::vector<PlatformCall> calls;     // everything asked, in order
  std::vector<std::string> surprises;  // unexpected calls
  std::string clipboard;
  std::vector<std::string> sounds;
  bool startSucceeds = true;  // what StartProgram and ShellOpen report

  // Calls of one kind.
  std::vector<PlatformCall> CallsOf(const std::string& kind) const;
  // True when every queued answer was used and no surprise happened.
  bool Done() const { return answers_.empty() && surprises.empty(); }
  std::string Pending() const;

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
  // Recorded as "browser" (program in `text`, address in `args`); `browserError`, when set,
  // is what the browser says as it fails.
  void OpenBrowser(const std::string& program, const std::string& address,
                   std::function<void(const std::string& error)> failed) override;
  std::string browserError;
  bool StartProgram(const std::string& program, const std::vector<std::string>& args,
                    const std::string& workingFolder) override;
  int RunAndWait(const std::string& program, const std::vector<std::string>& args, const std::string& workingFolder,
                 std::string* errorText) override;
  RunOutcome RunWithProgress(const RunRequest& request) override;
  void PlaySound(const std::string& path) override;
  std::string ClipboardText() override { return clipboard; }
  void SetClipboardText(const std::string& text) override { clipboard = text; }
  void ShowHelp(const std::string& helpFile, int context) override;
  bool RunDialog(QDialog& dialog) override;
  // Records a "progress" call (the texts shown, in order, in `args`) and waits for the
  // work with the event loop running; presses Cancel after `cancelProgressAfterMs`.
  void WatchProgress(const ProgressWatch& watch) override;
  int cancelProgressAfterMs = -1;                              // -1: never
  long long progressCancelledAtMs = -1, progressEndedMs = -1;  // since the window opened
  QWidget* Owner() override { return owner_; }
  void SetOwner(QWidget* owner) override { owner_ = owner; }

 private:
  struct Answer {
    std::string kind;
    MsgAnswer message = MsgAnswer::Cancel;
    std::vector<std::string> paths;
    uint32_t colour = 0;
    FontChoice font;
    bool ok = false;
    int exitCode = 0;
    std::string errorText;
    std::function<bool(QDialog&)> fill;
  };
  bool Take(const std::string& kind, const std::string& what, Answer& out);
  std::deque<Answer> answers_;
  QWidget* owner_ = nullptr;
  bool realRun_ = true;
};
