// Publishing over FTPS and SFTP, against real servers started here: pyftpdlib with TLS
// (a self-signed certificate made for the test) and a paramiko SFTP server.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <map>
#include <memory>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "documents/application.h"
#include "publish/ftp_client.h"
#include "publish/ftp_profiles.h"
#include "publish/publish.h"
#include "publish/publish_run.h"
#include "publish/publish_setup.h"
#include "publish/pyftpd.h"
#include "publish/secure_host.h"
#include "publish/secure_servers.h"
#include "publish/secure_transfer.h"
#include "publish/server_trust.h"
#include "support/fixture.h"

namespace {

const char* const kProgram =
    "<html>\r\n<head>\r\n<title>Site one</title>\r\n<meta name='project' content='Site1'>\r\n"
    "<meta name=\"target\" content=\"/Pages/\">\r\n</head>\r\n<body>Hello</body>\r\n</html>\r\n";
const char* const kPage = "<html><head><link rel=stylesheet href='css/site.css'></head>"
                          "<body><img src=pics/a.gif><img src=\"pics/big/b.png\"></body></html>";

// A port on which nothing listens.
int ClosedPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  close(fd);
  return ntohs(a.sin_port);
}

// One FTPS or SFTP server over a remote folder with "pages" in it.
struct Server {
  QTemporaryDir remote;
  std::unique_ptr<PyFtpServer> ftps;
  std::unique_ptr<SftpServer> sftp;
  std::string host, key, error;

  Server(const QString& kind, const QString& certificates, const std::string& hostKeyFile) {
    QDir(remote.path()).mkpath("pages");
    if (kind == "ftps") {
      ftps = std::make_unique<PyFtpServer>(remote.path().toStdString(), "", (certificates + "/cert.pem").toStdString(),
                                           (certificates + "/key.pem").toStdString());
      host = "ftps://127.0.0.1:" + std::to_string(ftps->port);
      key = ftps->pin;
      error = ftps->port ? "" : "no FTPS server: " + ftps->error;
    } else {
      sftp = std::make_unique<SftpServer>(remote.path().toStdString(), hostKeyFile);
      host = sftp->Host();
      key = sftp->fingerprint;
      error = sftp->port ? "" : "no SFTP server: " + sftp->error;
    }
  }
  void Pause() { ftps ? ftps->Pause() : sftp->Pause(); }
  QString Pages() const { return remote.filePath("pages"); }
};

std::string Filled(QString text, const Server& s) {
  SecureHost h;
  ParseSecureHost(s.host, h);
  return text.replace("{server}", QString::fromStdString(ServerName(h)))
      .replace("{key}", QString::fromStdString(s.key))
      .toStdString();
}

}  // namespace

class SecurePublishTest : public QObject {
  Q_OBJECT
  QTemporaryDir keys_;  // the certificate and the SFTP host keys

  QString HostKeyFile(const QString& name) const { return keys_.filePath(name); }

 private slots:
  void initTestCase() {
    QVERIFY(MakeCertificate(keys_.path().toStdString()));
    ftp::CurrentTuning() = ftp::Tuning{};
    ftp::CurrentTuning().controlTimeoutMs = 15000;
  }

