#include <QDialog>
#include <QTemporaryDir>
#include <QTest>

#include "platform/help_viewer.h"
#include "platform/qt_platform.h"
#include "support/fixture.h"
#include "support/scripted_platform.h"

class PlatformTest : public QObject {
  Q_OBJECT
 private slots:
  void filterStrings() {
    QCOMPARE(QtFilterString({{"Program Files (*.web)", "*.web"}, {"All Files (*.*)", "*.*"}}),
             QString("Program Files (*.web);;All Files (*)"));
    QCOMPARE(QtFilterString({{"Images", "*.gif;*.jpg"}}), QString("Images (*.gif *.jpg)"));
  }

  void defaultExtension() {
    QCOMPARE(WithDefaultExtension("/a/b/page", "web"), std::string("/a/b/page.web"));
    QCOMPARE(WithDefaultExtension("/a/b/page.html", "web"), std::string("/a/b/page.html"));
    QCOMPARE(WithDefaultExtension("/a.d/page", "web"), std::string("/a.d/page.web"));
    QCOMPARE(WithDefaultExtension("/a/page", ""), std::string("/a/page"));
  }

  void helpPages() {
    QCOMPARE(HelpPageFor("help\\contents.chm", 0), QString("index.html"));
    QCOMPARE(HelpPageFor("help/contents.chm", 27), QString("27.html"));
    QCOMPARE(HelpPageFor("help\\new.chm", 0), QString("new.html"));
    QCOMPARE(HelpPageFor("help/release.chm", 0), QString("release.html"));
  }

  void helpViewerFallsBackToNotFound() {
    QTemporaryDir dir;
    WriteAll(dir.filePath("index.html").toStdString(), "<h1>Index</h1><a href='5.html'>five</a>");
    WriteAll(dir.filePath("5.html").toStdString(), "<h1>Five</h1>");
    WriteAll(dir.filePath("notfound.html").toStdString(), "<h1>Not found</h1>");
    HelpViewer viewer(nullptr, dir.path());
    viewer.ShowTopic("help/contents.chm", 5);
    QCOMPARE(viewer.CurrentPage(), QString("5.html"));
    viewer.ShowTopic("help/contents.chm", 999);
    QCOMPARE(viewer.CurrentPage(), QString("notfound.html"));
    viewer.ShowTopic("help/contents.chm", 0);
    QCOMPARE(viewer.CurrentPage(), QString("index.html"));
  }

  void scriptedPlatformRecordsSurprises() {
    ScriptedPlatform p;
    p.AnswerMessage(MsgAnswer::Yes);
    QVERIFY(p.Message("q", MsgIcon::Question, MsgButtons::YesNo, "Verosta editor") == MsgAnswer::Yes);
    QVERIFY(p.Done());
    std::string path;
    FileDialogSpec fileDialog;
    fileDialog.title = "Open";
    QVERIFY(!p.SaveFile(fileDialog, path));
    QCOMPARE(int(p.surprises.size()), 1);
    QVERIFY(!p.Done());
  }

  void scriptedDialogsAreFilledByTheTest() {
    ScriptedPlatform p;
    QDialog d;
    d.setWindowTitle("Tables");
    p.AnswerDialog([](QDialog& dlg) { return dlg.windowTitle() == "Tables"; });
    QVERIFY(p.RunDialog(d));
    QCOMPARE(d.result(), int(QDialog::Accepted));
    QVERIFY(!p.RunDialog(d));  // nothing queued: a surprise
    QCOMPARE(int(p.surprises.size()), 1);
  }
};

QTEST_MAIN(PlatformTest)
#include "test_platform.moc"
