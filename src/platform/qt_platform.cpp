#include "platform/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QProgressDialog>
#include <QScreen>
#include <QSoundEffect>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

#include "core/text.h"
#include "platform/help_viewer.h"
#include "platform/process_runner.h"

static QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
static std::string S(const QString& s) { return s.toUtf8().toStdString(); }

QString QtFilterString(const std::vector<std::pair<std::string, std::string>>& filters) {
  QStringList parts;
  for (const auto& [label, pattern] : filters) {
    QString l = Q(label);
    QString p = Q(pattern);
    if (p == "*.*") p = "*";
    p.replace(';', ' ');
    // A label that already names its pattern is kept as it stands.
    parts << (l.contains('(') ? l.left(l.indexOf('(')).trimmed() + " (" + p + ")" : l + " (" + p + ")");
  }
  return parts.join(";;");
}

std::string WithDefaultExtension(const std::string& path, const std::string& ext) {
  if (ext.empty() || path.empty() || !core::ExtensionOf(path).empty()) return path;
  return path + "." + ext;
}

QString MessageBoxText(const std::string& text, bool* table) {
  QString t = Q(text);
  t.replace("\r\n", "\n").replace('\r', '\n');
  const QStringList lines = t.split('\n');
  const bool allTabbed = std::all_of(lines.begin(), lines.end(), [](const QString& l) { return l.contains('\t'); });
  if (table) *table = allTabbed;
  if (!allTabbed) return t;
  // "Label:<TAB><TAB> value" lines: tab stops do not line up in a message box, a table does.
  QString html = "<table cellspacing=\"0\" cellpadding=\"2\">";
  for (const QString& line : lines) {
    const int tab = line.indexOf('\t');
    html += "<tr><td>" + line.left(tab).trimmed().toHtmlEscaped() + "</td><td>" +
            line.mid(tab).trimmed().toHtmlEscaped() + "</td></tr>";
  }
  return html + "</table>";
}

namespace {
// A question with Yes and No only must be answered by one of them: Escape and the
// window's close button would otherwise pick No and, on a save question, discard text.
class AnswerBox : public QMessageBox {
 public:
  AnswerBox(QWidget* parent, bool answerRequired) : QMessageBox(parent), answerRequired_(answerRequired) {
    if (answerRequired_) setWindowFlag(Qt::WindowCloseButtonHint, false);
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (answerRequired_ && e->matches(QKeySequence::Cancel)) return;
    QMessageBox::keyPressEvent(e);
  }
  void closeEvent(QCloseEvent* e) override {
    if (answerRequired_ && !clickedButton()) {
      e->ignore();
      return;
    }
    QMessageBox::closeEvent(e);
  }

 private:
  bool answerRequired_;
};
}  // namespace

MsgAnswer QtPlatform::Message(const std::string& text, MsgIcon icon, MsgButtons buttons, const std::string& title) {
  AnswerBox box(owner_, buttons == MsgButtons::YesNo);
  box.setWindowTitle(Q(title));
  bool table = false;
  box.setText(MessageBoxText(text, &table));
  if (table) box.setTextFormat(Qt::RichText);
  switch (icon) {
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::None: break;
  }
  switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Ok: return MsgAnswer::Ok;
    default: return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Cancel;
  }
}

