// File > Recent Files: the list's rules, its file Recent.ini byte for byte, and the menu.
#include <QAction>
#include <QMenu>
#include <QTest>

#include "app/main_window.h"
#include "app/menus.h"
#include "app/recent_files.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "support/fixture.h"

namespace {

std::vector<std::string> Paths(const QStringList& list) {
  std::vector<std::string> out;
  for (const QString& s : list) out.push_back(s.toStdString());
  return out;
}

QStringList Texts(const std::vector<std::string>& paths) {
  QStringList out;
  for (const std::string& p : paths) out << QString::fromStdString(p);
  return out;
}

QStringList VisibleEntries(App& app) {
  QStringList out;
  for (int i = 0; i < kRecentFileCount; ++i)
    if (QAction* a = MenuItem(app.window, kRecentFileItems[i]); a && a->isVisible()) out << a->text();
  return out;
}

}  // namespace

class TestRecentFiles : public QObject {
  Q_OBJECT

 private slots:
  void listRules_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("first") << QStringList{} << "/s/a.web" << QStringList{"/s/a.web"};
    QTest::newRow("newest first") << QStringList{"/s/a.web"} << "/s/b.web" << QStringList{"/s/b.web", "/s/a.web"};
    QTest::newRow("moved to the front") << QStringList{"/s/a.web", "/s/b.web", "/s/c.web"} << "/s/c.web"
                                        << QStringList{"/s/c.web", "/s/a.web", "/s/b.web"};
    QStringList ten;
    for (int i = 0; i < 10; ++i) ten << QString("/s/%1.web").arg(i);
    QStringList eleventh = QStringList{"/s/new.web"} + ten.mid(0, 9);
    QTest::newRow("ten at most") << ten << "/s/new.web" << eleventh;
    QTest::newRow("letter case is another file")
        << QStringList{"/s/A.web"} << "/s/a.web" << QStringList{"/s/a.web", "/s/A.web"};
    QTest::newRow("empty path ignored") << QStringList{"/s/a.web"} << "" << QStringList{"/s/a.web"};
    QTest::newRow("line break in a name ignored") << QStringList{} << "/s/a\nb.web" << QStringList{};
  }
  void listRules() {
    QFETCH(QStringList, before);
    QFETCH(QString, path);
    QFETCH(QStringList, after);
    QCOMPARE(Texts(WithRecentFile(Paths(before), path.toStdString())), after);
  }

  void fileFormat_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("paths");
    QTest::newRow("cr lf") << QByteArray("/s/a b.web\r\n/s/c.html\r\n") << QStringList{"/s/a b.web", "/s/c.html"};
    QTest::newRow("lf and blank lines") << QByteArray("/s/a.web\n\n/s/c.html") << QStringList{"/s/a.web", "/s/c.html"};
    QTest::newRow("empty") << QByteArray("") << QStringList{};
    QByteArray twelve;
    for (int i = 0; i < 12; ++i) twelve += "/f" + QByteArray::number(i) + "\r\n";
    QStringList first10;
    for (int i = 0; i < 10; ++i) first10 << QString("/f%1").arg(i);
    QTest::newRow("ten read") << twelve << first10;
  }
  void fileFormat() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, paths);
    QCOMPARE(Texts(ParseRecentFiles(bytes.toStdString())), paths);
    std::string written = RecentFilesText(Paths(paths));
    QCOMPARE(Texts(ParseRecentFiles(written)), paths);
    if (!paths.isEmpty()) QVERIFY(written.size() >= 2 && written.substr(written.size() - 2) == "\r\n");
  }

  // Opening and saving feed the list; Verosta.ini does not hold it.
  void openAndSaveAsFillTheList() {
    EditorFixture f;
    f.WriteFile("site/a.web", "A");
    f.WriteFile("site/b.web", "B");
    f.Start();
    QVERIFY(VisibleEntries(*f.app).isEmpty());
    f.platform.AnswerOpen({f.Path("site/a.web")});
    f.Menu(Cmd::Open);
    f.platform.AnswerOpen({f.Path("site/b.web")});
    f.Menu(Cmd::Open);
    f.platform.AnswerSave(f.Path("site/c.html"));
    f.Menu(Cmd::SaveAs);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    const std::string expected =
        f.Path("site/c.html") + "\r\n" + f.Path("site/b.web") + "\r\n" + f.Path("site/a.web") + "\r\n";
    QCOMPARE(f.ReadFile("Recent.ini"), expected);
    QCOMPARE(VisibleEntries(*f.app), (QStringList{"&1 " + QString::fromStdString(f.Path("site/c.html")),
                                                  "&2 " + QString::fromStdString(f.Path("site/b.web")),
                                                  "&3 " + QString::fromStdString(f.Path("site/a.web"))}));
    f.Close();
    QVERIFY(f.ReadFile("Verosta.ini").find("Recent") == std::string::npos);
  }

  void entriesOpenTheirFiles() {
    EditorFixture f;
    f.WriteFile("a.web", "first");
    f.WriteFile("Recent.ini", "/no/such/file.web\r\n" + f.Path("a.web") + "\r\n");
    f.Start();
    QCOMPARE(VisibleEntries(*f.app).size(), 2);
    f.Menu(Cmd::RecentFile2);
    QCOMPARE(f.app->docs[f.app->activeSlot].path, f.Path("a.web"));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("first"));
    // A file that is gone is said so and leaves the list.
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(Cmd::RecentFile2);  // a.web moved to the front when opened: the missing one is second
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("message").at(0).text, std::string("This file no longer exists:\r/no/such/file.web"));
    QCOMPARE(f.ReadFile("Recent.ini"), f.Path("a.web") + "\r\n");
    QCOMPARE(VisibleEntries(*f.app).size(), 1);
  }
};

QTEST_MAIN(TestRecentFiles)
#include "test_recent_files.moc"
