#include "preview/live_preview.h"

#include <QMainWindow>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QTabWidget>
#include <Qsci/qsciscintilla.h>
#include <filesystem>
#include <system_error>

#include "core/files.h"
#include "core/site_file.h"
#include "core/text.h"
#include "documents/application.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/shell_events.h"
#include "platform/platform.h"
#include "tools/translator_messages_dock.h"
#include "tools/web_page.h"

namespace preview {

namespace fs = std::filesystem;

namespace {

constexpr int kTypingPauseMs = 300;

std::string Canonical(const std::string& path) {
  std::error_code ec;
  fs::path canonical = fs::weakly_canonical(path, ec);
  return ec ? path : canonical.string();
}

std::string RandomToken() {
  QString token;
  for (int i = 0; i < 4; ++i)
    token += QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, '0');
  return token.toStdString();
}

// The first error of a failed build, else a message naming the program.
TranslatorMessage FirstError(const std::vector<TranslatorMessage>& messages, const std::string& program,
                             const std::string& problem) {
  for (const TranslatorMessage& m : messages)
    if (m.error) return m;
  TranslatorMessage m;
  m.path = program;
  m.error = true;
  m.message = problem.empty() ? "The translator did not produce a page." : problem;
  return m;
}

}  // namespace

std::string PreviewPageOf(const std::string& documentPath) {
  std::string ext = core::ToLower(core::ExtensionOf(documentPath));
  if (ext == "web") return PagePathFor(documentPath);
  if (ext == "html" || ext == "htm" || ext == "xhtml") return documentPath;
  return {};
}