  void hostNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("secure");
    QTest::addColumn<QString>("server");  // "" when not usable
    QTest::addColumn<QString>("url");     // of "pages/a b.gif"
    QTest::newRow("ftps") << "ftps://Example.org" << true << "ftps://example.org:21"
                          << "ftp://example.org:21/pages/a%20b.gif";
    QTest::newRow("sftp, port, slash") << " sftp://host.example:2222/ " << true << "sftp://host.example:2222"
                                       << "sftp://host.example:2222/~/pages/a%20b.gif";
    QTest::newRow("ipv6") << "FTPS://[::1]:990" << true << "ftps://[::1]:990"
                          << "ftp://[::1]:990/pages/a%20b.gif";
    QTest::newRow("plain") << "ftp.example.org:21" << false << ""
                           << "";
    QTest::newRow("no host") << "ftps://" << true << ""
                             << "";
    QTest::newRow("port 0") << "ftps://h:0" << true << ""
                            << "";
    QTest::newRow("port too big") << "sftp://h:65536" << true << ""
                                  << "";
    QTest::newRow("port not a number") << "ftps://h:21x" << true << ""
                                       << "";
    QTest::newRow("user in host") << "sftp://anna@h" << true << ""
                                  << "";
    QTest::newRow("path in host") << "sftp://h/www" << true << ""
                                  << "";
    QTest::newRow("bare ipv6") << "ftps://::1" << true << ""
                               << "";
  }
  void hostNames() {
    QFETCH(QString, typed);
    QFETCH(bool, secure);
    QFETCH(QString, server);
    QFETCH(QString, url);
    QCOMPARE(IsSecureHost(typed.toStdString()), secure);
    SecureHost h;
    QCOMPARE(ParseSecureHost(typed.toStdString(), h), !server.isEmpty());
    if (server.isEmpty()) return;
    QCOMPARE(QString::fromStdString(ServerName(h)), server);
    QCOMPARE(QString::fromStdString(RemoteUrl(h, "pages/a b.gif")), url);
  }

  void remotePaths_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");  // on sftp://h:22
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("top") << ""
                         << "sftp://h:22/~/"
                         << "/home/anna"
                         << "\"/home/anna\"";
    QTest::newRow("root home") << "a.gif"
                               << "sftp://h:22/~/a.gif"
                               << "/"
                               << "\"/a.gif\"";
    QTest::newRow("folder") << "www/site/"
                            << "sftp://h:22/~/www/site/"
                            << "/home/anna/"
                            << "\"/home/anna/www/site\"";
    QTest::newRow("odd bytes") << "a#b/c?d%e f.gif"
                               << "sftp://h:22/~/a%23b/c%3Fd%25e%20f.gif"
                               << "/h"
                               << "\"/h/a#b/c?d%e f.gif\"";
    QTest::newRow("quotes") << "say \"hi\"\\.gif"
                            << "sftp://h:22/~/say%20%22hi%22%5C.gif"
                            << "/h\"q"
                            << "\"/h\\\"q/say \\\"hi\\\"\\\\.gif\"";
  }
  void remotePaths() {
    QFETCH(QString, path);
    QFETCH(QString, url);
    QFETCH(QString, home);
    QFETCH(QString, quoted);
    SecureHost h;
    QVERIFY(ParseSecureHost("sftp://h", h));
    QCOMPARE(QString::fromStdString(RemoteUrl(h, path.toStdString())), url);
    QCOMPARE(QString::fromStdString(SftpQuotePath(home.toStdString(), path.toStdString())), quoted);
  }

  // The trust file: one line per server, the last line for a server wins, other lines are
  // ignored; remembering replaces the server's line, keeps the others, and leaves the file
  // readable by its owner only.
  void trustFile() {
    auto read = ReadTrust("Trust ftps://a:21 sha256//AAA=\r\nnoise\nTrust sftp://b:22 SHA256:x\r\n"
                          "Trust ftps://a:21 sha256//BBB=\rTrust lonely\r\n");
    QCOMPARE(read, (std::map<std::string, std::string>{{"ftps://a:21", "sha256//BBB="}, {"sftp://b:22", "SHA256:x"}}));
    QCOMPARE(WriteTrust(read), std::string("Trust ftps://a:21 sha256//BBB=\r\nTrust sftp://b:22 SHA256:x\r\n"));
    EditorFixture f(false);
    const std::string trust = f.Path(kTrustFile);
    WriteAll(trust, "Trust sftp://b:22 SHA256:x\r\nTrust ftps://a:21 sha256//AAA=\r\n");
    QVERIFY(::chmod(trust.c_str(), 0644) == 0);
    QVERIFY(RememberTrust(trust, "ftps://a:21", "sha256//CCC="));
    QCOMPARE(ReadAll(trust), std::string("Trust ftps://a:21 sha256//CCC=\r\nTrust sftp://b:22 SHA256:x\r\n"));
    struct stat info {};
    QVERIFY(::stat(trust.c_str(), &info) == 0);
    QCOMPARE(info.st_mode & 0777, 0600u);
    QCOMPARE(TrustedKeyFor(trust, "ftps://a:21"), std::string("sha256//CCC="));
    QCOMPARE(TrustedKeyFor(trust, "ftps://a:2121"), std::string());
  }

  // What a known_hosts file says of a key: plain, bracketed, hashed and patterned host names,
  // keys of another kind, revoked keys and certificate authorities.
  void knownHosts_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("said");
    const int none = int(KnownHostMatch::None), same = int(KnownHostMatch::Same),
              different = int(KnownHostMatch::Different);
    // {k}: the server's key, {o}: another key of its kind, {r}: a key of another kind.
    QTest::newRow("plain name") << "# mine\nexample.org {k}\n"
                                << "example.org" << 22 << same;
    QTest::newRow("letter case, tab") << "Example.ORG\t{k}\n"
                                      << "example.org" << 22 << same;
    QTest::newRow("port written") << "[example.org]:2222 {k}\n"
                                  << "example.org" << 2222 << same;
    QTest::newRow("port not written") << "example.org {k}\n"
                                      << "example.org" << 2222 << none;
    QTest::newRow("hashed") << "|1|MDEyMzQ1Njc4OWFiY2RlZmdoaWo=|kjl9J932vxVxCmU2IfKMefPFSKM= {k}\n"
                            << "127.0.0.1" << 2222 << same;
    QTest::newRow("hashed, other port") << "|1|MDEyMzQ1Njc4OWFiY2RlZmdoaWo=|kjl9J932vxVxCmU2IfKMefPFSKM= {k}\n"
                                        << "127.0.0.1" << 2223 << none;
    QTest::newRow("pattern") << "*.example.org,!bad.example.org {k}\n"
                             << "www.example.org" << 22 << same;
    QTest::newRow("negated") << "*.example.org,!bad.example.org {k}\n"
                             << "bad.example.org" << 22 << none;
    QTest::newRow("another key") << "example.org {o}\n"
                                 << "example.org" << 22 << different;
    QTest::newRow("another kind only") << "example.org {r}\n"
                                       << "example.org" << 22 << none;
    QTest::newRow("one of two keys") << "example.org {o}\nexample.org {k}\n"
                                     << "example.org" << 22 << same;
    QTest::newRow("revoked") << "@revoked * {k}\nexample.org {k}\n"
                             << "example.org" << 22 << different;
    QTest::newRow("authority") << "@cert-authority *.org {o}\n"
                               << "example.org" << 22 << none;
    QTest::newRow("short lines") << "example.org\nexample.org ssh-ed25519\n\n"
                                 << "example.org" << 22 << none;
  }
  void knownHosts() {
    QFETCH(QString, file);
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(int, said);
    auto blob = [](const QByteArray& type, char fill) {
      QByteArray b;
      for (const QByteArray& part : {type, QByteArray(32, fill)})
        b += QByteArray(1, 0) + QByteArray(1, 0) + QByteArray(1, 0) + QByteArray(1, char(part.size())) + part;
      return b;
    };
    const QByteArray key = blob("ssh-ed25519", 'k');
    file.replace("{k}", "ssh-ed25519 " + key.toBase64())
        .replace("{o}", "ssh-ed25519 " + blob("ssh-ed25519", 'o').toBase64())
        .replace("{r}", "ssh-rsa " + blob("ssh-rsa", 'r').toBase64());
    QCOMPARE(int(FindInKnownHosts(file.toStdString(), host.toStdString(), port, key.toStdString())), said);
  }

  // An SFTP server that the user's ssh knows is not asked about; one it knows under another
  // key is refused, and no trust is offered for it.
  void sftpHonoursKnownHosts_data() {
    QTest::addColumn<bool>("known");
    QTest::newRow("known") << true;
    QTest::newRow("known with another key") << false;
  }
  void sftpHonoursKnownHosts() {
    QFETCH(bool, known);
    const QString keyFile = HostKeyFile("known-hosts");
    Server server("sftp", keys_.path(), keyFile.toStdString());
    QVERIFY2(server.error.empty(), server.error.c_str());
    QProcess python;
    python.start("/usr/bin/python3", {"-c",
                                      "import paramiko, sys\n"
                                      "k = paramiko.ECDSAKey.from_private_key_file(sys.argv[1])\n"
                                      "if sys.argv[2] == 'other': k = paramiko.ECDSAKey.generate()\n"
                                      "print(k.get_name(), k.get_base64())\n",
                                      keyFile, known ? "own" : "other"});
    QVERIFY(python.waitForFinished(30000) && python.exitCode() == 0);
    SecureHost h;
    QVERIFY(ParseSecureHost(server.host, h));
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(".ssh"));
    QFile hosts(home.filePath(".ssh/known_hosts"));
    QVERIFY(hosts.open(QIODevice::WriteOnly));
    hosts.write("[" + QByteArray::fromStdString(h.host) + "]:" + QByteArray::number(h.port) + " " +
                python.readAllStandardOutput());
    hosts.close();
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    EditorFixture f(false);
    f.Start();
    PrepareSavedDocument(f, "site1.web", kProgram, "<p>known</p>");
    StoreProfile(*f.app->profiles, "site1", server.host, "anna", "secret", "mysite");
    if (!known) f.platform.AnswerMessage(MsgAnswer::Ok);  // the refusal; a known server asks nothing
    PublishActiveDocument(*f.app);
    qputenv("HOME", oldHome);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto asked = f.platform.CallsOf("message");
    if (known) {
      QVERIFY(asked.empty());
      QCOMPARE(Tree(server.Pages()), (std::map<std::string, std::string>{{"site1.html", "<p>known</p>"}}));
    } else {
      QCOMPARE(asked.size(), std::size_t(1));
      QVERIFY2(asked[0].text.find("is not the one ~/.ssh/known_hosts holds") != std::string::npos &&
                   asked[0].buttons != MsgButtons::YesNo,
               asked[0].text.c_str());
      QVERIFY(Tree(server.Pages()).empty());
    }
    QVERIFY(!QFile::exists(QString::fromStdString(f.Path(kTrustFile))));
  }

  // A page with two pictures and a style sheet in sub-folders arrives byte for byte once
  // the user trusts the server; the trust is remembered, and a second publish after one
  // picture changed sends only that picture without asking again.
  void wholePageThenOnlyWhatChanged_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("question");
    QTest::newRow("ftps") << "ftps"
                          << "Could not connect to FTP server. Please check all input fields.\r"
                             "certificate not trusted (self-signed certificate)\r\r"
                             "Trust this server's certificate for {server} from now on?\rIts key: {key}";
    QTest::newRow("sftp") << "sftp"
                          << "Could not connect to FTP server. Please check all input fields.\r"
                             "the server's host key is not known yet ({key})\r\r"
                             "Trust this server's host key for {server} from now on?\rIts key: {key}";
  }
  void wholePageThenOnlyWhatChanged() {
    QFETCH(QString, kind);
    QFETCH(QString, question);
    Server server(kind, keys_.path(), HostKeyFile("whole-" + kind).toStdString());
    QVERIFY2(server.error.empty(), server.error.c_str());
    EditorFixture f(false);
    f.Start();
    QVERIFY(QDir(QString::fromStdString(f.Folder())).mkpath("pics/big"));
    QVERIFY(QDir(QString::fromStdString(f.Folder())).mkpath("css"));
    std::map<std::string, std::string> files = {{"css/site.css", "body { color: #123; }\n"},
                                                {"pics/a.gif", Bytes(300000, 7)},
                                                {"pics/big/b.png", Bytes(9000, 11) + "png"}};
    for (const auto& [name, bytes] : files) f.WriteFile(name, bytes);
    PrepareSavedDocument(f, "site1.web", kProgram, kPage);
    files["site1.html"] = kPage;
    StoreProfile(*f.app->profiles, "site1", server.host, "anna", "secret", "mysite");
    f.platform.AnswerMessage(MsgAnswer::Yes);
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto asked = f.platform.CallsOf("message");
    QCOMPARE(asked.size(), std::size_t(1));
    QCOMPARE(asked[0].text, Filled(question, server));
    QCOMPARE(asked[0].buttons, MsgButtons::YesNo);
    QCOMPARE(PublishedStatusText(*f.app), std::string("File published: mysite/pages/site1.html"));
    QCOMPARE(Tree(server.Pages()), files);
    SecureHost h;
    QVERIFY(ParseSecureHost(server.host, h));
    QCOMPARE(f.ReadFile(kTrustFile), "Trust " + ServerName(h) + " " + server.key + "\r\n");
    struct stat info {};
    QVERIFY(::stat(f.Path(kTrustFile).c_str(), &info) == 0);
    QCOMPARE(info.st_mode & 0777, 0600u);

    // Only the changed picture goes up again: what the server lost meanwhile stays lost.
    QVERIFY(QFile::remove(server.remote.filePath("pages/css/site.css")));
    QVERIFY(QFile::remove(server.remote.filePath("pages/site1.html")));
    files.erase("css/site.css");
    files.erase("site1.html");
    files["pics/a.gif"] = Bytes(200000, 13) + "changed";
    f.WriteFile("pics/a.gif", files["pics/a.gif"]);
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(f.platform.CallsOf("message").size(), std::size_t(1));
    QCOMPARE(Tree(server.Pages()), files);
    auto steps = f.platform.CallsOf("progress").back().args;
    for (const auto& step : steps)
      QVERIFY2(!QString::fromStdString(step).startsWith("Uploading ") ||
                   QString::fromStdString(step).startsWith("Uploading pics/a.gif (1 of 1)"),
               step.c_str());
  }

  // A file the server keeps only in part is sent once more, then refused with the sizes;
  // an upload the server stops taking, or whose reply it holds back after the last byte,
  // is cancelled at once. Nothing of the file stays under its real name.
  void serverTroubleWithAPicture_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");
    const QString shortened = "Could not upload file to FTP server.\rpics/short.gif: The server holds 500 of the "
                              "1000 bytes sent.";
    QTest::newRow("ftps short") << "ftps"
                                << "short.gif" << 1000 << shortened;
    QTest::newRow("sftp short") << "sftp"
                                << "short.gif" << 1000 << shortened;
    QTest::newRow("ftps stalls") << "ftps"
                                 << "stall.gif" << (8 << 20) << kPublishCancelled;
    QTest::newRow("sftp stalls") << "sftp"
                                 << "stall.gif" << (8 << 20) << kPublishCancelled;
    QTest::newRow("ftps holds its reply") << "ftps"
                                          << "hold.gif" << (1 << 20) << kPublishCancelled;
    QTest::newRow("sftp holds its reply") << "sftp"
                                          << "hold.gif" << (1 << 20) << kPublishCancelled;
  }
  void serverTroubleWithAPicture() {
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(QString, message);
    Server server(kind, keys_.path(), HostKeyFile("trouble-" + kind).toStdString());
    QVERIFY2(server.error.empty(), server.error.c_str());
    EditorFixture f(false);
    f.Start();
    SecureHost h;
    QVERIFY(ParseSecureHost(server.host, h));
    f.WriteFile(kTrustFile, "Trust " + ServerName(h) + " " + server.key + "\r\n");
    QVERIFY(QDir(QString::fromStdString(f.Folder())).mkpath("pics"));
    std::string picture = "pics/" + name.toStdString();
    f.WriteFile(picture, Bytes(static_cast<std::size_t>(size), 3));
    std::string page = "<img src=" + picture + ">";
    PrepareSavedDocument(f, "site1.web", kProgram, page);
    StoreProfile(*f.app->profiles, "site1", server.host, "anna", "secret", "mysite");
    f.platform.AnswerMessage(MsgAnswer::Ok);
    bool stalls = message == kPublishCancelled;
    // Cancel once half a megabyte of the picture has arrived (a stalling server stops at
    // one), or all of it (the server holds back its reply).
    const bool holds = name.startsWith("hold");
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      if (QFileInfo(server.remote.filePath("pages/pics/." + name + ".part")).size() >= (holds ? size : 1 << 19))
        f.platform.cancelProgressAfterMs = 0;
    });
    if (stalls) {
      f.platform.cancelProgressAfterMs = 20000;
      watch.start(5);
    }
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    QCOMPARE(QString::fromStdString(f.platform.CallsOf("message").at(0).text), message);
    if (stalls) {
      long long afterCancel = f.platform.progressEndedMs - f.platform.progressCancelledAtMs;
      // Before, a server holding back its reply after the last byte kept the window for the
      // reply time-out (15 s here, 60 s by default).
      QVERIFY2(f.platform.progressCancelledAtMs >= 0 && afterCancel < 1000, qPrintable(QString::number(afterCancel)));
      QString last = QString::fromStdString(f.platform.CallsOf("progress").at(0).args.back());
      QVERIFY2(last.startsWith("Uploading " + QString::fromStdString(picture) + " (2 of 2)\n"), qPrintable(last));
    }
    auto tree = Tree(server.Pages());
    QCOMPARE(tree.count("site1.html"), std::size_t(1));
    QCOMPARE(tree.count(picture), std::size_t(0));
    // A short file is removed; a cancelled one may stay under its temporary name only.
    QCOMPARE(tree.size(), std::size_t(stalls ? 2 : 1));
  }

  // A server that will not rename onto an existing name gets the live picture moved aside,
  // never deleted before the new one has its name; when the new one cannot take the name,
  // the old one is put back. No temporary or aside copy stays behind.
  void liveFileSurvivesARefusedRename_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("cause");  // "" when published
    QTest::newRow("ftps, rename onto a name refused") << "ftps"
                                                      << "fixed.gif"
                                                      << "";
    QTest::newRow("sftp, rename onto a name refused") << "sftp"
                                                      << "fixed.gif"
                                                      << "";
    QTest::newRow("ftps, new picture refused its name") << "ftps"
                                                        << "stuck.gif"
                                                        << "553 Rename refused.";
    QTest::newRow("sftp, new picture refused its name") << "sftp"
                                                        << "stuck.gif"
                                                        << "?";
  }
  void liveFileSurvivesARefusedRename() {
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QFETCH(QString, cause);
    Server server(kind, keys_.path(), HostKeyFile("rename-" + kind).toStdString());
    QVERIFY2(server.error.empty(), server.error.c_str());
    EditorFixture f(false);
    f.Start();
    SecureHost h;
    QVERIFY(ParseSecureHost(server.host, h));
    f.WriteFile(kTrustFile, "Trust " + ServerName(h) + " " + server.key + "\r\n");
    std::string picture = "pics/" + name.toStdString(), page = "<img src=" + picture + ">";
    f.WriteFile(picture, Bytes(5000, 5));
    WriteAll(server.remote.filePath(QString::fromStdString("pages/" + picture)).toStdString(), "live picture");
    PrepareSavedDocument(f, "site1.web", kProgram, page);
    StoreProfile(*f.app->profiles, "site1", server.host, "anna", "secret", "mysite");
    if (!cause.isEmpty()) f.platform.AnswerMessage(MsgAnswer::Ok);
    PublishActiveDocument(*f.app);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    std::map<std::string, std::string> expected = {{"site1.html", page},
                                                   {picture, cause.isEmpty() ? Bytes(5000, 5) : "live picture"}};
    QCOMPARE(Tree(server.Pages()), expected);
    if (cause.isEmpty()) return;
    QString shown = QString::fromStdString(f.platform.CallsOf("message").at(0).text);
    QString first = "Could not upload file to FTP server.\r" + QString::fromStdString(picture) + ": ";
    QVERIFY2(shown.startsWith(first) && (cause == "?" || shown == first + cause), qPrintable(shown));
  }

  // Failures say why; an unverified server is asked about, a changed SSH host key is not;
  // a stalled server is cancelled within a second. Nothing reaches the page's real name.
  void refusals_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("trusted");  // the trust file's key: "" none, "right", or another
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("stall");  // the server stops answering: "cancel" by the user, "wait" 1 s
    QTest::addColumn<QString>("shown");  // the message or question, up to its end or "..."
    const QString connect = "Could not connect to FTP server. Please check all input fields.\r";
    const QString other = "sha256//47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=";
    QTest::newRow("ftps untrusted, No")
        << "ftps"
        << ""
        << "secret"
        << "/Pages/"
        << ""
        << "?" + connect +
               "certificate not trusted (self-signed certificate)\r\r"
               "Trust this server's certificate for {server} from now on?\rIts key: {key}";
    QTest::newRow("ftps another key trusted") << "ftps" << other << "secret"
                                              << "/Pages/"
                                              << ""
                                              << "?" + connect +
                                                     "certificate not trusted (it is not the certificate trusted "
                                                     "before for this host)\r\rTrust this server's certificate...";
    QTest::newRow("sftp unknown, No") << "sftp"
                                      << ""
                                      << "secret"
                                      << "/Pages/"
                                      << ""
                                      << "?" + connect + "the server's host key is not known yet ({key})...";
    QTest::newRow("sftp key changed") << "sftp"
                                      << "SHA256:AAAA"
                                      << "secret"
                                      << "/Pages/"
                                      << ""
                                      << connect + "the server's host key has changed (now {key}); if its owner "
                                                   "changed it, remove the server's line from FtpTrust.ini";
    QTest::newRow("ftps wrong password") << "ftps"
                                         << "right"
                                         << "wrong"
                                         << "/Pages/"
                                         << "" << connect + "530 Authentication failed.";
    QTest::newRow("sftp wrong password") << "sftp"
                                         << "right"
                                         << "wrong"
                                         << "/Pages/"
                                         << "" << connect + "the server refused the user name or password";
    QTest::newRow("ftps missing folder") << "ftps"
                                         << "right"
                                         << "secret"
                                         << "NotThere"
                                         << ""
                                         << "Could not locate FTP target directory: notthere.\r550 ...";
    QTest::newRow("sftp missing folder") << "sftp"
                                         << "right"
                                         << "secret"
                                         << "NotThere"
                                         << ""
                                         << "Could not locate FTP target directory: notthere.\r"
                                            "no such file or folder";
    QTest::newRow("ftps refused") << "refused"
                                  << ""
                                  << "secret"
                                  << "/Pages/"
                                  << "" << connect + "connection refused";
    QTest::newRow("ftps no answer") << "ftps"
                                    << "right"
                                    << "secret"
                                    << "/Pages/"
                                    << "wait" << connect + "no answer within 1 s";
    QTest::newRow("sftp no answer") << "sftp"
                                    << "right"
                                    << "secret"
                                    << "/Pages/"
                                    << "wait" << connect + "no answer within 1 s";
    QTest::newRow("ftps stalled") << "ftps"
                                  << "right"
                                  << "secret"
                                  << "/Pages/"
                                  << "cancel" << kPublishCancelled;
    QTest::newRow("sftp stalled") << "sftp"
                                  << "right"
                                  << "secret"
                                  << "/Pages/"
                                  << "cancel" << kPublishCancelled;
  }
  void refusals() {
    QFETCH(QString, kind);
    QFETCH(QString, trusted);
    QFETCH(QString, password);
    QFETCH(QString, target);
    QFETCH(QString, stall);
    QFETCH(QString, shown);
    Server server(kind == "refused" ? "ftps" : kind, keys_.path(), HostKeyFile("refusals-" + kind).toStdString());
    QVERIFY2(server.error.empty(), server.error.c_str());
    if (kind == "refused") server.host = "ftps://127.0.0.1:" + std::to_string(ClosedPort());
    EditorFixture f(false);
    f.Start();
    SecureHost h;
    QVERIFY(ParseSecureHost(server.host, h));
    std::string trust = trusted.isEmpty() ? std::string()
                                          : "Trust " + ServerName(h) + " " +
                                                (trusted == "right" ? server.key : trusted.toStdString()) + "\r\n";
    if (!trust.empty()) f.WriteFile(kTrustFile, trust);
    std::string program = QString(kProgram).replace("/Pages/", target).toStdString();
    PrepareSavedDocument(f, "site1.web", program, kPage);
    StoreProfile(*f.app->profiles, "site1", server.host, "anna", password.toStdString(), "mysite");
    bool question = shown.startsWith("?");
    f.platform.AnswerMessage(question ? MsgAnswer::No : MsgAnswer::Ok);
    if (!stall.isEmpty()) server.Pause();
    if (stall == "cancel") f.platform.cancelProgressAfterMs = 300;
    if (stall == "wait") ftp::CurrentTuning().controlTimeoutMs = 1000;
    PublishActiveDocument(*f.app);
    ftp::CurrentTuning().controlTimeoutMs = 15000;
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
    auto messages = f.platform.CallsOf("message");
    QCOMPARE(messages.size(), std::size_t(1));
    std::string expected = Filled(question ? shown.mid(1) : shown, server);
    std::string text = messages[0].text;
    if (QString::fromStdString(expected).endsWith("...")) {
      expected.resize(expected.size() - 3);
      text = text.substr(0, expected.size());
    }
    QCOMPARE(text, expected);
    QCOMPARE(messages[0].buttons, question ? MsgButtons::YesNo : MsgButtons::Ok);
    QCOMPARE(messages[0].icon, stall == "cancel" ? MsgIcon::Information : MsgIcon::Warning);
    if (stall == "cancel") {
      long long afterCancel = f.platform.progressEndedMs - f.platform.progressCancelledAtMs;
      QVERIFY2(f.platform.progressCancelledAtMs >= 0 && afterCancel < 1000, qPrintable(QString::number(afterCancel)));
    }
    QVERIFY(PublishedStatusText(*f.app).empty());
    QVERIFY(!QFile::exists(server.remote.filePath("pages/site1.html")));
    // A refusal changes nothing in the trust file.
    QCOMPARE(f.ReadFile(kTrustFile), trust);
  }
};

QTEST_MAIN(SecurePublishTest)
#include "test_secure_publish.moc"
