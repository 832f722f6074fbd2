// Live Preview in a real headless Chromium: a saved program shows its new text, a style
// sheet is swapped without a reload, a translator error shows over the page, and
// stopping leaves no port open and no process behind.
#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QTabWidget>
#include <QTcpSocket>
#include <QtTest>

#include "core/command_ids.h"
#include "documents/document_table.h"
#include "preview/live_preview.h"
#include "support/chromium.h"
#include "support/fixture.h"
#include "tools/translator_messages_dock.h"

class TestLivePreview : public QObject {
  Q_OBJECT
 private slots:
  void savesReachTheBrowser();
  void followsTheActiveProgram();
  void typingRebuildsFromTheEditorsText();
};

namespace {

void UseRealTranslator(EditorFixture& f) {
  QFile::remove(QString::fromStdString(f.Path("Comp")));
  QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Comp")), QString::fromStdString(f.Path("Comp"))));
}

// A tall page: a reload must bring the reader back to where they were.
std::string Program(const std::string& body) {
  return "<link rel=\"stylesheet\" href=\"style.css\">\n" + body + "<div style=\"height: 5000px\"></div>\n";
}

// Saves new text into the active program, as the user would with Ctrl+S.
void SaveText(EditorFixture& f, const std::string& text) {
  f.app->activeEditor->setText(QString::fromStdString(text));
  f.Menu(Cmd::Save);
}

// Brings the tab of `path` forward, as a click on it would.
void ActivateDocument(EditorFixture& f, const std::string& path) {
  for (int slot = 1; slot <= kMaxDocuments; ++slot)
    if (f.app->docs[slot].page && f.app->docs[slot].path == path)
      TabStrip(*f.app)->setCurrentIndex(TabStrip(*f.app)->indexOf(f.app->docs[slot].page));
}

std::vector<int> ChildProcesses() {
  std::vector<int> children;
  for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
    QFile stat("/proc/" + entry + "/stat");
    if (!entry.toInt() || !stat.open(QIODevice::ReadOnly)) continue;
    QByteArray line = stat.readAll();
    QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() > 1 && fields[1].toInt() == QCoreApplication::applicationPid() && fields[0] != "Z")
      children.push_back(entry.toInt());
  }
  return children;
}

}  // namespace