int QtPlatform::Choose(const std::string& text, MsgIcon icon, const std::vector<std::string>& choices,
                       const std::string& title) {
  QMessageBox box(owner_);
  box.setWindowTitle(Q(title));
  box.setText(MessageBoxText(text, nullptr));
  const QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Information, QMessageBox::Warning,
                                     QMessageBox::Question, QMessageBox::Critical};
  box.setIcon(icons[static_cast<int>(icon)]);
  std::vector<QPushButton*> buttons;
  for (size_t i = 0; i < choices.size(); ++i)
    buttons.push_back(
        box.addButton(Q(choices[i]), i + 1 == choices.size() ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
  if (buttons.empty()) return -1;
  box.setDefaultButton(buttons.back());
  box.setEscapeButton(buttons.back());
  box.exec();
  for (size_t i = 0; i < buttons.size(); ++i)
    if (box.clickedButton() == buttons[i]) return static_cast<int>(i);
  return static_cast<int>(buttons.size()) - 1;
}

bool QtPlatform::OpenFile(const FileDialogSpec& fileDialog, std::vector<std::string>& paths) {
  QFileDialog dlg(owner_, Q(fileDialog.title), Q(fileDialog.folder), QtFilterString(fileDialog.filters));
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(fileDialog.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  // A typed name without an extension means the dialog's own file type, as in the save dialogs.
  if (!fileDialog.defaultExtension.empty()) dlg.setDefaultSuffix(Q(fileDialog.defaultExtension));
  QStringList names = QtFilterString(fileDialog.filters).split(";;");
  if (fileDialog.filterIndex >= 0 && fileDialog.filterIndex < names.size())
    dlg.selectNameFilter(names[fileDialog.filterIndex]);
  if (!fileDialog.startName.empty()) dlg.selectFile(Q(fileDialog.startName));
  if (dlg.exec() != QDialog::Accepted) return false;
  paths.clear();
  for (const QString& f : dlg.selectedFiles()) paths.push_back(S(f));
  return !paths.empty();
}

bool QtPlatform::SaveFile(const FileDialogSpec& fileDialog, std::string& path) {
  QFileDialog dlg(owner_, Q(fileDialog.title), Q(fileDialog.folder), QtFilterString(fileDialog.filters));
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  if (!fileDialog.askOverwrite) dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!fileDialog.defaultExtension.empty()) dlg.setDefaultSuffix(Q(fileDialog.defaultExtension));
  QStringList names = QtFilterString(fileDialog.filters).split(";;");
  if (fileDialog.filterIndex >= 0 && fileDialog.filterIndex < names.size())
    dlg.selectNameFilter(names[fileDialog.filterIndex]);
  if (!fileDialog.startName.empty()) dlg.selectFile(Q(fileDialog.startName));
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return false;
  path = WithDefaultExtension(S(dlg.selectedFiles().first()), fileDialog.defaultExtension);
  return true;
}

bool QtPlatform::PickFolder(const std::string& prompt, std::string& folder) {
  // The prompt's lines (joined by CR) stand above the folder browser, one per line; a
  // window title would run them together.
  QDialog dlg(owner_);
  dlg.setWindowTitle("Browse for Folder");
  auto* layout = new QVBoxLayout(&dlg);
  QString lines = Q(prompt);
  lines.replace("\r\n", "\n").replace('\r', '\n');
  auto* label = new QLabel(lines, &dlg);
  label->setObjectName("prompt");
  layout->addWidget(label);
  auto* browser = new QFileDialog(&dlg, QString(), Q(folder));
  browser->setWindowFlags(Qt::Widget);
  browser->setOption(QFileDialog::DontUseNativeDialog, true);
  browser->setOption(QFileDialog::ShowDirsOnly, true);
  browser->setFileMode(QFileDialog::Directory);
  layout->addWidget(browser);
  QObject::connect(browser, &QFileDialog::accepted, &dlg, &QDialog::accept);
  QObject::connect(browser, &QFileDialog::rejected, &dlg, &QDialog::reject);
  if (dlg.exec() != QDialog::Accepted || browser->selectedFiles().isEmpty()) return false;
  folder = S(browser->selectedFiles().first());
  return !folder.empty();
}

bool QtPlatform::PickColor(uint32_t& colour) {
  // QColorDialog keeps its 16 custom colours for the whole run: that is the shared table.
  QColor start(RedOf(colour), GreenOf(colour), BlueOf(colour));
  QColor c = QColorDialog::getColor(start, owner_);
  if (!c.isValid()) return false;
  colour = Rgb(c.red(), c.green(), c.blue());
  return true;
}

QString ResolvedFontFamily(const QString& requested) {
  if (QFontDatabase::hasFamily(requested)) return requested;
  // fontconfig maps a missing family to a metric-compatible one (Courier New -> Liberation Mono);
  // a proportional stand-in would be worse than the system's fixed-width font.
  QFont wanted(requested);
  QFontInfo used(wanted);
  if (used.fixedPitch() && QFontDatabase::hasFamily(used.family())) return used.family();
  // The system font names an alias ("monospace"); the dialog lists only real families.
  return QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
}

bool QtPlatform::PickFont(FontChoice& font) {
  bool ok = false;
  QFont start(ResolvedFontFamily(Q(font.name)), font.pointSize);
  start.setBold(font.bold);
  start.setItalic(font.italic);
  QFont f = QFontDialog::getFont(&ok, start, owner_);
  if (!ok) return false;
  font.name = S(f.family());
  font.pointSize = f.pointSize();
  font.bold = f.bold();
  font.italic = f.italic();
  return true;
}

bool QtPlatform::PrintDialog(QPrinter& printer) {
  QPrintDialog dlg(&printer, owner_);
  return dlg.exec() == QDialog::Accepted;
}

bool QtPlatform::ShellOpen(const std::string& target) {
  QString t = Q(target);
  if (core::HasUrlScheme(target)) return QDesktopServices::openUrl(QUrl(t));
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(t).absoluteFilePath()));
}

