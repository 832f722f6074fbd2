// Build Site from the editor: the real translator over a site, its messages in the dock,
// Cancel, the progress lines, and Build on save.
#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QListWidget>
#include <QTest>

#include "app/main_window.h"
#include "core/files.h"
#include "core/text.h"
#include "documents/document_table.h"
#include "support/fixture.h"
#include "tools/site_build_command.h"
#include "tools/translator_messages_dock.h"

namespace {

std::vector<const PlatformCall*> CallsOf(const EditorFixture& f, const std::string& kind) {
  std::vector<const PlatformCall*> out;
  for (const PlatformCall& c : f.platform.calls)
    if (c.kind == kind) out.push_back(&c);
  return out;
}

void OpenProgram(EditorFixture& f, const std::string& name, const std::string& text) {
  f.WriteFile(name, text);
  QVERIFY(OpenDocumentTab(*f.app, f.Path(name), core::FileNameOf(name)));
}

}  // namespace

class TestBuildSite : public QObject {
  Q_OBJECT
 private slots:
  void buildSiteMakesEveryPageAndListsEveryMessage() {
    EditorFixture f;
    QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Comp")), QString::fromStdString(f.Path("Comp"))));
    f.Start();
    f.WriteFile("site/site.ini", "Name s\n");
    f.WriteFile("site/b/b.web", "WriteText \"b\"\n#Include \"missing.lib\"\n");
    OpenProgram(f, "site/a.web", "WriteText \"an open quote\n");
    f.platform.AnswerMessage(MsgAnswer::Ok);  // not every page could be made
    f.Key(Accel::BuildSite);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto runs = CallsOf(f, "run");
    QCOMPARE(runs.size(), size_t(1));
    QCOMPARE(runs[0]->args,
             (std::vector<std::string>{"--site", f.Path("site"), "--progress", "--config", f.ConfigFolder()}));
    QVERIFY(core::FileExists(f.Path("site/a.html")));
    QVERIFY(!core::FileExists(f.Path("site/b/b.html")));
    auto messages = CallsOf(f, "message");
    QVERIFY(messages.back()->text.starts_with("The site was not built completely.\rNot every page could be made: "));
    QDockWidget* dock = TranslatorMessagesDock(*f.app);
    QVERIFY(dock && dock->isVisibleTo(f.app->window));
    auto* list = qobject_cast<QListWidget*>(dock->widget());
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->item(i)->toolTip() + "|" + list->item(i)->text();
    QCOMPARE(rows.size(), 2);
    QVERIFY2(rows[0].startsWith(QString::fromStdString(f.Path("site/a.web") + "|")), qPrintable(rows.join('\n')));
    QVERIFY2(rows[1].startsWith(QString::fromStdString(f.Path("site/b/b.web") + "|")), qPrintable(rows.join('\n')));
  }

  void cancelStopsTheBuild() {
    EditorFixture f;
    f.WriteFile("Comp", "#!/bin/sh\nsleep 30\n");
    QFile::setPermissions(QString::fromStdString(f.Path("Comp")), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    f.Start();
    OpenProgram(f, "site/a.web", "<p>a</p>\n");
    f.platform.AnswerProgress(100);
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.Menu(Cmd::BuildSite);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(CallsOf(f, "message").back()->text,
             std::string(
                 "The site was not built completely.\rThe site build was cancelled; the pages made so far stay."));
  }

  void progressLines_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("percent");
    QTest::newRow("first of four") << "[1/4] /s/a.web" << 25;
    QTest::newRow("last") << "[4/4] /s/d.web" << 100;
    QTest::newRow("summary") << "4 programs: 4 pages made, 0 up to date, 0 failed, 0 warnings" << -1;
    QTest::newRow("nothing to do") << "[0/0] x" << -1;
    QTest::newRow("more done than there is") << "[5/4] x" << -1;
    QTest::newRow("unclosed") << "[1/4 x" << -1;
  }
  void progressLines() {
    QFETCH(QString, line);
    QFETCH(int, percent);
    QCOMPARE(SiteBuildPercent(line.toStdString()), percent);
  }

  // Save rebuilds the site only when Build on save is on (the menu item toggles and shows it)
  // and the program lies in a site.
  void buildOnSave_data() {
    QTest::addColumn<bool>("on");
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("builds");
    QTest::newRow("on, in a site") << true << "site/sub/a.web" << true;
    QTest::newRow("off, in a site") << false << "site/sub/a.web" << false;
    QTest::newRow("on, no site file") << true << "loose/a.web" << false;
    QTest::newRow("on, not a program") << true << "site/notes.txt" << false;
  }
  void buildOnSave() {
    QFETCH(bool, on);
    QFETCH(QString, program);
    QFETCH(bool, builds);
    EditorFixture f;
    f.Start();
    f.WriteFile("site/site.ini", "Name s\n");
    OpenProgram(f, program.toStdString(), "<p>a</p>\n");
    if (on) f.Menu(Cmd::BuildOnSave);
    QCOMPARE(f.app->settings.buildOnSave, on ? 1 : 0);
    QAction* item = f.app->window->findChild<QAction*>(QString::number(Number(Cmd::BuildOnSave)));
    QVERIFY(item);
    QCOMPARE(item->isChecked(), on);
    if (builds) f.platform.AnswerRun(0);
    f.Menu(Cmd::Save);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(CallsOf(f, "run").size(), size_t(builds ? 1 : 0));
    if (builds) QCOMPARE(CallsOf(f, "run")[0]->args[1], f.Path("site"));
  }
};

QTEST_MAIN(TestBuildSite)
#include "test_build_site.moc"