void TestLivePreview::savesReachTheBrowser() {
  const std::vector<int> before = ChildProcesses();
  HeadlessChromium chromium;
  QString why;
  if (!chromium.Start(why)) QSKIP(qPrintable(why));
  EditorFixture f;
  UseRealTranslator(f);
  f.Start();
  f.WriteFile("site/style.css", "#t { color: rgb(1, 2, 3); }\n");
  f.WriteFile("site/index.web", Program("<p id=\"t\">first</p>\n"));
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/index.web"), "index.web"));
  f.Key(Accel::LivePreview);
  auto opened = f.platform.CallsOf("browser");
  QCOMPARE(opened.size(), size_t(1));
  QCOMPARE(opened[0].text, std::string());  // the default browser
  const std::string address = opened[0].args.at(0);
  QVERIFY2(address.rfind("http://127.0.0.1:", 0) == 0 && address.find("/index.html") != std::string::npos,
           address.c_str());
  QVERIFY(chromium.OpenPage(QString::fromStdString(address)));
  QVERIFY(chromium.WaitFor("document.getElementById('t') && document.getElementById('t').textContent === 'first'"));
  QVERIFY(f.ReadFile("site/index.html").find("verosta") == std::string::npos);  // the script is only served

  chromium.Evaluate("window.scrollTo(0, 700)");
  SaveText(f, Program("<p id=\"t\">second</p>\n"));
  QVERIFY(chromium.WaitFor("document.getElementById('t').textContent === 'second' && window.scrollY === 700"));

  // A style sheet saved by another program is swapped in place: the page keeps its state.
  chromium.Evaluate("window.kept = 42");
  f.WriteFile("site/style.css", "#t { color: rgb(4, 5, 6); }\n");
  QVERIFY(chromium.WaitFor("getComputedStyle(document.getElementById('t')).color === 'rgb(4, 5, 6)'"));
  QCOMPARE(chromium.Evaluate("window.kept").toInt(), 42);

  SaveText(f, Program("<p id=\"t\">third</p>\n#Include missing.lib\n"));
  QVERIFY(chromium.WaitFor("document.getElementById('verosta-preview-error')"));
  QString overlay = chromium.Evaluate("document.getElementById('verosta-preview-error').textContent").toString();
  QVERIFY2(overlay.contains("index.web:3:") && overlay.contains("missing.lib"), qPrintable(overlay));
  QVERIFY(TranslatorMessagesDock(*f.app) && !TranslatorMessagesDock(*f.app)->isHidden());
  // The missing library arrives: the page that includes it is rebuilt and the error goes.
  f.WriteFile("site/missing.lib", "<p id=\"lib\">from the library</p>\n");
  QVERIFY(chromium.WaitFor("document.getElementById('lib') && document.getElementById('t').textContent === 'third' && "
                           "!document.getElementById('verosta-preview-error')"));

  const int port = preview::RunningPreview(*f.app)->Server().Port();
  f.Key(Accel::LivePreview);  // stops it
  QVERIFY(!preview::RunningPreview(*f.app));
  QTcpSocket probe;
  probe.connectToHost("127.0.0.1", port);
  QVERIFY(!probe.waitForConnected(2000));
  chromium.Stop();
  QTRY_VERIFY_WITH_TIMEOUT(ChildProcesses() == before, 10000);
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLivePreview::followsTheActiveProgram() {
  HeadlessChromium chromium;
  QString why;
  if (!chromium.Start(why)) QSKIP(qPrintable(why));
  EditorFixture f;
  UseRealTranslator(f);
  f.Start();
  f.WriteFile("site/site.ini", "");
  f.WriteFile("site/a.web", "<p id=\"t\">page a</p>\n");
  f.WriteFile("site/blog/b.web", "<p id=\"t\">page b</p>\n");
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/a.web"), "a.web"));
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/blog/b.web"), "b.web"));
  ActivateDocument(f, f.Path("site/a.web"));
  f.Key(Accel::LivePreview);
  QVERIFY(chromium.OpenPage(QString::fromStdString(f.platform.CallsOf("browser").at(0).args.at(0))));
  QVERIFY(chromium.WaitFor("document.getElementById('t').textContent === 'page a'"));
  ActivateDocument(f, f.Path("site/blog/b.web"));  // b.web has no page yet: it is made, and the browser goes there
  QVERIFY(chromium.WaitFor("location.pathname === '/blog/b.html' && "
                           "document.getElementById('t').textContent === 'page b'"));
  QCOMPARE(f.platform.CallsOf("browser").size(), size_t(1));  // no second tab
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestLivePreview::typingRebuildsFromTheEditorsText() {
  HeadlessChromium chromium;
  QString why;
  if (!chromium.Start(why)) QSKIP(qPrintable(why));
  EditorFixture f;
  UseRealTranslator(f);
  f.Start();
  f.app->settings.previewWhileTyping = 1;
  f.WriteFile("site/index.web", "<p id=\"t\">saved</p>\n");
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/index.web"), "index.web"));
  f.Key(Accel::LivePreview);
  QVERIFY(chromium.OpenPage(QString::fromStdString(f.platform.CallsOf("browser").at(0).args.at(0))));
  QVERIFY(chromium.WaitFor("document.getElementById('t').textContent === 'saved'"));
  f.app->activeEditor->setText("<p id=\"t\">typed</p>\n");
  QVERIFY(chromium.WaitFor("document.getElementById('t').textContent === 'typed'"));
  QCOMPARE(f.ReadFile("site/index.web"), std::string("<p id=\"t\">saved</p>\n"));  // the file is not saved
  QCOMPARE(QDir(QString::fromStdString(f.Path("site"))).entryList(QDir::Files | QDir::Hidden),
           QStringList({"index.html", "index.web"}));
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

QTEST_MAIN(TestLivePreview)
#include "test_live_preview.moc"
