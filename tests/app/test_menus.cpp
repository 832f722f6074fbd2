#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <set>

#include "app/menus.h"

namespace {
// Flattens a built menu bar into lines "depth|number|text" (number 0 for menus, submenus
// and "-" for separators), the same shape as the data table.
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
}  // namespace

class MenusTest : public QObject {
  Q_OBJECT
 private slots:
  void twelveMenusInOrder() {
    QStringList titles;
    for (const MenuRow& r : MenuRows())
      if (r.kind == MenuRow::Menu) titles << r.text;
    QCOMPARE(titles, (QStringList{"&File", "Pro&jects", "&Edit", "&Search", "&View", "&Include", "Fo&rmat",
                                  "&Html", "&Style", "R&un", "&Tools", "Hel&p"}));
  }

  void exactItemTexts_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("new") << 100 << "&New Program...                  \tCtrl+N";
    QTest::newRow("new project") << 1101 << "New Project...                   \tCtrl+J";
    QTest::newRow("undo") << 200 << "&Undo                             \tCtrl+Z";
    QTest::newRow("font") << 301 << "Editor's Fo&nt...          \tAlt+N";
    QTest::newRow("increase") << 308 << "Increase Font Size      \tAlt+Up";
    QTest::newRow("publish two tabs") << 902 << "P&ublish...\t\tCtrl+U";
    QTest::newRow("library") << 934 << "Library &Manager...    \tAlt+M";
    QTest::newRow("paste dir ends in tab") << 226 << "Current Directory\t";
    QTest::newRow("paste name ends in tab") << 227 << "Active File Name\t";
    QTest::newRow("line break space") << 521 << "LineBreak ";
    QTest::newRow("save as") << 106 << "Save &As...\tCtrl+A";
    QTest::newRow("preferences") << 300 << "Pref&erences...\tAlt+F4";
    QTest::newRow("create web page") << 800 << "C&reate Web Page...\tCtrl+R";
    QTest::newRow("release notes") << 2001 << "Release Notes";
    QTest::newRow("highlight line") << 214 << "Highlight Current Line\tShift+Ctrl+H";
  }
  void exactItemTexts() {
    QFETCH(int, number);
    QFETCH(QString, text);
    QString found;
    for (const MenuRow& r : MenuRows())
      if (r.kind == MenuRow::Item && r.number == number) found = QString::fromUtf8(r.text);
    QCOMPARE(found, text);
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
    for (const MenuRow& r : MenuRows()) {
      switch (r.kind) {
        case MenuRow::Menu: table << "0|menu|" + QString::fromUtf8(r.text); break;
        case MenuRow::Separator: table << QString("%1|-").arg(r.depth); break;
        case MenuRow::Submenu: table << QString("%1|sub|%2").arg(r.depth).arg(r.text); break;
        case MenuRow::Item: table << QString("%1|%2|%3").arg(r.depth).arg(r.number).arg(r.text); break;
      }
    }
    QCOMPARE(built, table);
    QCOMPARE(built.filter("|menu|").size(), 12);
    QVERIFY(table.contains("1|sub|Save  Selected"));
    QCOMPARE(table.size(), 304);  // with Recent Files and its ten entries
  }

  void menuNumbersAreUnique() {
    std::set<int> seen;
    int items = 0;
    for (const MenuRow& r : MenuRows()) {
      if (r.kind != MenuRow::Item) continue;
      ++items;
      QVERIFY2(seen.insert(r.number).second, qPrintable(QString::number(r.number)));
      QVERIFY(r.number >= 100 && r.number <= 2001);
    }
    QCOMPARE(items, 235);
  }

  void accelerators_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("number");
    const int A = Qt::AltModifier, C = Qt::ControlModifier, CS = Qt::ControlModifier | Qt::ShiftModifier, N = 0;
    struct R { int m; int k; int n; } rows[] = {
        {N, Qt::Key_Tab, 4000}, {A, Qt::Key_D, 4001}, {A, Qt::Key_L, 4025}, {A, Qt::Key_A, 4005},
        {A, Qt::Key_N, 4006}, {A, Qt::Key_F4, 4007}, {A, Qt::Key_O, 4008}, {A, Qt::Key_G, 4009},
        {A, Qt::Key_X, 4010}, {A, Qt::Key_M, 4011}, {A, Qt::Key_C, 4022}, {A, Qt::Key_Up, 4044},
        {A, Qt::Key_Down, 4045}, {A, Qt::Key_F5, 4046}, {C, Qt::Key_N, 4012}, {C, Qt::Key_J, 4014},
        {C, Qt::Key_O, 4013}, {C, Qt::Key_S, 4016}, {C, Qt::Key_A, 4017}, {C, Qt::Key_P, 4018},
        {C, Qt::Key_B, 4023}, {C, Qt::Key_Z, 4019}, {C, Qt::Key_F, 4020}, {C, Qt::Key_X, 4031},
        {C, Qt::Key_C, 4032}, {C, Qt::Key_V, 4033}, {C, Qt::Key_R, 4024}, {C, Qt::Key_W, 4029},
        {C, Qt::Key_L, 4027}, {C, Qt::Key_Y, 4036}, {C, Qt::Key_E, 4047}, {C, Qt::Key_H, 4048},
        {C, Qt::Key_U, 4057}, {C, Qt::Key_M, 4058}, {C, Qt::Key_Return, 4052}, {C, Qt::Key_PageUp, 4061},
        {C, Qt::Key_PageDown, 4062}, {N, Qt::Key_F1, 4034}, {N, Qt::Key_F2, 4035}, {N, Qt::Key_F3, 4021},
        {N, Qt::Key_F4, 4037}, {C, Qt::Key_Q, 4290}, {CS, Qt::Key_Left, 5001}, {CS, Qt::Key_Right, 5002},
        {CS, Qt::Key_D, 5003}, {CS, Qt::Key_R, 5004}, {CS, Qt::Key_H, 5005}};
    for (const R& r : rows) QTest::newRow(qPrintable(QString::number(r.n))) << r.m << r.k << r.n;
  }
  void accelerators() {
    QFETCH(int, modifiers);
    QFETCH(int, key);
    QFETCH(int, number);
    QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(AcceleratorFor(e), number);
  }

  void acceleratorTableShape() {
    QCOMPARE(int(AccelRows().size()), 47);
    std::set<int> numbers;
    std::set<std::pair<int, int>> keys;
    for (const AccelRow& r : AccelRows()) {
      QVERIFY(numbers.insert(r.number).second);
      QVERIFY(keys.insert({int(r.modifiers), int(r.key)}).second);
      QVERIFY((r.number >= 4000 && r.number <= 4290) || (r.number >= 5001 && r.number <= 5005));
    }
  }

  void keysWithoutAccelerator() {
    QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(AcceleratorFor(backtab), 0);
    QKeyEvent plainA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCOMPARE(AcceleratorFor(plainA), 0);
    QKeyEvent ctrlAltA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(AcceleratorFor(ctrlAltA), 0);
    QKeyEvent keypadEnter(QEvent::KeyPress, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
    QCOMPARE(AcceleratorFor(keypadEnter), 4052);
  }
};

QTEST_MAIN(MenusTest)
#include "test_menus.moc"
