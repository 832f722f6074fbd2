#include "support/scripted_platform.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QProcess>
#include <QTimer>

#include "platform/process_runner.h"

void ScriptedPlatform::AnswerMessage(MsgAnswer a) { answers_.push_back({.kind = "message", .message = a}); }
void ScriptedPlatform::AnswerChoice(int index) { answers_.push_back({.kind = "choice", .exitCode = index}); }
void ScriptedPlatform::AnswerOpen(std::vector<std::string> paths) {
  answers_.push_back({.kind = "open", .paths = std::move(paths)});
}
void ScriptedPlatform::AnswerSave(std::string path) {
  answers_.push_back({.kind = "save", .paths = {std::move(path)}});
}
void ScriptedPlatform::AnswerFolder(std::string folder) {
  answers_.push_back({.kind = "folder", .paths = {std::move(folder)}});
}
void ScriptedPlatform::AnswerColor(uint32_t colour, bool ok) {
  answers_.push_back({.kind = "color", .colour = colour, .ok = ok});
}
void ScriptedPlatform::AnswerFont(FontChoice font, bool ok) {
  answers_.push_back({.kind = "font", .font = std::move(font), .ok = ok});
}
void ScriptedPlatform::AnswerPrint(bool ok) { answers_.push_back({.kind = "print", .ok = ok}); }
void ScriptedPlatform::AnswerDialog(std::function<bool(QDialog&)> fill) {
  answers_.push_back({.kind = "dialog", .fill = std::move(fill)});
}
void ScriptedPlatform::AnswerRun(int exitCode, std::string errorText) {
  answers_.push_back({.kind = "run", .exitCode = exitCode, .errorText = std::move(errorText)});
}

std::vector<PlatformCall> ScriptedPlatform::CallsOf(const std::string& kind) const {
  std::vector<PlatformCall> r;
  for (const auto& c : calls)
    if (c.kind == kind) r.push_back(c);
  return r;
}

std::string ScriptedPlatform::Pending() const {
  std::string s;
  for (const auto& a : answers_) s += a.kind + " ";
  for (const auto& x : surprises) s += "[surprise: " + x + "] ";
  return s;
}

bool ScriptedPlatform::Take(const std::string& kind, const std::string& what, Answer& out) {
  if (answers_.empty() || answers_.front().kind != kind) {
    surprises.push_back(kind + ": " + what);
    return false;
  }
  out = std::move(answers_.front());
  answers_.pop_front();
  return true;
}

MsgAnswer ScriptedPlatform::Message(const std::string& text, MsgIcon icon, MsgButtons buttons,
                                    const std::string& title) {
  calls.push_back({.kind = "message", .text = text, .title = title, .icon = icon, .buttons = buttons});
  Answer a;
  if (!Take("message", text, a)) return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
  return a.message;
}

int ScriptedPlatform::Choose(const std::string& text, MsgIcon icon, const std::vector<std::string>& choices,
                             const std::string& title) {
  calls.push_back({.kind = "message", .text = text, .title = title, .icon = icon, .args = choices});
  Answer a;
  if (!Take("choice", text, a)) return static_cast<int>(choices.size()) - 1;
  return a.exitCode;
}

bool ScriptedPlatform::OpenFile(const FileDialogSpec& fileDialog, std::vector<std::string>& paths) {
  calls.push_back({.kind = "open", .text = fileDialog.title, .fileDialog = fileDialog});
  Answer a;
  if (!Take("open", fileDialog.title, a) || a.paths.empty()) return false;
  paths = a.paths;
  return true;
}

bool ScriptedPlatform::SaveFile(const FileDialogSpec& fileDialog, std::string& path) {
  calls.push_back({.kind = "save", .text = fileDialog.title, .fileDialog = fileDialog});
  Answer a;
  if (!Take("save", fileDialog.title, a) || a.paths.empty() || a.paths[0].empty()) return false;
  path = a.paths[0];
  return true;
}

bool ScriptedPlatform::PickFolder(const std::string& prompt, std::string& folder) {
  calls.push_back({.kind = "folder", .text = prompt});
  Answer a;
  if (!Take("folder", prompt, a) || a.paths.empty() || a.paths[0].empty()) return false;
  folder = a.paths[0];
  return true;
}

bool ScriptedPlatform::PickColor(uint32_t& colour) {
  calls.push_back({.kind = "color", .colour = colour});
  Answer a;
  if (!Take("color", "", a) || !a.ok) return false;
  colour = a.colour;
  return true;
}

bool ScriptedPlatform::PickFont(FontChoice& font) {
  calls.push_back({.kind = "font", .text = font.name, .context = font.pointSize});
  Answer a;
  if (!Take("font", font.name, a) || !a.ok) return false;
  font = a.font;
  return true;
}

