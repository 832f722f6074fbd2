// The editor's own files never reach a page or a server. A program saved in the Verosta
// folder, where older copies of the settings and FTP files may still lie, links to them,
// lists them, includes them and opens them; the real translator makes the page and the
// Publish button sends it to a real FTP server.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

#include "documents/application.h"
#include "publish/publish.h"
#include "publish/publish_dialog.h"
#include "publish/publish_setup.h"
#include "publish/pyftpd.h"
#include "support/fixture.h"

namespace {

std::string Program(const std::string& body) {
  return "<html>\r\n<head>\r\n<title>Site one</title>\r\n<meta name='project' content='Site1'>\r\n"
         "<meta name=\"target\" content=\"/pages/\">\r\n</head>\r\n<body>\r\n" +
         body + "</body>\r\n</html>\r\n";
}

// The real settings and FTP files in the configuration folder, and older copies of them
// (with a password each) beside the user's programs.
void PutOwnFiles(EditorFixture& f) {
  QVERIFY(QFile::copy(QString::fromStdString(BuiltProgram("Comp")), QString::fromStdString(f.Path("Comp"))));
  WriteAll(f.ConfigFolder() + "/FtpProjs.ini", "Host name h\r\nPassword in-config\r\n");
  WriteAll(f.ConfigFolder() + "/FtpTrust.ini", "Trust ftps://h:21 sha256//KEY=\r\n");
  const std::string v = f.Folder();
  WriteAll(v + "/FtpProjs.ini", "Host name h\r\nPassword old-copy\r\n");
  WriteAll(v + "/Verosta.ini", "Font size 10\r\nPassword old-copy\r\n");
  WriteAll(v + "/FtpTrust.ini", "Trust ftps://h:21 sha256//OLD=\r\n");
  WriteAll(v + "/FtpProjs-site1.manifest", "Host h\r\n");
  WriteAll(v + "/Verosta.ini.damaged", "Password old-copy\r\n");
  WriteAll(v + "/mysite.ini", "Domain name d\r\nHost name h\r\nUser id u\r\nPassword saved-profile\r\n");
  WriteAll(v + "/a.txt", "the user's own text\r\n");
  QVERIFY(::symlink((f.ConfigFolder() + "/FtpProjs.ini").c_str(), (v + "/notes.txt").c_str()) == 0);
}

PublishFields Boxes(const PyFtpServer& server) {
  PublishFields boxes;
  boxes.programName = "Site1";
  boxes.hostName = server.HostAndPort();
  boxes.userId = "anna";
  boxes.password = "secret";
  boxes.domainName = "mysite";
  return boxes;
}

// A real FTP server with its target folder, and an editor started beside it.
struct Site {
  QTemporaryDir remote;
  PyFtpServer server{(QDir(remote.path()).mkpath("pages"), remote.path().toStdString())};
  EditorFixture f;
  Site() { f.Start(); }
};

}  // namespace

class OwnFilesPublishedTest : public QObject {
  Q_OBJECT

 private slots:
  void linkedAndListedFilesStayHome() {
    Site site;
    QVERIFY2(site.server.port > 0, site.server.error.c_str());
    EditorFixture& f = site.f;
    PyFtpServer& server = site.server;
    QTemporaryDir& remote = site.remote;
    PutOwnFiles(f);
    std::string links;
    for (const char* name : {"FtpProjs.ini", "Verosta.ini", "FtpTrust.ini", "FtpProjs-site1.manifest", "mysite.ini",
                             "Verosta.ini.damaged", "notes.txt", "a.txt"})
      links += std::string("<a href=\"") + name + "\">" + name + "</a>\r\n";
    links += "FileType (txt ini manifest damaged)\r\nViewFiles (.)\r\n";
    PrepareSavedDocument(f, "site1.web", Program(links), "");

    PressPublish(*f.app, Boxes(server));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QVERIFY(f.platform.CallsOf("message").empty());
    QCOMPARE(PublishedStatusText(*f.app), std::string("File published: mysite/pages/site1.html"));
    const std::string page = f.ReadFile("site1.html");
    QVERIFY2(page.find("<ul class=\"vt-files\">\r\n<li><a href=\"a.txt\">a.txt</a></li>\r\n</ul>") != std::string::npos,
             page.c_str());
    auto held = Tree(remote.filePath("pages"));
    QCOMPARE(held, (std::map<std::string, std::string>{{"a.txt", "the user's own text\r\n"}, {"site1.html", page}}));
    for (const char* secret : {"Password", "in-config", "old-copy", "saved-profile", "KEY=", "OLD="})
      QVERIFY2(page.find(secret) == std::string::npos, secret);
  }

  void includedOrOpenedFilesAreErrors_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("named");  // "CONFIG/" stands for the configuration folder
    QTest::newRow("#Include of an old copy") << "#Include FtpProjs.ini"
                                             << "FtpProjs.ini";
    QTest::newRow("OpenText of old settings") << "OpenText (Verosta.ini)"
                                              << "Verosta.ini";
    QTest::newRow("OpenText of a saved profile") << "OpenText (mysite.ini)"
                                                 << "mysite.ini";
    QTest::newRow("OpenText through a link") << "OpenText (notes.txt)"
                                             << "CONFIG/FtpProjs.ini";
    QTest::newRow("#Include from the configuration folder") << "#Include (CONFIG/FtpTrust.ini)"
                                                            << "CONFIG/FtpTrust.ini";
  }
  void includedOrOpenedFilesAreErrors() {
    QFETCH(QString, line);
    QFETCH(QString, named);
    Site site;
    QVERIFY2(site.server.port > 0, site.server.error.c_str());
    EditorFixture& f = site.f;
    PyFtpServer& server = site.server;
    QTemporaryDir& remote = site.remote;
    PutOwnFiles(f);
    const QString config = QString::fromStdString(f.ConfigFolder());
    const std::string body = "<p>first</p>\r\n" + line.replace("CONFIG", config).toStdString() + "\r\n";
    PrepareSavedDocument(f, "site1.web", Program(body), "");
    QFile::remove(QString::fromStdString(f.Path("site1.html")));
    f.platform.AnswerMessage(MsgAnswer::Ok);

    PressPublish(*f.app, Boxes(server));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(messages.size(), size_t(1));
    const std::string file = named.startsWith("CONFIG/") ? named.replace("CONFIG", config).toStdString()
                                                         : f.Folder() + "/" + named.toStdString();
    const std::string expected = "Could not create the web page.\r" + f.Path("site1.web") + ":9: error: ";
    QVERIFY2(messages[0].text.rfind(expected, 0) == 0, messages[0].text.c_str());
    QVERIFY2(messages[0].text.find("\"" + file + "\" is one of the editor's own files") != std::string::npos,
             messages[0].text.c_str());
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path("site1.html"))));
    QVERIFY(Tree(remote.path()).empty());
  }
};

QTEST_MAIN(OwnFilesPublishedTest)
#include "test_own_files_published.moc"