LivePreview* RunningPreview(App& app) {
  QMainWindow* window = ShellWindow(app);
  return window ? window->findChild<LivePreview*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

LivePreview::LivePreview(App& app, QObject* parent) : QObject(parent), app_(app), server_(this), watcher_(this) {
  watcher_.changed = [this](const std::vector<std::string>& files) { FilesChanged(files); };
  server_.pageOpened = [this](const std::string& page) {
    auto it = errors_.find(page);
    if (it != errors_.end()) Tell(ErrorMessage(it->second.path, it->second.line, it->second.message), page);
  };
  if (QTabWidget* tabs = TabStrip(app)) connect(tabs, &QTabWidget::currentChanged, this, &LivePreview::TabChanged);
  typing_.setSingleShot(true);
  typing_.setInterval(kTypingPauseMs);
  connect(&typing_, &QTimer::timeout, this, [this] {
    for (int slot = 1; slot <= kMaxDocuments; ++slot)
      if (app_.docs[slot].page && app_.docs[slot].path == typedProgram_) {
        std::string text(EditorBytes(app_.docs[slot].editor));
        Rebuild(typedProgram_, &text);
      }
  });
}

bool LivePreview::UseSite(const std::string& site) {
  if (server_.Running() && site == site_) return true;
  site_ = site;
  watcher_.Watch(site_);
  errors_.clear();
  if (server_.Running()) {
    server_.SetSite(site_);
    return true;
  }
  ServeRules rules{site_, app_.configFolder, 0, app_.settings.previewOtherDevices == 1, {}};
  if (rules.otherDevices) rules.token = RandomToken();
  std::string error;
  if (server_.Start(rules, error)) {
    if (rules.otherDevices) TellOtherDevicesAddress();
    return true;
  }
  app_.platform.Message("The live preview could not start.\r" + error, MsgIcon::Warning);
  return false;
}

// The address with the token, on each of this machine's network addresses.
void LivePreview::TellOtherDevicesAddress() {
  std::string lines;
  const std::string path = std::string("/?") + kTokenParameter + "=" + server_.Rules().token;
  for (const QHostAddress& address : QNetworkInterface::allAddresses())
    if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
      lines += "\rhttp://" + address.toString().toStdString() + ":" + std::to_string(server_.Port()) + path;
  if (lines.empty()) lines = "\rThis computer is on no network now.";
  app_.platform.Message("On a phone or another computer of this network, open:" + lines, MsgIcon::Information);
}

bool LivePreview::Show(const std::string& documentPath) {
  std::string page = PreviewPageOf(documentPath);
  if (page.empty()) return false;
  if (!UseSite(Canonical(core::SiteFolderOf(documentPath)))) return false;
  ListenToEditors();
  std::string address = server_.AddressOf(Canonical(page));
  if (server_.PageCount() > 0) server_.Send(GoToMessage(address), [](const std::string&) { return true; });
  else OpenPageInBrowser(app_, "", address);
  return true;
}

void LivePreview::ListenToEditors() {
  const QVariant mark = QVariant::fromValue(reinterpret_cast<qulonglong>(this));
  for (int slot = 1; slot <= kMaxDocuments; ++slot) {
    QsciScintilla* editor = app_.docs[slot].editor;
    if (!editor || editor->property("livePreview") == mark) continue;
    editor->setProperty("livePreview", mark);
    // Change notifications are off while no assistive technology runs; the update
    // notice still says when the text changed.
    connect(editor, &QsciScintilla::SCN_UPDATEUI, this, [this, editor](int updated) {
      if (!(updated & QsciScintillaBase::SC_UPDATE_CONTENT)) return;
      for (int s = 1; s <= kMaxDocuments; ++s)
        if (app_.docs[s].editor == editor && !app_.docs[s].path.empty()) TextEdited(app_.docs[s].path);
    });
  }
}

void LivePreview::TextEdited(const std::string& programPath) {
  if (app_.settings.previewWhileTyping != 1 || core::ToLower(core::ExtensionOf(programPath)) != "web") return;
  typedProgram_ = programPath;
  typing_.start();
}

void LivePreview::Tell(const std::string& json, const std::string& pageFile) {
  server_.Send(json, [&](const std::string& page) { return page == pageFile; });
}

void LivePreview::FilesChanged(const std::vector<std::string>& files) {
  if (building_) {
    waiting_.insert(waiting_.end(), files.begin(), files.end());
    return;
  }
  bool reloadAll = false;
  for (const std::string& file : files) {
    switch (KindOfChange(file, app_.configFolder)) {
      case ChangeKind::Ignore: break;
      case ChangeKind::Program:
        if (core::FileExists(file)) Rebuild(file);
        break;
      case ChangeKind::Library:
        // Which programs include it is known only to the translator: the pages on show are rebuilt.
        for (const std::string& program : ProgramsOnShow()) Rebuild(program);
        break;
      case ChangeKind::StyleSheet:
        server_.Send(StyleSheetMessage(UrlPathOf(file, site_)), [](const std::string&) { return true; });
        break;
      case ChangeKind::Other:
        if (ContentTypeFor(file) == "text/html") Tell(ReloadMessage(), Canonical(file));
        else reloadAll = true;  // a picture or script may be on any page
        break;
    }
  }
  if (reloadAll) server_.Send(ReloadMessage(), [](const std::string&) { return true; });
}

// Builds the page of a program (from `text` instead of its file when given) and tells the
// browsers showing it: reload, or the error over the page.
void LivePreview::Rebuild(const std::string& programPath, const std::string* text) {
  if (building_ || app_.translating) {
    // One translator runs at a time: this build follows when the running one is done.
    if (text) typing_.start();
    else QTimer::singleShot(100, this, [this, programPath] { Rebuild(programPath); });
    return;
  }
  std::string page = Canonical(PagePathFor(programPath));
  std::string source = programPath;
  if (text) {
    // A hidden file beside the program, so that its includes resolve as from the program.
    source = core::JoinPath(core::FolderOf(programPath), "." + core::FileNameOf(programPath) + ".typing");
    if (!core::WriteFileAtomically(source, *text)) return;
  }
  building_ = true;
  std::string problem, errorText;
  bool made = TranslateProgram(app_, source, page, problem, &errorText);
  building_ = false;
  if (text) core::RemoveFile(source);
  std::vector<TranslatorMessage> messages = ParseTranslatorMessages(errorText);
  for (TranslatorMessage& m : messages)
    if (m.path == source) m.path = programPath;
  ShowTranslatorMessages(app_, messages);
  if (made) {
    watcher_.Note(page);
    errors_.erase(page);
    Tell(OkMessage(), page);
    Tell(ReloadMessage(), page);
  } else {
    TranslatorMessage error = FirstError(messages, programPath, problem);
    errors_[page] = error;
    Tell(ErrorMessage(error.path, error.line, error.message), page);
  }
  std::vector<std::string> waiting;
  waiting.swap(waiting_);
  std::erase(waiting, page);
  if (!waiting.empty()) FilesChanged(waiting);
}

std::set<std::string> LivePreview::ProgramsOnShow() const {
  std::set<std::string> programs;
  for (const std::string& page : server_.Pages()) {
    std::string ext = core::ExtensionOf(page);
    std::string program = page.substr(0, page.size() - ext.size()) + "web";
    if (!ext.empty() && PagePathFor(program) == page && core::FileExists(program)) programs.insert(program);
  }
  return programs;
}

void LivePreview::TabChanged(int index) {
  ListenToEditors();
  if (app_.settings.followActiveDocument != 1 || !server_.Running()) return;
  int slot = SlotOfTab(app_, index + 1);
  if (slot < 1) return;
  std::string path = app_.docs[slot].path;
  std::string page = PreviewPageOf(path);
  if (page.empty()) return;
  if (!core::FileExists(page) && page != path) Rebuild(path);
  if (core::FileExists(page)) Show(path);
}

}  // namespace preview
