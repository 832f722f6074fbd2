// The menu bar, the accelerator keys and the command registry they are built from.
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <map>
#include <set>

#include "app/commands.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "documents/document_table.h"
#include "support/fixture.h"

namespace {
// Flattens a built menu bar into lines "depth|number|text" (number 0 for menus, submenus
// and "-" for separators), the same shape as the layout.
void Walk(QMenu* menu, int depth, QStringList& out) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) {
      out << QString("%1|-").arg(depth);
    } else if (a->menu()) {
      out << QString("%1|sub|%2").arg(depth).arg(a->text());
      Walk(a->menu(), depth + 1, out);
    } else {
      out << QString("%1|%2|%3").arg(depth).arg(a->data().toInt()).arg(a->text());
      if (a->isChecked() || !a->isEnabled()) out << "checked or disabled: " + a->text();
    }
  }
}

const Route* RouteOf(const std::vector<Route>& table, int number) {
  const Route* found = nullptr;
  for (const Route& r : table)
    if (r.number == number) {
      if (found) return nullptr;  // twice is as bad as never
      found = &r;
    }
  return found;
}
}  // namespace

class MenusTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    keys_ = std::make_unique<EditorFixture>();
    keys_->Start();
  }
  void cleanupTestCase() { keys_.reset(); }

  void twelveMenusInOrder() {
    QStringList titles;
    for (const MenuRow& r : MenuLayout())
      if (r.kind == MenuRow::Menu) titles << r.title;
    QCOMPARE(titles, (QStringList{"&File", "Pro&jects", "&Edit", "&Search", "&View", "&Include", "Fo&rmat", "&Html",
                                  "&Style", "R&un", "&Tools", "Hel&p"}));
  }

  void exactItemTexts_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("new") << Number(Cmd::NewProgram) << "&New Program...                  \tCtrl+N";
    QTest::newRow("new project") << Number(Cmd::NewProject) << "New Project...                   \tCtrl+J";
    QTest::newRow("undo") << Number(Cmd::Undo) << "&Undo                             \tCtrl+Z";
    QTest::newRow("font") << Number(Cmd::EditorsFont) << "Editor's Fo&nt...          \tAlt+N";
    QTest::newRow("increase") << Number(Cmd::IncreaseFontSize) << "Increase Font Size      \tAlt+Up";
    QTest::newRow("publish two tabs") << Number(Cmd::Publish) << "P&ublish...\t\tCtrl+U";
    QTest::newRow("library") << Number(Cmd::LibraryManager) << "Library &Manager...    \tAlt+M";
    QTest::newRow("paste dir ends in tab") << Number(Cmd::PasteCurrentDirectory) << "Current Directory\t";
    QTest::newRow("paste name ends in tab") << Number(Cmd::PasteActiveFileName) << "Active File Name\t";
    QTest::newRow("line break space") << Number(Cmd::LineBreak) << "LineBreak ";
    QTest::newRow("save as") << Number(Cmd::SaveAs) << "Save &As...\tCtrl+A";
    QTest::newRow("preferences") << Number(Cmd::Preferences) << "Pref&erences...\tAlt+F4";
    QTest::newRow("create web page") << Number(Cmd::CreateWebPage) << "C&reate Web Page...\tCtrl+R";
    QTest::newRow("release notes") << Number(Cmd::ReleaseNotes) << "Release Notes";
    QTest::newRow("highlight line") << Number(Cmd::HighlightLine) << "Highlight Current Line\tShift+Ctrl+H";
  }
  void exactItemTexts() {
    QFETCH(int, number);
    QFETCH(QString, text);
    QMenuBar bar;
    BuildMenuBar(&bar, &bar, [](QObject*, int) {});
    QAction* item = bar.findChild<QAction*>(QString::number(number));
    QVERIFY(item);
    QCOMPARE(item->text(), text);
  }

  void builtMenuBarMatchesTable() {
    QMenuBar bar;
    BuildMenuBar(&bar, &bar, [](QObject*, int) {});
    QStringList built;
    for (QAction* a : bar.actions()) {
      built << "0|menu|" + a->text();
      Walk(a->menu(), 1, built);
    }
    QStringList table;
    for (const MenuRow& r : MenuLayout()) {
      switch (r.kind) {
        case MenuRow::Menu: table << "0|menu|" + QString::fromUtf8(r.title); break;
        case MenuRow::Separator: table << QString("%1|-").arg(r.depth); break;
        case MenuRow::Submenu: table << QString("%1|sub|%2").arg(r.depth).arg(r.title); break;
        case MenuRow::Item:
          table << QString("%1|%2|%3").arg(r.depth).arg(Number(r.id)).arg(QString::fromUtf8(FindCommand(r.id)->text));
          break;
      }
    }
    QCOMPARE(built, table);
    QVERIFY(table.contains("1|sub|Save  Selected"));
  }

  // Each row with a menu text is placed once, and the layout places nothing else.
  void layoutPlacesEveryMenuRowOnce() {
    std::map<int, int> placed;
    for (const MenuRow& r : MenuLayout())
      if (r.kind == MenuRow::Item) ++placed[Number(r.id)];
    for (const CommandRow& row : Commands()) {
      if (!row.text) continue;
      QVERIFY2(row.id != Cmd::None, row.text);
      QVERIFY2(placed[Number(row.id)] == 1, row.text);
      placed.erase(Number(row.id));
    }
    QVERIFY2(placed.empty(), qPrintable(QString::number(placed.begin()->first)));
  }

  // Menu numbers, accelerator numbers and button ids are each declared once, in their ranges.
  void everyNumberIsDeclaredOnce() {
    std::set<int> seen;
    auto declare = [&seen](int number, int low, int high) {
      QVERIFY2(seen.insert(number).second, qPrintable(QString::number(number)));
      QVERIFY2(number >= low && number <= high, qPrintable(QString::number(number)));
    };
    for (const CommandRow& row : Commands()) {
      QVERIFY(row.run);
      QVERIFY(row.id != Cmd::None || row.key.id != Accel::None || row.button.id != ButtonId::None);
      if (row.id != Cmd::None) declare(Number(row.id), 100, 2001);
      if (row.key.id != Accel::None) declare(Number(row.key.id), 4000, 5005);
      if (row.button.id != ButtonId::None) declare(Number(row.button.id), 5000, 5191);
    }
  }

  // What the window shows reaches a handler: every menu item and button by table A,
  // every key by table B.
  void everyItemAndButtonReachesAHandler() {
    EditorFixture f;
    f.Start();
    int items = 0, buttons = 0;
    for (QAction* a : f.app->window->menuBar()->findChildren<QAction*>()) {
      if (a->isSeparator() || a->menu() || a->objectName().isEmpty()) continue;
      ++items;
      const Route* route = RouteOf(MenuRoutes(), a->objectName().toInt());
      QVERIFY2(route && route->run && a->data().toInt() == route->number, qPrintable(a->text()));
    }
    for (QAction* a : f.app->window->Toolbar()->actions()) {
      if (a->isSeparator()) continue;
      ++buttons;
      const Route* route = RouteOf(MenuRoutes(), a->objectName().toInt());
      QVERIFY2(route && route->run && route->thenFocus, qPrintable(a->objectName()));
    }
    QVERIFY(items > 0 && buttons > 0);
    for (const Route& route : KeyRoutes()) {
      QVERIFY(route.run);
      QVERIFY2(!RouteOf(MenuRoutes(), route.number), "an accelerator number is also a menu number");
    }
  }

  void noKeyBoundTwice() {
    std::set<int> keys;
    for (const CommandRow& row : Commands()) {
      if (row.key.id == Accel::None) continue;
      QKeyCombination k = KeysOf(row);
      QVERIFY2(k.key() != Qt::Key_unknown, row.key.keys);
      QVERIFY2(keys.insert(k.toCombined()).second, row.key.keys);
    }
  }

  // A shortcut shown in a menu text is the key of its own row; "Shift+Tab" is shown only.
  void menuTextsNameTheirKeys() {
    for (const CommandRow& row : Commands()) {
      if (!row.text) continue;
      QString text = QString::fromUtf8(row.text);
      QString shown = text.contains('\t') ? text.section('\t', -1) : QString();
      if (row.key.id != Accel::None) QVERIFY2(!shown.isEmpty(), row.text);
      if (shown.isEmpty() || shown == "Shift+Tab") continue;
      QVERIFY2(row.key.id != Accel::None, row.text);
      QKeySequence named = QKeySequence::fromString(shown.replace("PgDn", "PgDown"), QKeySequence::PortableText);
      QCOMPARE(named[0].toCombined(), KeysOf(row).toCombined());
    }
  }

  // The design's accelerator table, pressed on the editor of the main window. The numbers
  // are the design's, so they check the values the registry gives its names.
  void designKeysFireTheirCommands_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("number");
    const int A = Qt::AltModifier, C = Qt::ControlModifier, CS = Qt::ControlModifier | Qt::ShiftModifier, N = 0;
    struct R {
      int m;
      int k;
      int n;
    } rows[] = {
        {N, Qt::Key_Tab, 4000},      {A, Qt::Key_D, 4001},  {A, Qt::Key_L, 4025},      {A, Qt::Key_A, 4005},
        {A, Qt::Key_N, 4006},        {A, Qt::Key_F4, 4007}, {A, Qt::Key_O, 4008},      {A, Qt::Key_G, 4009},
        {A, Qt::Key_X, 4010},        {A, Qt::Key_M, 4011},  {A, Qt::Key_C, 4022},      {A, Qt::Key_Up, 4044},
        {A, Qt::Key_Down, 4045},     {A, Qt::Key_F5, 4046}, {C, Qt::Key_N, 4012},      {C, Qt::Key_J, 4014},
        {C, Qt::Key_O, 4013},        {C, Qt::Key_S, 4016},  {C, Qt::Key_A, 4017},      {C, Qt::Key_P, 4018},
        {C, Qt::Key_B, 4023},        {C, Qt::Key_Z, 4019},  {C, Qt::Key_F, 4020},      {C, Qt::Key_X, 4031},
        {C, Qt::Key_C, 4032},        {C, Qt::Key_V, 4033},  {C, Qt::Key_R, 4024},      {C, Qt::Key_W, 4029},
        {C, Qt::Key_L, 4027},        {C, Qt::Key_Y, 4036},  {C, Qt::Key_E, 4047},      {C, Qt::Key_H, 4048},
        {C, Qt::Key_U, 4057},        {C, Qt::Key_M, 4058},  {C, Qt::Key_Return, 4052}, {C, Qt::Key_PageUp, 4061},
        {C, Qt::Key_PageDown, 4062}, {N, Qt::Key_F1, 4034}, {N, Qt::Key_F2, 4035},     {N, Qt::Key_F3, 4021},
        {N, Qt::Key_F4, 4037},       {C, Qt::Key_Q, 4290},  {CS, Qt::Key_Left, 5001},  {CS, Qt::Key_Right, 5002},
        {CS, Qt::Key_D, 5003},       {CS, Qt::Key_R, 5004}, {CS, Qt::Key_H, 5005},     {CS, Qt::Key_B, 4070},
        {N, Qt::Key_F5, 4063}};
    for (const R& r : rows) QTest::newRow(qPrintable(QString::number(r.n))) << r.m << r.k << r.n;
    int bound = 0;
    for (const CommandRow& row : Commands()) bound += row.key.id != Accel::None;
    QCOMPARE(bound, int(std::size(rows)));  // and no key beyond the table
  }
  void designKeysFireTheirCommands() {
    QFETCH(int, modifiers);
    QFETCH(int, key);
    QFETCH(int, number);
    App& app = *keys_->app;
    // Commands of earlier rows may have closed the tab or left the focus elsewhere.
    if (!FindActiveDocument(app)) QVERIFY(OpenDocumentTab(app, "", "Untitled.web"));
    QSignalSpy spy(app.window, &MainWindow::commandReceived);
    QTest::keyClick(reinterpret_cast<QWidget*>(app.activeEditor), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy[0][0].toInt(), number);
    QCOMPARE(spy[0][1].toBool(), false);
    QVERIFY(RouteOf(KeyRoutes(), number));
  }

  void keysWithoutAccelerator() {
    QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(AcceleratorFor(backtab), 0);
    QKeyEvent plainA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCOMPARE(AcceleratorFor(plainA), 0);
    QKeyEvent ctrlAltA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(AcceleratorFor(ctrlAltA), 0);
    QKeyEvent keypadEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(AcceleratorFor(keypadEnter), Number(Accel::CtrlEnter));
  }

 private:
  std::unique_ptr<EditorFixture> keys_;  // the window the design's keys are pressed on
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
