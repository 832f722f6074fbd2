// Uploads to a real FTP server (pyftpdlib), by the client alone and by the Publish command.
#include <QDir>
#include <QDirIterator>
#include <map>
#include <QTemporaryDir>
#include <QTest>

#include "documents/application.h"
#include "publish/ftp_client.h"
#include "publish/ftp_profiles.h"
#include "publish/publish.h"
#include "publish/publish_setup.h"
#include "publish/pyftpd.h"
#include "support/fixture.h"

namespace {

const char* const kProgram =
    "<html>\r\n<head>\r\n<title>Site one</title>\r\n<meta name='project' content='Site1'>\r\n"
    "<meta name=\"target\" content=\"/Pages/\">\r\n</head>\r\n<body>Hello</body>\r\n</html>\r\n";

}  // namespace

class FtpRealServerTest : public QObject {
  Q_OBJECT
  QTemporaryDir root_;

 private slots:
  void initTestCase() {
    QVERIFY(QDir(root_.path()).mkpath("pages"));
    ftp::CurrentTuning() = ftp::Tuning{};
    ftp::CurrentTuning().controlTimeoutMs = 15000;
  }

  void filesArriveWhole_data() {
    QTest::addColumn<int>("size");
    for (int size : {0, 8191, 8192, 8193, 100000, 5000000}) QTest::newRow(qPrintable(QString::number(size))) << size;
  }
  void filesArriveWhole() {
    QFETCH(int, size);
    PyFtpServer server(root_.path().toStdString());
    QVERIFY2(server.port > 0, server.error.c_str());
    QTemporaryDir local;
    std::string path = local.filePath("page.html").toStdString();
    std::string bytes = Bytes(static_cast<std::size_t>(size));
    WriteAll(path, bytes);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    QCOMPARE(ftpChangeDir(c, "\\pages\\"), 1);
    std::string remote = "page" + std::to_string(size) + ".html";
    char status[512];
    QCOMPARE(FTPPUTFILE(c, "", 0, "", remote.c_str(), path.c_str(), status, sizeof status), 1);
    QVERIFY2(std::string(status).rfind("226", 0) == 0, status);
    ftpQuit(c);
    std::string arrived = ReadAll(root_.filePath(QString::fromStdString("pages/" + remote)).toStdString());
    QCOMPARE(arrived.size(), bytes.size());
    QVERIFY(arrived == bytes);
  }

  void serverAnnouncingAnotherAddress() {
    PyFtpServer server(root_.path().toStdString(), "10.255.255.1");
    QVERIFY2(server.port > 0, server.error.c_str());
    QTemporaryDir local;
    std::string path = local.filePath("masq.html").toStdString();
    WriteAll(path, Bytes(30000));
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    char status[512];
    QCOMPARE(FTPPUTFILE(c, "", 0, "", "masq.html", path.c_str(), status, sizeof status), 1);
    ftpQuit(c);
    QVERIFY(ReadAll(root_.filePath("masq.html").toStdString()) == Bytes(30000));
  }

  void publishCommand_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("status");
    QTest::newRow("published") << "secret"
                               << "/Pages/"
                               << ""
                               << "File published: mysite/pages/site1.html";
    QTest::newRow("wrong password") << "wrong"
                                    << "/Pages/"
                                    << "Could not connect to FTP server. Please check all input fields.\r530 "
                                    << "";
    QTest::newRow("missing folder") << "secret"
                                    << "NotThere"
                                    << "Could not locate FTP target directory: notthere.\r550 "
                                    << "";
  }
  void publishCommand() {
    QFETCH(QString, password);
    QFETCH(QString, target);
    QFETCH(QString, message);
    QFETCH(QString, status);
    PyFtpServer server(root_.path().toStdString());
    QVERIFY2(server.port > 0, server.error.c_str());
    QFile::remove(root_.filePath("pages/site1.html"));
    EditorFixture f;
    f.Start();
    std::string program = QString(kProgram).replace("/Pages/", target).toStdString();
    std::string page = "<html><body>Hello</body></html>\r\n";
    PrepareSavedDocument(f, "site1.web", program, page);
    StoreProfile(*f.app->profiles, "site1", server.HostAndPort(), "anna", password.toStdString(), "mysite");
    if (!message.isEmpty()) f.platform.AnswerMessage(MsgAnswer::Ok);
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto messages = f.platform.CallsOf("message");
    // The first line is the design's message, the second the server's own reply.
    QString shown = messages.empty() ? QString() : QString::fromStdString(messages[0].text);
    QVERIFY2(message.isEmpty() ? shown.isEmpty() : shown.startsWith(message), qPrintable(shown));
    if (!messages.empty()) QCOMPARE(messages[0].icon, MsgIcon::Warning);
    QCOMPARE(QString::fromStdString(PublishedStatusText(*f.app)), status);
    std::string arrived = ReadAll(root_.filePath("pages/site1.html").toStdString());
    QCOMPARE(arrived, status.isEmpty() ? std::string() : page);
  }

  // A page with two pictures and a style sheet in sub-folders arrives byte for byte; a
  // second publish after one picture changed sends only that picture.
  void wholePageThenOnlyWhatChanged() {
    QTemporaryDir remote;
    QVERIFY(QDir(remote.path()).mkpath("pages"));
    PyFtpServer server(remote.path().toStdString());
    QVERIFY2(server.port > 0, server.error.c_str());
    EditorFixture f;
    f.Start();
    QVERIFY(QDir(QString::fromStdString(f.Folder())).mkpath("pics/big"));
    QVERIFY(QDir(QString::fromStdString(f.Folder())).mkpath("css"));
    std::map<std::string, std::string> files = {{"css/site.css", "body { color: #123; }\n"},
                                                {"pics/a.gif", Bytes(70000)},
                                                {"pics/big/b.png", Bytes(9000) + "png"}};
    for (const auto& [name, bytes] : files) f.WriteFile(name, bytes);
    std::string page =
        "<html><head><link rel=stylesheet href='css/site.css'></head>"
        "<body><img src=pics/a.gif><img src=\"pics/big/b.png\"><img src=http://example.org/x.gif></body></html>";
    PrepareSavedDocument(f, "site1.web", kProgram, page);
    files["site1.html"] = page;
    StoreProfile(*f.app->profiles, "site1", server.HostAndPort(), "anna", "secret", "mysite");
    PublishActiveDocument(*f.app);
    QCOMPARE(PublishedStatusText(*f.app), std::string("File published: mysite/pages/site1.html"));
    QCOMPARE(Tree(remote.filePath("pages")), files);

    // Only the changed picture goes up again: what the server lost meanwhile stays lost.
    QVERIFY(QFile::remove(remote.filePath("pages/css/site.css")));
    QVERIFY(QFile::remove(remote.filePath("pages/site1.html")));
    files["pics/a.gif"] = Bytes(50000) + "changed";
    f.WriteFile("pics/a.gif", files["pics/a.gif"]);
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto steps = f.platform.CallsOf("progress").back().args;
    files.erase("css/site.css");
    files.erase("site1.html");
    QCOMPARE(Tree(remote.filePath("pages")), files);
    for (const auto& s : steps) QVERIFY2(!QString::fromStdString(s).startsWith("Uploading site1.html"), s.c_str());

    // Without "Upload changed files only" everything goes up again.
    f.app->publish.changedOnly = false;
    PublishActiveDocument(*f.app);
    files["css/site.css"] = "body { color: #123; }\n";
    files["site1.html"] = page;
    QCOMPARE(Tree(remote.filePath("pages")), files);
  }
};

QTEST_MAIN(FtpRealServerTest)
#include "test_ftp_real_server.moc"
