// The Publish command: the project lookup in a document's text, the page address, and
// the whole run against a scripted server.
#include <QLabel>
#include <QTimer>
#include <QTest>

#include "app/main_window.h"

#include "documents/application.h"
#include "documents/document_table.h"
#include "publish/ftp_client.h"
#include "publish/ftp_profiles.h"
#include "publish/publish.h"
#include "publish/publish_dialog.h"
#include "publish/publish_run.h"
#include "publish/publish_setup.h"
#include "publish/script_server.h"
#include "support/fixture.h"

namespace {

FtpProfileTable Profiles() {
  FtpProfileTable t;
  StoreProfile(t, "site1", "ftp.site1.net", "u1", "p1", "mysite");
  StoreProfile(t, "MySite", " ftp.mysite.net ", "u2", "p2", "www.mysite.net");
  StoreProfile(t, "nohost", "", "u3", "p3", "nohost.net");
  return t;
}

const std::vector<ScriptStep> kLogin = {Line("220 Service ready"), Read(), Line("331 Password required"),  Read(),
                                        Line("230 Logged in"),     Read(), {ScriptStep::Pasv, "127,0,0,1"}};

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += (s.empty() ? "" : "|") + l;
  return s;
}

const char* const kProgram =
    "<html>\n<head>\n<meta name='project' content='site1'>\n<meta name='target' content='Site/Pages'>\n"
    "<title>Home</title>\n</head>\n<body></body>\n</html>\n";

}  // namespace

class PublishCommandTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ftp::CurrentTuning() = ftp::Tuning{};
    ftp::CurrentTuning().controlTimeoutMs = 3000;
  }

  void lookup_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("messages");
    const QString notInDb = kNotInDatabase, noName = kNoProjectName;
    QTest::newRow("single quotes, other case")
        << "<head><meta name='project' content='Site1'></head>" << true << "ftp.site1.net"
        << ""
        << "";
    QTest::newRow("double quotes") << "<head>\n<meta name=\"project\" content=\"site1\">\n</head>" << true
                                   << "ftp.site1.net"
                                   << ""
                                   << "";
    QTest::newRow("blanks around equals")
        << "<head><meta name = 'project' content = 'site1'></head>" << true << "ftp.site1.net"
        << ""
        << "";
    QTest::newRow("unquoted with a blank before >")
        << "<head><meta name=project content=site1 ></head>" << true << "ftp.site1.net"
        << ""
        << "";
    QTest::newRow("unquoted running into >") << "<head><meta name=project content=site1></head>" << false << ""
                                             << "" << notInDb;
    QTest::newRow("upper-case tag inside the head")
        << "<html><head>\n<META NAME='PROJECT' CONTENT='site1'>\n</head>" << true << "ftp.site1.net"
        << ""
        << "";
    QTest::newRow("upper-case tag, no lower-case head")
        << "<HTML><HEAD>\n<META NAME='PROJECT' CONTENT='site1'>\n</HEAD>" << false << ""
        << "" << noName;
    QTest::newRow("target folder lower-cased")
        << "<head><meta name='project' content='site1'><meta name='target' content='/Public_HTML/News/'></head>" << true
        << "ftp.site1.net"
        << "/public_html/news/"
        << "";
    QTest::newRow("projectname and targetfolder")
        << "<head><meta name=\"projectname\" content=\" mysite \"><meta name=\"targetfolder\" content=\"www\">" << true
        << "ftp.mysite.net"
        << "www"
        << "";
    QTest::newRow("second project meta unknown")
        << "<head><meta name='project' content='site1'><meta name='project' content='other'></head>" << true
        << "ftp.site1.net"
        << "" << notInDb;
    QTest::newRow("no meta at all") << "<html><body>Hello</body></html>" << false << ""
                                    << "" << noName;
    QTest::newRow("the word name in a later title")
        << "<head>\n<meta name='project' content='site1'>\n<title>Our name</title>\n</head>" << false << ""
        << "" << noName;
    QTest::newRow("meta outside a head, own case") << "<meta name='project' content='SITE1'>" << true << "ftp.site1.net"
                                                   << ""
                                                   << "";
    QTest::newRow("tags after the head are not read")
        << "<head><title>x</title></head><body><meta name='project' content='site1'>" << false << ""
        << "" << noName;
    QTest::newRow("profile without host") << "<head><meta name='project' content='nohost'></head>" << true << ""
                                          << "" << noName;
    QTest::newRow("empty project does not take a free entry")
        << "<head><meta name='project' content=''></head>" << false << ""
        << "" << notInDb;
    QTest::newRow("a doubled quote skips the next character")
        << "<head><meta name='project' content='site1' data=\"\"name='x'></head>" << true << "ftp.site1.net"
        << ""
        << "";
    QTest::newRow("name inside a quoted value of another attribute")
        << "<head><meta name='project' content='site1' data=\"my name\"></head>" << true << "ftp.site1.net"
        << ""
        << "";
  }
  void lookup() {
    QFETCH(QString, text);
    QFETCH(bool, found);
    QFETCH(QString, host);
    QFETCH(QString, folder);
    QFETCH(QString, messages);
    FtpProfileTable table = Profiles();
    FtpLookup r = LookUpFtpProfile(text.toStdString(), table);
    QCOMPARE(r.found, found);
    QCOMPARE(QString::fromStdString(r.host), host);
    QCOMPARE(QString::fromStdString(r.folder), folder);
    QCOMPARE(QString::fromStdString(Joined(r.messages)), messages);
    if (host == "ftp.site1.net") {
      QCOMPARE(r.user, std::string("u1"));
      QCOMPARE(r.password, std::string("p1"));
      QCOMPARE(r.domain, std::string("mysite"));
    }
  }

  // Tags that come from an included file are only in the translated page.
  void lookupInProgramAndPage_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("messages");
    const QString project = "<head><meta name='project' content='site1'></head>";
    const QString withTarget = "<head><meta name='project' content='site1'><meta name='target' content='News'></head>";
    QTest::newRow("only the page names the project") << "#Include head.lib\n<body>" << withTarget << "ftp.site1.net"
                                                     << "news"
                                                     << "";
    QTest::newRow("the program's own project wins")
        << "<head><meta name='project' content='MySite'></head>" << withTarget << "ftp.mysite.net"
        << "news"
        << "";
    QTest::newRow("program names the project, page the folder") << project << withTarget << "ftp.site1.net"
                                                                << "news"
                                                                << "";
    QTest::newRow("unknown project in the program stops there")
        << "<head><meta name='project' content='other'></head>" << withTarget << ""
        << "" << kNotInDatabase;
    QTest::newRow("unknown project in the page") << "<body>"
                                                 << "<head><meta name='project' content='x'></head>"
                                                 << ""
                                                 << "" << kNotInDatabase;
    QTest::newRow("neither names one, one message") << "<body>"
                                                    << "<html></html>"
                                                    << ""
                                                    << "" << kNoProjectName;
  }
  void lookupInProgramAndPage() {
    QFETCH(QString, program);
    QFETCH(QString, page);
    QFETCH(QString, host);
    QFETCH(QString, folder);
    QFETCH(QString, messages);
    FtpLookup r = LookUpFtpProfile(program.toStdString(), page.toStdString(), Profiles());
    QCOMPARE(QString::fromStdString(r.host), host);
    QCOMPARE(QString::fromStdString(r.folder), folder);
    QCOMPARE(QString::fromStdString(Joined(r.messages)), messages);
  }

  void pageAddress_data() {
    QTest::addColumn<QString>("domain");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("address");
    QTest::newRow("empty folder") << "mysite/"
                                  << ""
                                  << "mysite/site1.html";
    QTest::newRow("folder of slashes") << "example.org"
                                       << "//"
                                       << "example.org/site1.html";
    QTest::newRow("domain and folder") << "mysite"
                                       << "news"
                                       << "mysite/news/site1.html";
    QTest::newRow("slashes trimmed") << "http://mysite.net/"
                                     << "/public_html/news/"
                                     << "http://mysite.net/public_html/news/site1.html";
    QTest::newRow("no domain") << ""
                               << ""
                               << "site1.html";
  }
  void pageAddress() {
    QFETCH(QString, domain);
    QFETCH(QString, folder);
    QFETCH(QString, address);
    QCOMPARE(QString::fromStdString(PageAddress(domain.toStdString(), folder.toStdString(), "/home/a/site1.html")),
             address);
  }

  void publishRun_data() {
    QTest::addColumn<std::vector<ScriptStep>>("replies");
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("status");
    auto upToStor = std::vector<ScriptStep>{Read(), Line("250 OK"),     Read(), {ScriptStep::Pasv, "127,0,0,1"},
                                            Read(), Line("200 Type I"), Read(), {ScriptStep::Pasv, "127,0,0,1"},
                                            Read()};
    auto stored = upToStor;
    for (ScriptStep s : {Line("150 Go"), {ScriptStep::Accept, ""}, Line("226 Done"), Read(), Line("213 11")})
      stored.push_back(s);
    auto published = stored;
    for (ScriptStep s : {Read(), Line("350 Ready"), Read(), Line("250 Renamed"), Read(), Line("221 Bye")})
      published.push_back(s);
    auto refused = upToStor;
    for (ScriptStep s : {Line("553 Permission denied."), Read(), Line("221 Bye")}) refused.push_back(s);
    auto shortFile = upToStor;
    for (ScriptStep s : {Line("150 Go"),
                         {ScriptStep::Accept, ""},
                         Line("226 Done"),
                         Read(),
                         Line("213 5"),
                         Read(),
                         Line("250 Deleted"),
                         Read(),
                         Line("221 Bye")})
      shortFile.push_back(s);
    // A server that renames only onto a free name: the live page is moved aside, never
    // deleted before the new one has its name.
    auto moveAside = stored;
    for (ScriptStep s : {Read(), Line("350 Ready"), Read(), Line("553 File exists"), Read(), Line("213 5"), Read(),
                         Line("350 Ready"), Read(), Line("250 Renamed")})
      moveAside.push_back(s);
    auto renameOver = moveAside, putBack = moveAside;
    for (ScriptStep s :
         {Read(), Line("350 Ready"), Read(), Line("250 Renamed"), Read(), Line("250 Deleted"), Read(), Line("221 Bye")})
      renameOver.push_back(s);
    for (ScriptStep s : {Read(), Line("350 Ready"), Read(), Line("553 Not allowed"), Read(), Line("350 Ready"), Read(),
                         Line("250 Renamed"), Read(), Line("250 Deleted"), Read(), Line("221 Bye")})
      putBack.push_back(s);
    const QString swap = "|SIZE .site1.html.part|RNFR .site1.html.part|RNTO site1.html|SIZE site1.html"
                         "|RNFR site1.html|RNTO .site1.html.old|RNFR .site1.html.part|RNTO site1.html";
    const QString upload = "CWD site/pages/|PASV|TYPE I|PASV|STOR .site1.html.part";
    QTest::newRow("published") << published
                               << upload + "|SIZE .site1.html.part|RNFR .site1.html.part|RNTO site1.html|QUIT"
                               << ""
                               << "File published: mysite/site/pages/site1.html";
    QTest::newRow("renamed over an existing page") << renameOver << upload + swap + "|DELE .site1.html.old|QUIT"
                                                   << ""
                                                   << "File published: mysite/site/pages/site1.html";
    QTest::newRow("new page refused its name: the old one is put back")
        << putBack << upload + swap + "|RNFR .site1.html.old|RNTO site1.html|DELE .site1.html.part|QUIT"
        << "Could not upload file to FTP server.\rsite1.html: 553 Not allowed"
        << "";
    QTest::newRow("upload refused, session still ended")
        << refused << upload + "|QUIT"
        << "Could not upload file to FTP server.\rsite1.html: 553 Permission denied."
        << "";
    QTest::newRow("short file on the server is not renamed")
        << shortFile << upload + "|SIZE .site1.html.part|DELE .site1.html.part|QUIT"
        << "Could not upload file to FTP server.\rsite1.html: The server holds 5 of the 11 bytes sent."
        << "";
    QTest::newRow("folder refused, session still ended")
        << std::vector<ScriptStep>{Read(), Line("550 No such folder"), Read(), Line("221 Bye")}
        << "CWD site/pages/|QUIT"
        << "Could not locate FTP target directory: site/pages.\r550 No such folder"
        << "";
    QTest::newRow("server gone after login")
        << std::vector<ScriptStep>{{ScriptStep::Close, ""}} << ""
        << "Could not locate FTP target directory: site/pages.\rthe server closed the connection"
        << "";
    QTest::newRow("server trickling a reply")
        << std::vector<ScriptStep>{Read(), Line("250-Changing"), {ScriptStep::Trickle, "still changing"}}
        << "CWD site/pages/|QUIT" << kStoppedAnswering << "";
  }
  void publishRun() {
    QFETCH(std::vector<ScriptStep>, replies);
    QFETCH(QString, commands);
    QFETCH(QString, message);
    QFETCH(QString, status);
    ScriptServer server(Steps(replies));
    QVERIFY(server.ok);
    EditorFixture f;
    f.Start();
    PrepareSavedDocument(f, "site1.web", kProgram, "<p>page</p>");
    StoreProfile(*f.app->profiles, "Site1", server.HostAndPort(), "anna", "secret", "mysite");
    if (!message.isEmpty()) f.platform.AnswerMessage(MsgAnswer::Ok);
    ftp::CurrentTuning().publishBudgetMs = 600;
    PublishActiveDocument(*f.app);
    server.Join();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto shown = f.platform.CallsOf("message");
    QCOMPARE(shown.empty() ? QString() : QString::fromStdString(shown[0].text), message);
    for (const auto& m : shown) {
      QCOMPARE(m.icon, MsgIcon::Warning);
      QCOMPARE(m.title, std::string("Verosta editor"));
    }
    QString all = QString::fromStdString(Joined(server.commands));
    QCOMPARE(all, "USER anna|PASS secret|PASV" + (commands.isEmpty() ? QString() : "|" + commands));
    QCOMPARE(QString::fromStdString(PublishedStatusText(*f.app)), status);
    if (!status.isEmpty()) {
      QCOMPARE(server.data, std::string("<p>page</p>"));
      auto* shownIn = f.app->window->findChild<QLabel*>("publishedAddress");
      QVERIFY(shownIn && shownIn->isVisible());
    }
  }

  // The window keeps processing events while an upload to a stalled server runs, and
  // Cancel ends the run within a second, leaving nothing under the page's real name:
  // also when the server took the whole file and holds back its reply.
  void cancelStalledUpload_data() {
    QTest::addColumn<bool>("wholeFile");
    QTest::newRow("server takes nothing") << false;
    QTest::newRow("server took the whole file") << true;
  }
  void cancelStalledUpload() {
    QFETCH(bool, wholeFile);
    ScriptServer server(Steps({Read(),
                               Line("250 OK"),
                               Read(),
                               {ScriptStep::Pasv, "127,0,0,1"},
                               Read(),
                               Line("200 Type I"),
                               Read(),
                               {ScriptStep::Pasv, "127,0,0,1"},
                               Read(),
                               Line("150 Go"),
                               {wholeFile ? ScriptStep::Accept : ScriptStep::Hold, ""},
                               {ScriptStep::Stall, ""}}),
                        0, wholeFile ? 0 : 4096);
    QVERIFY(server.ok);
    EditorFixture f;
    f.Start();
    const std::size_t size = wholeFile ? 64u << 10 : 16u << 20;
    PrepareSavedDocument(f, "site1.web", kProgram, std::string(size, 'x'));
    StoreProfile(*f.app->profiles, "site1", server.HostAndPort(), "anna", "secret", "mysite");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    f.platform.cancelProgressAfterMs = 400;
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(20);
    PublishActiveDocument(*f.app);
    timer.stop();
    server.Join();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto shown = f.platform.CallsOf("message");
    QCOMPARE(shown.at(0).text, std::string(kPublishCancelled));
    QCOMPARE(shown.at(0).icon, MsgIcon::Information);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
    long long afterCancel = f.platform.progressEndedMs - f.platform.progressCancelledAtMs;
    QVERIFY2(f.platform.progressCancelledAtMs >= 0 && afterCancel < 1000, qPrintable(QString::number(afterCancel)));
    QString all = QString::fromStdString(Joined(server.commands));
    QVERIFY2(all.contains("STOR .site1.html.part|ABOR"), qPrintable(all));
    QVERIFY2(!all.contains("RNTO"), qPrintable(all));
    QCOMPARE(server.data.size() == size, wholeFile);
    QVERIFY(PublishedStatusText(*f.app).empty());
    auto steps = f.platform.CallsOf("progress").at(0).args;
    // Earlier steps pass too quickly to be seen reliably; the stalled one shows its counts.
    QString last = QString::fromStdString(steps.back());
    QVERIFY2(last.startsWith("Uploading site1.html (1 of 1)\n") &&
                 last.endsWith(QString(" of %1 KB sent").arg(size >> 10)),
             qPrintable(last));
  }

  // "File published" is about one document: a later failure or another tab clears it.
  void publishedTextIsClearedLater() {
    EditorFixture f;
    f.Start();
    PrepareSavedDocument(f, "site1.web", kProgram, "<p>page</p>");
    f.app->publish.changedOnly = false;  // the same page goes up each time
    auto publish = [&](bool succeed) {
      ScriptServer server(Steps({Read(),
                                 Line("250 OK"),
                                 Read(),
                                 {ScriptStep::Pasv, "127,0,0,1"},
                                 Read(),
                                 Line("200 Type I"),
                                 Read(),
                                 {ScriptStep::Pasv, "127,0,0,1"},
                                 Read(),
                                 Line(succeed ? "150 Go" : "553 Denied"),
                                 {ScriptStep::Accept, ""},
                                 Line("226 Done"),
                                 Read(),
                                 Line("213 11"),
                                 Read(),
                                 Line("350 Ready"),
                                 Read(),
                                 Line("250 Renamed"),
                                 Read(),
                                 Line("221 Bye")}));
      StoreProfile(*f.app->profiles, "site1", server.HostAndPort(), "anna", "secret", "mysite");
      if (!succeed) f.platform.AnswerMessage(MsgAnswer::Ok);
      PublishActiveDocument(*f.app);
      server.Join();
    };
    const std::string shown = "File published: mysite/site/pages/site1.html";
    publish(true);
    QCOMPARE(PublishedStatusText(*f.app), shown);
    publish(false);
    QCOMPARE(PublishedStatusText(*f.app), std::string());
    publish(true);
    QCOMPARE(PublishedStatusText(*f.app), shown);
    QVERIFY(OpenUntitledTab(*f.app, "Other.web", "other"));
    ActivateTab(*f.app, 1);
    QCOMPARE(PublishedStatusText(*f.app), std::string());
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void connectionFailureMessage() {
    EditorFixture f;
    f.Start();
    PrepareSavedDocument(f, "site1.web", kProgram, "<p>page</p>");
    StoreProfile(*f.app->profiles, "site1", "127.0.0.1:1", "anna", "secret", "mysite");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("message")[0].text,
             std::string("Could not connect to FTP server. Please check all input fields.\rconnection refused"));
  }

  void unknownProjectSendsNothing() {
    ScriptServer server(kLogin);
    QVERIFY(server.ok);
    EditorFixture f;
    f.Start();
    PrepareSavedDocument(f, "site1.web", "<head><meta name='project' content='other'></head>", "<p>page</p>");
    StoreProfile(*f.app->profiles, "site1", server.HostAndPort(), "anna", "secret", "mysite");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    PublishActiveDocument(*f.app);
    server.Join();
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("message")[0].text, std::string(kNotInDatabase));
    QVERIFY(server.commands.empty());
  }

  void noFreshPageSendsNothing() {
    ScriptServer server(kLogin);
    QVERIFY(server.ok);
    EditorFixture f;
    f.Start();
    // A page from an earlier run is in place, but this run's page making fails.
    PrepareSavedDocument(f, "site1.web", kProgram, "<p>old page</p>");
    f.platform.AnswerRun(0);
    PublishFields boxes;
    boxes.programName = "site1";
    boxes.hostName = server.HostAndPort();
    boxes.userId = "anna";
    boxes.password = "secret";
    PressPublish(*f.app, boxes);
    server.Join();
    QVERIFY(server.commands.empty());
    QVERIFY(PublishedStatusText(*f.app).empty());
  }

 private:
  static std::vector<ScriptStep> Steps(const std::vector<ScriptStep>& replies) {
    std::vector<ScriptStep> all = kLogin;
    all.insert(all.end(), replies.begin(), replies.end());
    return all;
  }
};

QTEST_MAIN(PublishCommandTest)
#include "test_publish_command.moc"
