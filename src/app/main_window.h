// The main window: tab strip, menu bar, toolbar and status bar. It forwards every
// command to the dispatch tables and runs the exit sequence when closed.
#pragma once
#include <QMainWindow>
#include <QMargins>
#include <QRect>
#include <string>
#include <vector>

struct App;
class QMimeData;
class QTabWidget;
class QToolBar;

// Room left for the window manager's frame, which is not known before the window is shown.
inline constexpr QMargins kFrameAllowance(8, 36, 8, 8);
// Where a window of client size `wanted` first stands on a screen whose free area is
// `available`: shrunk so that it fits there with its `frame`, and centred. The client area.
QRect FitWindowToScreen(QSize wanted, QRect available, QMargins frame);
// The local files (not folders) of a drag from a file manager.
std::vector<std::string> DroppedFiles(const QMimeData* data);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(App& app);
  ~MainWindow() override;

  QTabWidget* Tabs() const { return tabs_; }
  QToolBar* Toolbar() const { return toolbar_; }
  // Runs a command number as a menu item (fromMenu) or an accelerator key.
  void Command(int number, bool fromMenu);
  // True once the exit sequence has run; the window then closes for good.
  bool Exited() const { return exited_; }

 signals:
  // Every command number the window is given, before it runs.
  void commandReceived(int number, bool fromMenu);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void OnTabChanged();
  bool FileDrop(QEvent* event);
  App& app_;
  QTabWidget* tabs_;
  QToolBar* toolbar_;
  bool exited_ = false;
};
