// The preview server's decisions over a small site, and its sockets: what it serves,
// what it refuses, and that stopping it closes its port.
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "preview/preview_http.h"
#include "documents/document_table.h"
#include "preview/live_preview.h"
#include "preview/preview_server.h"
#include "preview/site_watcher.h"
#include "support/fixture.h"

using namespace preview;

class TestPreviewServer : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void decisions_data();
  void decisions();
  void tokenForOtherDevices_data();
  void tokenForOtherDevices();
  void scriptGoesBeforeBodyEnd_data();
  void scriptGoesBeforeBodyEnd();
  void socketsServeRefuseAndClose();
  void otherDevicesNeedTheToken();
  void changeKinds_data();
  void changeKinds();

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::string site_, config_;
};

namespace {

constexpr int kPort = 8123;

std::string Request(const std::string& method, const std::string& target, const std::string& host,
                    const std::string& extra = "") {
  return method + " " + target + " HTTP/1.1\r\nHost: " + host + "\r\n" + extra + "\r\n";
}

std::string Exchange(int port, const std::string& request) {
  QTcpSocket socket;
  socket.connectToHost("127.0.0.1", port);
  if (!socket.waitForConnected(5000)) return "no connection";
  socket.write(request.c_str());
  QByteArray reply;
  while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000)) reply += socket.readAll();
  return (reply + socket.readAll()).toStdString();
}

}  // namespace

void TestPreviewServer::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  std::string root = std::filesystem::canonical(dir_->path().toStdString()).string();
  site_ = root + "/site";
  config_ = root + "/config";
  for (const char* name : {"index.html", "style.css", "index.web", "parts/menu.lib", "sub/page.html", "Verosta.ini",
                           ".git/config", "pic.png"})
    WriteAll(site_ + "/" + name, "<html><body>x</body></html>");
  WriteAll(root + "/outside.txt", "secret");
  WriteAll(config_ + "/notes.txt", "mine");
  std::filesystem::create_symlink(root + "/outside.txt", site_ + "/link-out");
  std::filesystem::create_directory_symlink(config_, site_ + "/config-link");
}

void TestPreviewServer::decisions_data() {
  QTest::addColumn<QString>("request");
  QTest::addColumn<int>("status");
  QTest::addColumn<QString>("served");  // file name under the site, with its content type
  const std::string host = "127.0.0.1:" + std::to_string(kPort);
  auto row = [](const char* name, const std::string& request, int status, const char* served = "") {
    QTest::newRow(name) << QString::fromStdString(request) << status << served;
  };
  row("folder index", Request("GET", "/", host), 200, "index.html text/html");
  row("style sheet", Request("GET", "/style.css?v=2", host), 200, "style.css text/css");
  row("picture", Request("GET", "/pic.png", host), 200, "pic.png image/png");
  row("head", Request("HEAD", "/sub/page.html", host), 200, "sub/page.html text/html");
  row("localhost", Request("GET", "/", "LOCALHOST:" + std::to_string(kPort)), 200, "index.html text/html");
  row("folder without slash", Request("GET", "/sub", host), 301);
  row("parent", Request("GET", "/../outside.txt", host), 403);
  row("encoded parent", Request("GET", "/%2e%2e/outside.txt", host), 403);
  row("parent below", Request("GET", "/sub/../../outside.txt", host), 403);
  row("link out of the site", Request("GET", "/link-out", host), 403);
  row("link into the config", Request("GET", "/config-link/notes.txt", host), 403);
  row("program source", Request("GET", "/index.web", host), 403);
  row("library source", Request("GET", "/parts/menu.lib", host), 403);
  row("editor's own file", Request("GET", "/Verosta.ini", host), 403);
  row("hidden folder", Request("GET", "/.git/config", host), 404);
  row("missing", Request("GET", "/none.html", host), 404);
  row("post", Request("POST", "/index.html", host), 405);
  row("put", Request("PUT", "/index.html", host), 405);
  row("foreign host", Request("GET", "/", "evil.example:" + std::to_string(kPort)), 403);
  row("other port", Request("GET", "/", "127.0.0.1:80"), 403);
  row("no host", "GET / HTTP/1.1\r\n\r\n", 403);
  row("socket without upgrade", Request("GET", kSocketPath, host), 400);
  const std::string upgrade = "Upgrade: websocket\r\nConnection: Upgrade\r\n";
  row("socket", Request("GET", kSocketPath, host, upgrade + "Origin: http://" + host + "\r\n"), 101);
  row("socket from a foreign page", Request("GET", kSocketPath, host, upgrade + "Origin: http://evil.example\r\n"),
      403);
  row("bad escape", Request("GET", "/%zz", host), 400);
  row("not http", "hello\r\n\r\n", 400);
}

void TestPreviewServer::decisions() {
  QFETCH(QString, request);
  QFETCH(int, status);
  QFETCH(QString, served);
  Decision d = Decide(ParseRequest(request.toStdString()), {site_, config_, kPort, false, ""});
  QCOMPARE(d.status, status);
  QStringList expected = served.split(' ', Qt::SkipEmptyParts);
  QCOMPARE(QString::fromStdString(d.file),
           expected.isEmpty() ? QString() : QString::fromStdString(site_ + "/") + expected[0]);
  if (!expected.isEmpty()) QCOMPARE(QString::fromStdString(d.contentType), expected[1]);
}

