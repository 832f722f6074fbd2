#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMimeData>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QUrl>
#include <algorithm>

#include "documents/application.h"
#include "app/command_line.h"
#include "app/commands.h"
#include "app/menus.h"
#include "app/shell.h"
#include "documents/document_table.h"
#include "platform/platform.h"

MainWindow::MainWindow(App& app) : app_(app), tabs_(new QTabWidget(this)), toolbar_(new QToolBar(this)) {
  app_.window = this;
  setWindowTitle(QString());
  setWindowIcon(QIcon(QString::fromStdString(ProgramFile(app_, "res/verosta.svg"))));
  QRect place(QPoint(0, 0), QSize(700, 450));
  if (QScreen* screen = QGuiApplication::primaryScreen())
    place = FitWindowToScreen(place.size(), screen->availableGeometry(), kFrameAllowance);
  resize(place.size());
  move(place.topLeft() - QPoint(kFrameAllowance.left(), kFrameAllowance.top()));  // move() places the frame
  setAcceptDrops(true);
  tabs_->setObjectName("200");
  tabs_->setDocumentMode(true);
  tabs_->setIconSize(QSize(17, 17));
  if (app_.settings.windowWidth > 0 && app_.settings.windowHeight > 0)
    tabs_->resize(app_.settings.windowWidth, app_.settings.windowHeight);
  setCentralWidget(tabs_);
  connect(tabs_, &QTabWidget::currentChanged, this, [this] { OnTabChanged(); });

  BuildMenuBar(menuBar(), this, [](QObject* w, int n) { static_cast<MainWindow*>(w)->Command(n, true); });
  toolbar_->setObjectName("500");
  toolbar_->setMovable(false);
  toolbar_->setIconSize(QSize(17, 17));
  addToolBar(Qt::TopToolBarArea, toolbar_);
  BuildToolbar(app_, toolbar_);
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  if (app_.window == this) app_.window = nullptr;
}

void MainWindow::Command(int number, bool fromMenu) {
  emit commandReceived(number, fromMenu);
  DispatchCommand(app_, number, fromMenu);
  if (app_.window == this) AfterCommand(app_);
}

void MainWindow::OnTabChanged() {
  if (!FindActiveDocument(app_)) return;
  if (app_.settings.titlebarName == 1) UpdateTitle(app_);
  else ShowTitleMarker(app_);
  AfterCommand(app_);
  if (app_.activeEditor) reinterpret_cast<QWidget*>(app_.activeEditor)->setFocus();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!exited_) {
    if (!ExitSequence(app_)) {
      event->ignore();
      return;
    }
    exited_ = true;
  }
  event->accept();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  // The sizes the design computes from the client area; Qt's layouts place the widgets.
  app_.editorWidth = width() - 2;
  app_.editorHeight = height() - 89;
}

QRect FitWindowToScreen(QSize wanted, QRect available, QMargins frame) {
  const QSize room = available.size().shrunkBy(frame).expandedTo(QSize(1, 1));
  const QSize size = wanted.boundedTo(room);
  const QSize outer = size.grownBy(frame);
  const QPoint corner(available.x() + std::max(0, (available.width() - outer.width()) / 2),
                      available.y() + std::max(0, (available.height() - outer.height()) / 2));
  return QRect(corner + QPoint(frame.left(), frame.top()), size);
}

std::vector<std::string> DroppedFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    if (!QFileInfo(path).isDir()) files.push_back(QDir::cleanPath(path).toStdString());
  }
  return files;
}

bool MainWindow::FileDrop(QEvent* event) {
  // Files dragged from a file manager open in tabs, wherever they land; other drops (text)
  // are the editor's.
  auto* drag = static_cast<QDropEvent*>(event);
  const std::vector<std::string> files = DroppedFiles(drag->mimeData());
  if (files.empty() || QApplication::activeModalWidget()) return false;
  drag->setDropAction(Qt::CopyAction);
  drag->accept();
  if (event->type() == QEvent::Drop) {
    OpenCommandLineFiles(app_, files);
    AfterCommand(app_);
  }
  return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop) {
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window() == this && FileDrop(event);
  }
  // The accelerator table wins over the editing component's own key bindings:
  // claim the key at ShortcutOverride, run the command at KeyPress.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this || QApplication::activeModalWidget()) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  const CommandRow* row = AcceleratorRowFor(*key);
  if (!row) return false;
  if (event->type() == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  if (!key->isAutoRepeat() || row->key.repeats) Command(Number(row->key.id), false);
  return true;
}
