#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include "app/application.h"
#include "app/commands.h"
#include "app/menus.h"
#include "app/shell.h"
#include "documents/document_table.h"
#include "platform/platform.h"

MainWindow::MainWindow(App& app) : app_(app), tabs_(new QTabWidget(this)), toolbar_(new QToolBar(this)) {
  app_.window = this;
  setWindowTitle(QString());
  setWindowIcon(QIcon(QString::fromStdString(ProgramFile(app_, "res/verosta.svg"))));
  resize(700, 450);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - QPoint(350, 225));
  }
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

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
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