void TestPreviewServer::tokenForOtherDevices_data() {
  QTest::addColumn<QString>("request");
  QTest::addColumn<int>("status");
  QTest::addColumn<bool>("setsCookie");
  QTest::newRow("token in address") << QString::fromStdString(Request("GET", "/?preview_token=T0K", "192.168.1.9:1"))
                                    << 200 << true;
  QTest::newRow("token in cookie") << QString::fromStdString(Request("GET", "/style.css", "phone:1",
                                                                     "Cookie: a=1; verosta_preview=T0K\r\n"))
                                   << 200 << false;
  QTest::newRow("no token") << QString::fromStdString(Request("GET", "/", "127.0.0.1:8123")) << 403 << false;
  QTest::newRow("wrong token") << QString::fromStdString(Request("GET", "/?preview_token=T0", "x:1")) << 403 << false;
}

void TestPreviewServer::tokenForOtherDevices() {
  QFETCH(QString, request);
  QFETCH(int, status);
  QFETCH(bool, setsCookie);
  Decision d = Decide(ParseRequest(request.toStdString()), {site_, config_, kPort, true, "T0K"});
  QCOMPARE(d.status, status);
  QCOMPARE(!d.setCookie.empty(), setsCookie);
}

void TestPreviewServer::scriptGoesBeforeBodyEnd_data() {
  QTest::addColumn<QString>("html");
  QTest::addColumn<QString>("expected");
  QTest::newRow("body") << "<p></p></BODY></html>"
                        << "<p></p>S</BODY></html>";
  QTest::newRow("html only") << "<p></p></html>"
                             << "<p></p>S</html>";
  QTest::newRow("fragment") << "<p></p>"
                            << "<p></p>S";
}

void TestPreviewServer::scriptGoesBeforeBodyEnd() {
  QFETCH(QString, html);
  QFETCH(QString, expected);
  QCOMPARE(QString::fromStdString(WithScript(html.toStdString(), "S")), expected);
}

void TestPreviewServer::socketsServeRefuseAndClose() {
  PreviewServer server;
  std::string error;
  QVERIFY(server.Start({site_, config_, 0, false, ""}, error));
  int port = server.Port();
  std::string host = "127.0.0.1:" + std::to_string(port);
  std::string page;
  std::thread([&] { page = Exchange(port, Request("GET", "/sub/page.html", host)); }).detach();
  QTRY_VERIFY_WITH_TIMEOUT(!page.empty(), 10000);
  QVERIFY2(page.rfind("HTTP/1.1 200 OK\r\n", 0) == 0, page.c_str());
  QVERIFY(page.find("data-verosta-preview") != std::string::npos);
  QCOMPARE(ReadAll(site_ + "/sub/page.html"), std::string("<html><body>x</body></html>"));  // not on disk
  for (const auto& [request, status] : std::vector<std::pair<std::string, std::string>>{
           {Request("POST", "/index.html", host), "405"},
           {Request("GET", "/../outside.txt", host), "403"},
           {Request("GET", "/index.web", host), "403"},
           {Request("GET", "/", "attacker.example:" + std::to_string(port)), "403"}}) {
    std::string reply;
    std::thread([&, request] { reply = Exchange(port, request); }).detach();
    QTRY_VERIFY_WITH_TIMEOUT(!reply.empty(), 10000);
    QVERIFY2(reply.rfind("HTTP/1.1 " + status, 0) == 0, reply.c_str());
    QVERIFY(reply.find("secret") == std::string::npos);
  }
  server.Stop();
  QTcpSocket probe;
  probe.connectToHost("127.0.0.1", port);
  QVERIFY(!probe.waitForConnected(2000));
}

void TestPreviewServer::otherDevicesNeedTheToken() {
  EditorFixture f;
  f.Start();
  f.app->settings.previewOtherDevices = 1;
  f.WriteFile("site/index.html", "<p>here</p>");
  QVERIFY(OpenDocumentTab(*f.app, f.Path("site/index.html"), "index.html"));
  f.platform.AnswerMessage(MsgAnswer::Ok);
  f.Key(Accel::LivePreview);
  QVERIFY(f.platform.CallsOf("message").at(0).text.find("?preview_token=") != std::string::npos);
  std::string address = f.platform.CallsOf("browser").at(0).args.at(0);
  size_t token = address.find("?preview_token=");
  QVERIFY2(token != std::string::npos && address.size() - token > 30, address.c_str());
  int port = preview::RunningPreview(*f.app)->Server().Port();
  std::string path = address.substr(address.find('/', 7));
  for (const auto& [target, status] : std::vector<std::pair<std::string, std::string>>{
           {"/index.html", "403"}, {path, "200"}, {path.substr(0, path.size() - 1), "403"}}) {
    std::string reply;
    std::thread([&, target] { reply = Exchange(port, Request("GET", target, "192.168.0.2:1")); }).detach();
    QTRY_VERIFY_WITH_TIMEOUT(!reply.empty(), 10000);
    QVERIFY2(reply.rfind("HTTP/1.1 " + status, 0) == 0, reply.c_str());
  }
  QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
}

void TestPreviewServer::changeKinds_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<int>("kind");
  const struct {
    const char* name;
    ChangeKind kind;
  } rows[] = {
      {"index.web", ChangeKind::Program},        {"INDEX.WEB", ChangeKind::Program}, {"menu.lib", ChangeKind::Library},
      {"look.css", ChangeKind::StyleSheet},      {"photo.jpg", ChangeKind::Other},   {"about.html", ChangeKind::Other},
      {".index.web.typing", ChangeKind::Ignore}, {"Final.ini", ChangeKind::Ignore},  {"index.bak", ChangeKind::Ignore},
      {"index.web~", ChangeKind::Ignore},
  };
  for (const auto& r : rows) QTest::newRow(r.name) << r.name << int(r.kind);
}

void TestPreviewServer::changeKinds() {
  QFETCH(QString, name);
  QFETCH(int, kind);
  QCOMPARE(int(KindOfChange(site_ + "/" + name.toStdString(), config_)), kind);
}

QTEST_MAIN(TestPreviewServer)
#include "test_preview_server.moc"
