// The editor's own files never reach a page: #Include or OpenText of one is an error naming
// the file and the line, whatever folders are allowed; ViewFiles lists only what lies inside
// the site and none of the editor's files.
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

#include "support/fixture.h"
#include "translator.h"

class TestOwnFilesRefused : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  std::string site_, config_;

 private slots:
  void initTestCase() {
    site_ = dir_.filePath("site").toStdString();
    config_ = dir_.filePath("config").toStdString();
    WriteAll(config_ + "/FtpProjs.ini", "Password secret\r\n");
    WriteAll(config_ + "/Sessions/s.xml", "File001 /x\r\n");
    WriteAll(site_ + "/FtpProjs.ini", "Password old\r\n");
    WriteAll(site_ + "/Verosta.ini", "Font size 10\r\n");
    WriteAll(site_ + "/mysite.ini", "Host name h\r\nPassword mine\r\n");
    QVERIFY(::symlink((config_ + "/FtpProjs.ini").c_str(), (site_ + "/notes.txt").c_str()) == 0);
    WriteAll(site_ + "/docs/a.txt", "a");
    for (const char* own : {"FtpProjs.ini", "Cname.ini", "Verosta.ini.damaged", "FtpProjs-site.manifest"})
      WriteAll(site_ + "/docs/" + own, "Password x\r\n");
    WriteAll(dir_.filePath("outside.txt").toStdString(), "outside");
    QVERIFY(::symlink(dir_.filePath("outside.txt").toLocal8Bit().constData(), (site_ + "/docs/out.txt").c_str()) == 0);
    QVERIFY(::symlink((site_ + "/docs/a.txt").c_str(), (site_ + "/docs/inner.txt").c_str()) == 0);
    QVERIFY(::symlink("/etc", (site_ + "/etc").c_str()) == 0);
  }

  void includeAndOpenTextAreErrors_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("named");  // relative to the scratch folder
    QTest::newRow("#Include of an old copy in the site") << "#Include FtpProjs.ini"
                                                         << "site/FtpProjs.ini";
    QTest::newRow("OpenText of settings") << "OpenText (Verosta.ini)"
                                          << "site/Verosta.ini";
    QTest::newRow("OpenText of a saved profile") << "OpenText (mysite.ini)"
                                                 << "site/mysite.ini";
    QTest::newRow("OpenText through a link") << "OpenText (notes.txt)"
                                             << "config/FtpProjs.ini";
    QTest::newRow("#Include from the allowed configuration folder") << "#Include (CONFIG/Sessions/s.xml)"
                                                                    << "config/Sessions/s.xml";
  }
  void includeAndOpenTextAreErrors() {
    QFETCH(QString, line);
    QFETCH(QString, named);
    const std::string program = site_ + "/index.web";
    WriteAll(program, "<p>before</p>\n" + line.replace("CONFIG", QString::fromStdString(config_)).toStdString() + "\n");
    translator::Options o;
    o.configFolder = config_;
    o.allowed = {config_};  // allowing a folder does not let its own files through
    translator::Result r = translator::TranslateFile(program, o);
    QVERIFY(!r.ok);
    QVERIFY(r.page.empty());
    QVERIFY(r.outside.empty());  // nothing for the user to allow
    const std::string expected = program + ":2: error: ";
    QVERIFY2(r.error.rfind(expected, 0) == 0, r.error.c_str());
    QVERIFY2(r.error.find("\"" + dir_.filePath(named).toStdString() + "\" is one of the editor's own files") !=
                 std::string::npos,
             r.error.c_str());
  }

  void viewFilesListsOnlyTheSite() {
    const std::string program = site_ + "/list.web";
    WriteAll(program, "ViewFiles (docs)\nViewFiles (etc)\n");
    translator::Options o;
    o.configFolder = config_;
    translator::Result r = translator::TranslateFile(program, o);
    QVERIFY2(r.ok, r.error.c_str());
    QVERIFY2(r.page.find("<ul class=\"vt-files\">\n<li><a href=\"docs/a.txt\">a.txt</a></li>\n"
                         "<li><a href=\"docs/inner.txt\">inner.txt</a></li>\n</ul>") != std::string::npos,
             r.page.c_str());
    for (const char* hidden : {"FtpProjs", "Cname", "damaged", "manifest", "out.txt", "passwd", "hosts", "etc/"})
      QVERIFY2(r.page.find(hidden) == std::string::npos, hidden);
    QCOMPARE(r.warnings.size(), size_t(1));
    QVERIFY2(r.warnings[0].find(":2: warning: ViewFiles: no files to list in \"etc\"") != std::string::npos,
             r.warnings[0].c_str());
  }
};

QTEST_GUILESS_MAIN(TestOwnFilesRefused)
#include "test_own_files_refused.moc"