bool QtPlatform::StartProgram(const std::string& program, const std::vector<std::string>& args,
                              const std::string& workingFolder) {
  QStringList a;
  for (const auto& s : args) a << Q(s);
  return QProcess::startDetached(Q(program), a, Q(workingFolder));
}

int QtPlatform::RunAndWait(const std::string& program, const std::vector<std::string>& args,
                           const std::string& workingFolder, std::string* errorText) {
  QProcess p;
  QStringList a;
  for (const auto& s : args) a << Q(s);
  if (!workingFolder.empty()) p.setWorkingDirectory(Q(workingFolder));
  p.start(Q(program), a);
  if (!p.waitForStarted(-1)) {
    if (errorText) *errorText = S(p.errorString());
    return -1;
  }
  p.waitForFinished(-1);
  if (errorText) *errorText = p.readAllStandardError().toStdString();
  if (p.exitStatus() != QProcess::NormalExit) return -1;
  return p.exitCode();
}

RunOutcome QtPlatform::RunWithProgress(const RunRequest& request) {
  ProcessRunner runner(request);
  // Shown only when the run takes a while; modal, so no second run can start meanwhile.
  QProgressDialog progress(Q(request.progressText), "Cancel", 0, 0, owner_);
  progress.setWindowTitle("Verosta editor");
  progress.setWindowModality(Qt::ApplicationModal);
  progress.setMinimumDuration(400);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  QObject::connect(&progress, &QProgressDialog::canceled, &runner, [&runner] { runner.Cancel(); });
  runner.OnProgress([&progress](int percent, const std::string& text) {
    if (!text.empty()) progress.setLabelText(Q(text));
    if (percent < 0) return;
    if (progress.maximum() != 100) progress.setRange(0, 100);
    progress.setValue(percent);
  });
  progress.setValue(0);
  return runner.Exec();
}

void QtPlatform::PlaySound(const std::string& path) {
  if (!QFileInfo::exists(Q(path))) return;
  static QSoundEffect* effect = nullptr;
  if (!effect) effect = new QSoundEffect(qApp);
  effect->setSource(QUrl::fromLocalFile(QFileInfo(Q(path)).absoluteFilePath()));
  effect->setVolume(0.5);
  effect->play();
}

std::string QtPlatform::ClipboardText() { return S(QApplication::clipboard()->text()); }

void QtPlatform::SetClipboardText(const std::string& text) { QApplication::clipboard()->setText(Q(text)); }

