// The main window: tab strip, menu bar, toolbar and status bar. It forwards every
// command to the dispatch tables and runs the exit sequence when closed.
#pragma once
#include <QMainWindow>

struct App;
class QTabWidget;
class QToolBar;

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
  App& app_;
  QTabWidget* tabs_;
  QToolBar* toolbar_;
  bool exited_ = false;
};