bool ScriptedPlatform::PrintDialog(QPrinter&) {
  calls.push_back({.kind = "print"});
  Answer a;
  return Take("print", "", a) && a.ok;
}

bool ScriptedPlatform::ShellOpen(const std::string& target) {
  calls.push_back({.kind = "shell", .text = target});
  return startSucceeds;
}

void ScriptedPlatform::OpenBrowser(const std::string& program, const std::string& address,
                                   std::function<void(const std::string&)> failed) {
  calls.push_back({.kind = "browser", .text = program, .args = {address}});
  if (!browserError.empty() && failed) failed(browserError);
}

bool ScriptedPlatform::StartProgram(const std::string& program, const std::vector<std::string>& args,
                                    const std::string&) {
  calls.push_back({.kind = "start", .text = program, .args = args});
  return startSucceeds;
}

int ScriptedPlatform::RunAndWait(const std::string& program, const std::vector<std::string>& args,
                                 const std::string& workingFolder, std::string* errorText) {
  calls.push_back({.kind = "run", .text = program, .args = args});
  if (!answers_.empty() && answers_.front().kind == "run") {
    Answer a = std::move(answers_.front());
    answers_.pop_front();
    if (errorText) *errorText = a.errorText;
    return a.exitCode;
  }
  if (!realRun_) {
    surprises.push_back("run: " + program);
    return -1;
  }
  QProcess p;
  QStringList a;
  for (const auto& s : args) a << QString::fromStdString(s);
  if (!workingFolder.empty()) p.setWorkingDirectory(QString::fromStdString(workingFolder));
  p.start(QString::fromStdString(program), a);
  if (!p.waitForStarted(-1)) return -1;
  p.waitForFinished(-1);
  if (errorText) *errorText = p.readAllStandardError().toStdString();
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

void ScriptedPlatform::AnswerProgress(int cancelAfterMs) {
  answers_.push_back({.kind = "progress", .exitCode = cancelAfterMs});
}

RunOutcome ScriptedPlatform::RunWithProgress(const RunRequest& request) {
  calls.push_back({.kind = "run",
                   .text = request.program,
                   .title = request.progressText,
                   .args = request.args,
                   .context = request.timeoutMs});
  RunOutcome outcome;
  if (!answers_.empty() && answers_.front().kind == "run") {
    Answer a = std::move(answers_.front());
    answers_.pop_front();
    outcome.status = RunOutcome::Status::Finished;
    outcome.exitCode = a.exitCode;
    outcome.errorText = a.errorText;
    return outcome;
  }
  if (!realRun_) {
    surprises.push_back("run: " + request.program);
    return outcome;
  }
  ProcessRunner runner(request);
  QTimer cancel;
  cancel.setSingleShot(true);
  QObject::connect(&cancel, &QTimer::timeout, &runner, [&runner] { runner.Cancel(); });
  if (!answers_.empty() && answers_.front().kind == "progress") {
    cancel.start(answers_.front().exitCode);
    answers_.pop_front();
  }
  return runner.Exec();
}

void ScriptedPlatform::PlaySound(const std::string& path) {
  calls.push_back({.kind = "sound", .text = path});
  sounds.push_back(path);
}

void ScriptedPlatform::ShowHelp(const std::string& helpFile, int context) {
  calls.push_back({.kind = "help", .text = helpFile, .context = context});
}

void ScriptedPlatform::WatchProgress(const ProgressWatch& watch) {
  PlatformCall call{.kind = "progress", .text = watch.title};
  QElapsedTimer clock;
  clock.start();
  progressCancelledAtMs = progressEndedMs = -1;
  QEventLoop loop;
  QTimer poll;
  auto look = [&] {
    std::string text = watch.text ? watch.text() : std::string();
    if (!text.empty() && (call.args.empty() || call.args.back() != text)) call.args.push_back(text);
    if (progressCancelledAtMs < 0 && cancelProgressAfterMs >= 0 && clock.elapsed() >= cancelProgressAfterMs) {
      progressCancelledAtMs = clock.elapsed();
      watch.cancel();
    }
    if (watch.finished()) loop.quit();
  };
  QObject::connect(&poll, &QTimer::timeout, look);
  poll.start(5);
  look();
  if (!watch.finished()) loop.exec();
  progressEndedMs = clock.elapsed();
  calls.push_back(call);
}

bool ScriptedPlatform::RunDialog(QDialog& dialog) {
  calls.push_back({.kind = "dialog", .text = dialog.windowTitle().toStdString()});
  Answer a;
  if (!Take("dialog", dialog.windowTitle().toStdString(), a)) return false;
  bool accept = a.fill ? a.fill(dialog) : false;
  if (accept) dialog.accept();
  else dialog.reject();
  return accept;
}