QRect HelpPlaceBeside(const QRect& dialog, const QSize& viewer, const QRect& screen) {
  const int gap = 8, narrowest = 320;
  const int right = dialog.right() + 1 + gap;
  const int roomRight = screen.right() + 1 - right;
  const int roomLeft = dialog.left() - gap - screen.left();
  int x, width = viewer.width();
  if (roomRight >= width) {
    x = right;
  } else if (roomLeft >= width) {
    x = dialog.left() - gap - width;
  } else if (std::max(roomRight, roomLeft) >= narrowest) {
    // A small screen: a narrower viewer still leaves the dialog in sight.
    width = std::max(roomRight, roomLeft);
    x = roomRight >= roomLeft ? right : dialog.left() - gap - width;
  } else {
    x = std::max(screen.left(), screen.right() + 1 - width);
  }
  int y = std::clamp(dialog.top(), screen.top(), std::max(screen.top(), screen.bottom() + 1 - viewer.height()));
  return {x, y, width, viewer.height()};
}

void QtPlatform::ShowHelp(const std::string& helpFile, int context) {
  // Qt leaves a modal dialog's own windows usable: while one is open the viewer belongs to
  // it, so the help can be read and closed (Escape) with the dialog still open.
  QWidget* modal = QApplication::activeModalWidget();
  QWidget* parent = modal ? modal : owner_.data();
  if (help_ && help_->parentWidget() != parent) {
    help_->hide();
    help_->deleteLater();
    help_ = nullptr;
  }
  const bool fresh = !help_;
  if (fresh) {
    QDir folder(programFolder.empty() ? QDir::currentPath() : Q(programFolder));
    help_ = new HelpViewer(parent, folder.absoluteFilePath("help"));
  }
  if (modal && fresh) {
    QScreen* screen = modal->screen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    help_->setGeometry(HelpPlaceBeside(modal->frameGeometry(), help_->size(), area));
  }
  help_->ShowTopic(Q(helpFile), context);
}

namespace {
// Escape and the close button cancel the work instead of hiding the window.
class ProgressDialog : public QDialog {
 public:
  using QDialog::QDialog;
  std::function<void()> onCancel;
  void reject() override {
    if (onCancel) onCancel();
  }
};
}  // namespace

void QtPlatform::WatchProgress(const ProgressWatch& watch) {
  ProgressDialog d(owner_);
  d.setWindowTitle(QString::fromStdString(watch.title));
  d.setWindowModality(Qt::ApplicationModal);
  auto* label = new QLabel;
  label->setMinimumWidth(360);
  auto* bar = new QProgressBar;
  auto* cancel = new QPushButton("Cancel");
  auto* column = new QVBoxLayout(&d);
  column->addWidget(label);
  column->addWidget(bar);
  column->addWidget(cancel, 0, Qt::AlignRight);
  d.onCancel = [&] {
    if (!cancel->isEnabled()) return;
    cancel->setEnabled(false);
    if (watch.cancel) watch.cancel();
  };
  QObject::connect(cancel, &QPushButton::clicked, &d, [&] { d.onCancel(); });
  QEventLoop loop;
  QTimer poll;
  auto refresh = [&] {
    label->setText(QString::fromStdString(watch.text ? watch.text() : std::string()));
    int percent = watch.percent ? watch.percent() : -1;
    bar->setRange(0, percent < 0 ? 0 : 100);
    if (percent >= 0) bar->setValue(percent);
    if (watch.finished()) loop.quit();
  };
  QObject::connect(&poll, &QTimer::timeout, &d, refresh);
  poll.start(50);
  refresh();
  if (watch.finished()) return;
  d.show();
  loop.exec();
}

bool QtPlatform::RunDialog(QDialog& dialog) {
  if (!dialog.parent() && owner_) dialog.setParent(owner_, dialog.windowFlags() | Qt::Dialog);
  return dialog.exec() == QDialog::Accepted;
}
