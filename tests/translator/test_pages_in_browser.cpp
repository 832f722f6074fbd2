// Pages as a visitor's browser shows them: headless Chromium lays out translated pages in
// frames 390 and 1280 pixels wide, and a script beside the page reports what it finds.
#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <unistd.h>

#include "core/text.h"
#include "support/fixture.h"
#include "translator.h"

namespace {

const char* const kWidths[] = {"390", "1280"};

// A site folder with pictures, the program folder's scripts, and pages made in it.
class Site {
 public:
  Site() {
    QImage picture(800, 600, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    for (const char* name : {"images/sourdough.png", "images/map.png", "images/rye_bread.png"}) {
      QDir().mkpath(dir_.path() + "/images");
      picture.save(QString::fromStdString(Path(name)));
    }
    options.scriptFolder = std::string(VEROSTA_SOURCE_DIR) + "/data/JavaScript";
  }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  // Translates `program` as the site's `name`.web into `name`.html; the scripts it links to go beside it.
  std::string Make(const std::string& name, const std::string& program) {
    translator::Result r = translator::Translate(program, Path(name + ".web"), options);
    if (!r.ok) return "ERROR " + r.error;
    WriteAll(Path(name + ".html"), r.page);
    for (const std::string& script : r.scripts) WriteAll(Path(core::FileNameOf(script)), ReadAll(script));
    return r.page;
  }
  // Loads `wrapper` in Chromium and returns what its probe wrote into the body's data-probe.
  QJsonObject Probe(const std::string& wrapper) {
    WriteAll(Path("probe.html"), wrapper);
    QProcess chromium;
    chromium.setChildProcessModifier([] { setpgid(0, 0); });  // its helpers go with it
    chromium.start("chromium", {"--headless=new", "--no-sandbox", "--allow-file-access-from-files",
                                "--user-data-dir=" + dir_.path() + "/profile", "--window-size=1400,900",
                                "--virtual-time-budget=10000", "--dump-dom",
                                QString::fromStdString("file://" + Path("probe.html"))});
    bool done = chromium.waitForFinished(120000);
    if (chromium.processId() > 0) kill(-static_cast<pid_t>(chromium.processId()), SIGKILL);
    if (!done) chromium.waitForFinished(5000);
    std::string dom = chromium.readAllStandardOutput().toStdString();
    size_t at = dom.find("data-probe=\"");
    if (at == std::string::npos) return {{"error", QString::fromStdString("no probe in: " + dom.substr(0, 2000))}};
    std::string json = dom.substr(at + 12, dom.find('"', at + 12) - at - 12);
    json = core::ReplaceAll(core::ReplaceAll(json, "&quot;", "\""), "&amp;", "&");
    return QJsonDocument::fromJson(QByteArray::fromStdString(json)).object();
  }
  // A wrapper that shows `page` in a frame of each width and runs `probe` (a function of the
  // frame's window returning a value) on each once all have loaded.
  QJsonObject ProbeFrames(const std::string& page, const std::string& probe) {
    std::string frames;
    for (const char* w : kWidths)
      frames += "<iframe id=\"w" + std::string(w) + "\" src=\"" + page + "\" style=\"width:" + w +
                "px;height:700px;border:0\"></iframe>\n";
    return Probe("<!DOCTYPE html><html lang=\"en\"><head><title>probe</title></head><body>\n" + frames +
                 "<script>\nvar probe = " + probe +
                 ";\nwindow.onload = function () { var out = {};\n"
                 "  document.querySelectorAll('iframe').forEach(function (f) {\n"
                 "    try { out[f.id] = probe(f.contentWindow); } catch (e) { out[f.id] = String(e); } });\n"
                 "  document.body.setAttribute('data-probe', JSON.stringify(out)); };\n</script></body></html>\n");
  }
  translator::Options options;

 private:
  QTemporaryDir dir_;
};

bool HaveChromium() { return !QStandardPaths::findExecutable("chromium").isEmpty(); }

// Every command that places or sizes something, at sizes wider than a phone.
const char kLayoutProgram[] =
    "AlignMenu (horizontal, center)\nMenuWidth (100%)\nStartMenu \"Main\"\nItemName \"Home\" = 'index.html'\n"
    "ItemName \"Breads\" = 'breads.html'\nItemName \"Cakes\" = 'cakes.html'\nItemName \"Orders\" = 'orders.html'\n"
    "StartMenu \"More\"\nItemName \"Contact\" = 'contact.html'\nItemName \"Jobs\" = 'jobs.html'\nEndMenu\nEndMenu\n"
    "SetPosition (40, 10)\nPositionText \"A paragraph moved to the right, long enough to fill the whole line of "
    "a phone and more besides\"\n"
    "ShowImage 'images/sourdough.png' \"A sourdough loaf\"\nImageSize (800, 600)\nShowImage 'images/map.png'\n"
    "ImageSize ()\nMaxSize (900)\nShowImage 'images/rye_bread.png'\nMaxSize ()\n"
    "ExpandImage 'images/sourdough.png' \"Sourdough, close up\"\nFlyinImage 'images/map.png' \"The map\"\n"
    "ImageMag 'images/map.png' \"The way to us\"\n"
    "ViewGallery ()\nShowImage [0] = 'images/sourdough.png'\nShowImage [1] = 'images/rye_bread.png'\nEndView ()\n"
    "VideoWidth (480)\nVideoHeight (270)\nPlayVideo (video/bake.mp4)\n"
    "WindowWidth (600)\nOpenWindow (contact.html)\nSelectionWidth (500)\nSelectItem \"Breads\" = 'breads.html'\n"
    "EndSelect\nShadowBoxText \"In a box\"\nScrollingText \"Fresh every morning\"\nMirrorText \"Lake\"\n"
    "TipWidth (400)\nLinkTip \"Opening hours and the way to us\"\nLinkText \"Visit us\"\nOnLinkGoto (contact.html)\n"
    "DisplayText \"Opening hours\"\nWriteText \"Monday to Saturday\"\nEndDisplay\nPrintButton ()\n"
    "PrintPage \"Print this page\"\nSearchButton ()\n";

}  // namespace

class TestPagesInBrowser : public QObject {
  Q_OBJECT
 private slots:
  void init() {
    if (!HaveChromium()) QSKIP("chromium is not installed");
  }
  void nothingWiderThanTheScreen();
  void horizontalMenuFoldsAndMarksTheCurrentPage();
  void printWorksUnderAPolicyWithoutInlineScripts();
  void axeFindsNoViolation();
};

void TestPagesInBrowser::nothingWiderThanTheScreen() {
  Site site;
  QVERIFY(!core::StartsWith(site.Make("index", kLayoutProgram), "ERROR"));
  QJsonObject out = site.ProbeFrames("index.html", "function (w) { var d = w.document.documentElement;"
                                                   " return {inner: w.innerWidth, scroll: d.scrollWidth}; }");
  for (const char* w : kWidths) {
    QJsonObject at = out.value(QString("w") + w).toObject();
    QVERIFY2(at.value("inner").toInt() == QByteArray(w).toInt(), qPrintable(QJsonDocument(out).toJson()));
    QVERIFY2(at.value("scroll").toInt() <= at.value("inner").toInt(), qPrintable(QJsonDocument(out).toJson()));
  }
}

void TestPagesInBrowser::horizontalMenuFoldsAndMarksTheCurrentPage() {
  Site site;
  QVERIFY(!core::StartsWith(site.Make("index", kLayoutProgram), "ERROR"));
  // Tab from the entry before the sub-menu lands on its button, whose focus opens it.
  QJsonObject out = site.ProbeFrames(
      "index.html",
      "function (w) { var d = w.document, sub = d.querySelector('.vt-submenu > ul'),"
      " entry = d.querySelector('.vt-submenu > :first-child'), bar = d.querySelector('.vt-menu > ul'),"
      " home = d.querySelector('.vt-menu a'), shown = function (e) { return e.getBoundingClientRect().height > 0; };"
      " var r = {foldedAtFirst: !shown(sub), entryTag: entry.tagName, entryTabbable: entry.tabIndex >= 0,"
      " current: d.querySelector('[aria-current=page]').getAttribute('href'),"
      " oneRow: w.innerWidth < 1000 || bar.getBoundingClientRect().height < 2 * home.getBoundingClientRect().height,"
      " centred: w.innerWidth < 1000 || home.getBoundingClientRect().left > 100,"
      " opensOnHover: Array.from(d.styleSheets[0].cssRules).some(function (rule) { return"
      " /\\.vt-submenu:hover > ul/.test(rule.selectorText) && rule.style.display === 'block'; })};"
      " entry.focus(); r.focused = d.activeElement === entry; r.openOnFocus = shown(sub);"
      " r.nextLinkShown = shown(sub.querySelector('a')); return r; }");
  for (const char* w : kWidths) {
    QJsonObject at = out.value(QString("w") + w).toObject();
    const QByteArray report = QJsonDocument(out).toJson();
    QVERIFY2(at.value("foldedAtFirst").toBool(), report);
    QCOMPARE(at.value("entryTag").toString(), QString("BUTTON"));
    QVERIFY2(at.value("entryTabbable").toBool() && at.value("focused").toBool(), report);
    QVERIFY2(at.value("openOnFocus").toBool() && at.value("nextLinkShown").toBool(), report);
    QVERIFY2(at.value("opensOnHover").toBool(), report);
    QCOMPARE(at.value("current").toString(), QString("index.html"));
    QVERIFY2(at.value("oneRow").toBool() && at.value("centred").toBool(), report);
  }
}

// The scripts are linked beside the page; the page forbids inline scripts, and an inline
// script that would give it away stays silent.
void TestPagesInBrowser::printWorksUnderAPolicyWithoutInlineScripts() {
  Site site;
  site.options.scriptsBeside = true;
  std::string page = site.Make("print", "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<title>Print</title>\n"
                                        "<meta http-equiv=\"Content-Security-Policy\" content=\"script-src 'self'\">\n"
                                        "</head>\n<body>\nPrintButton ()\nPrintPage \"Print the recipe\"\n"
                                        "SearchButton ()\n<script>document.title = 'inline ran';</script>\n"
                                        "</body>\n</html>\n");
  QVERIFY2(page.find(" onclick=") == std::string::npos && page.find("href=\"#\"") == std::string::npos, page.c_str());
  QVERIFY2(page.find("<script src=\"Print.js\"></script>") != std::string::npos, page.c_str());
  QJsonObject out =
      site.ProbeFrames("print.html",
                       "function (w) { var printed = 0; w.print = function () { printed++; };"
                       " w.document.querySelectorAll('[data-vt-print]').forEach(function (e) { e.click(); });"
                       " return {printed: printed, title: w.document.title}; }");
  QJsonObject at = out.value("w1280").toObject();
  QCOMPARE(at.value("title").toString(), QString("Print"));  // the policy holds
  QCOMPARE(at.value("printed").toInt(), 2);
}

// axe-core's WCAG A and AA rules, run in the page of every command with alternative texts.
void TestPagesInBrowser::axeFindsNoViolation() {
  const QString npmFolder = QDir::currentPath() + "/npm-axe";
  const QString axe = npmFolder + "/node_modules/axe-core/axe.min.js";
  if (!QFile::exists(axe)) {
    QProcess npm;
    npm.start("npm", {"install", "--prefix", npmFolder, "--no-audit", "--no-fund", "axe-core@4"});
    if (!npm.waitForFinished(300000) || npm.exitCode() != 0 || !QFile::exists(axe))
      QSKIP("npm cannot install axe-core here");
  }
  Site site;
  std::string page = site.Make("index", kLayoutProgram);
  WriteAll(site.Path("axe.min.js"), ReadAll(axe.toStdString()));
  QJsonObject out = site.Probe(core::ReplaceAll(page, "</body>", "") +
                               "<script src=\"axe.min.js\"></script>\n<script>\naxe.run(document, {runOnly: "
                               "['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']}).then(function (r) {\n"
                               "  document.body.setAttribute('data-probe', JSON.stringify({violations: "
                               "r.violations.map(function (v) { return v.id + ': ' + v.nodes.map(function (n) {"
                               " return n.html; }).join(' | '); })})); });\n</script>\n</body>\n");
  QVERIFY2(out.contains("violations"), qPrintable(QJsonDocument(out).toJson()));
  QVERIFY2(out.value("violations").toArray().isEmpty(), qPrintable(QJsonDocument(out).toJson()));
}

QTEST_GUILESS_MAIN(TestPagesInBrowser)
#include "test_pages_in_browser.moc"
