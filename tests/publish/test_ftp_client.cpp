// The FTP client against a scripted server: the exchange on the wire, odd and hostile
// replies, and the failure results.
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "publish/ftp_client.h"
#include "support/fixture.h"
#include "publish/script_server.h"

#include <memory>
#include <thread>

Q_DECLARE_METATYPE(std::vector<ScriptStep>)

namespace {

std::vector<std::size_t> blocks;
void RecordBlock(std::size_t n) { blocks.push_back(n); }

std::vector<ScriptStep> Steps(std::initializer_list<std::vector<ScriptStep>> parts) {
  std::vector<ScriptStep> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

const std::vector<ScriptStep> kLogin = {Line("220 Service ready"), Read(), Line("331 Password required"),  Read(),
                                        Line("230 Logged in"),     Read(), {ScriptStep::Pasv, "127,0,0,1"}};
const char* const kLoginCommands = "USER anna|PASS secret|PASV";

std::string Joined(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += (s.empty() ? "" : "|") + l;
  return s;
}

std::string Bytes(std::size_t n) {
  std::string s(n, '\0');
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<char>((i * 131 + i / 7) & 255);
  return s;
}

}  // namespace

class FtpClientTest : public QObject {
  Q_OBJECT
  QTemporaryDir dir_;
  std::string File(std::size_t size) {
    std::string path = dir_.filePath("page.html").toStdString();
    WriteAll(path, Bytes(size));
    return path;
  }

 private slots:
  void init() {
    ftp::CurrentTuning() = ftp::Tuning{};
    ftp::CurrentTuning().controlTimeoutMs = 3000;
    ftp::CurrentTuning().dataTimeoutMs = 1000;
    ftp::CurrentTuning().emptyReplyPauseMs = 10;
    ftp::CurrentTuning().onBlock = RecordBlock;
    blocks.clear();
  }

  void fullPublishExchange_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("expectedBlocks");
    QTest::newRow("empty file sends nothing") << 0 << "";
    QTest::newRow("one full block and one byte") << 8193 << "8192,1";
    QTest::newRow("two full blocks, no partial") << 16384 << "8192,8192";
  }
  void fullPublishExchange() {
    QFETCH(int, size);
    QFETCH(QString, expectedBlocks);
    ScriptServer server(Steps({kLogin,
                               {Read(),
                                Line("250 CWD ok"),
                                Read(),
                                {ScriptStep::Pasv, "127,0,0,1"},
                                Read(),
                                Line("200 Type set to I"),
                                Read(),
                                {ScriptStep::Pasv, "127,0,0,1"},
                                Read(),
                                Line("150 Opening data connection"),
                                {ScriptStep::Accept, ""},
                                Line("226 Transfer complete"),
                                Read(),
                                Line("213 " + std::to_string(size)),
                                Read(),
                                Line("221 Goodbye")}}));
    QVERIFY(server.ok);
    std::string path = File(static_cast<std::size_t>(size));
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    QCOMPARE(ftpChangeDir(c, "\\site\\pages\\"), 1);
    char status[256] = "x";
    QCOMPARE(FTPPUTFILE(c, "ignored", 0, "", "index.html", path.c_str(), status, sizeof status), 1);
    QCOMPARE(std::string(status), std::string("226 Transfer complete"));
    ftpQuit(c);
    server.Join();
    QCOMPARE(Joined(server.commands),
             std::string(kLoginCommands) + "|CWD site/pages/|PASV|TYPE I|PASV|STOR index.html|SIZE index.html|QUIT");
    QVERIFY(server.data == Bytes(static_cast<std::size_t>(size)));
    QVERIFY(!server.dataReset);
    QStringList seen;
    for (auto b : blocks) seen << QString::number(b);
    QCOMPARE(seen.join(","), expectedBlocks);
  }

  void connect_data() {
    QTest::addColumn<std::vector<ScriptStep>>("script");
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("expected");  // 1 = a handle
    QTest::addColumn<QString>("commands");
    auto loginTail = std::vector<ScriptStep>{Read(), {ScriptStep::Pasv, "127,0,0,1"}};
    QTest::newRow("plain login") << kLogin << "anna" << 1 << kLoginCommands;
    QTest::newRow("greeting 421") << std::vector<ScriptStep>{Line("421 Too many users")} << "anna" << -1 << "";
    QTest::newRow("greeting without a code") << std::vector<ScriptStep>{Line("Hello there")} << "anna" << -1 << "";
    QTest::newRow("multi-line greeting") << Steps({{Line("220-Welcome"), Line("220 Ready"), Read(),
                                                    Line("331 Password required"), Read(), Line("230 Logged in")},
                                                   loginTail})
                                         << "anna" << 1 << kLoginCommands;
    QTest::newRow("greeting with free text lines")
        << Steps({{Line("220-Welcome"), Line("This is a test server"), Line(""), Line(" 220 inside the text"),
                   Line("220 Ready"), Read(), Line("331 Password required"), Read(), Line("230 Logged in")},
                  loginTail})
        << "anna" << 1 << kLoginCommands;
    QTest::newRow("multi-line password request and login")
        << Steps({{Line("220 Ready"), Read(), Line("331-Password required"), Line("for anna"), Line("331 Go on"),
                   Read(), Line("230-Welcome"), Line("Quota: 1 GB"), Line("230 Logged in")},
                  loginTail})
        << "anna" << 1 << kLoginCommands;
    QTest::newRow("multi-line refusal") << std::vector<ScriptStep>{Line("220 Ready"),
                                                                   Read(),
                                                                   Line("331 Password required"),
                                                                   Read(),
                                                                   Line("530-Login incorrect."),
                                                                   Line("Try again"),
                                                                   Line("530 Bye")}
                                        << "anna" << 0 << "USER anna|PASS secret";
    QTest::newRow("greeting that never closes")
        << std::vector<ScriptStep>{Line("220-Welcome"), Send(std::string(1200, '\n'))} << "anna" << -1 << "";
    QTest::newRow("banner byte by byte") << Steps({{{ScriptStep::Dribble, "220-Welcome\r\n220 Ready\r\n"},
                                                    Read(),
                                                    Line("331 Password required"),
                                                    Read(),
                                                    Line("230 Logged in")},
                                                   loginTail})
                                         << "anna" << 1 << kLoginCommands;
    QTest::newRow("100 KB greeting line") << Steps({{Send("220 " + std::string(100000, 'w') + "\r\n"), Read(),
                                                     Line("331 Password required"), Read(), Line("230 Logged in")},
                                                    loginTail})
                                          << "anna" << 1 << kLoginCommands;
    QTest::newRow("replies together in one packet")
        << std::vector<ScriptStep>{Line("220 Ready"),
                                   Read(),
                                   Line("331 Password required"),
                                   Read(),
                                   Send("230 Logged in\r\n227 Entering Passive Mode (127,0,0,1,4,1).\r\n"),
                                   Read()}
        << "anna" << 1 << kLoginCommands;
    QTest::newRow("wrong password") << std::vector<ScriptStep>{Line("220 Ready"), Read(), Line("331 Password required"),
                                                               Read(), Line("530 Login incorrect.")}
                                    << "anna" << 0 << "USER anna|PASS secret";
    QTest::newRow("other login reply") << std::vector<ScriptStep>{Line("220 Ready"), Read(),
                                                                  Line("331 Password required"), Read(),
                                                                  Line("421 Service closing")}
                                       << "anna" << -1 << "USER anna|PASS secret";
    QTest::newRow("421 after USER") << std::vector<ScriptStep>{Line("220 Ready"), Read(), Line("421 Timeout")} << "anna"
                                    << -1 << "USER anna";
    QTest::newRow("no password needed: 230 after USER")
        << Steps({{Line("220 Ready"), Read(), Line("230 Logged in")}, loginTail}) << "anna" << 1 << "USER anna|PASV";
    QTest::newRow("multi-line login reply") << Steps({{Line("220 Ready"), Read(), Line("331 Password required"), Read(),
                                                       Line("230-Welcome"), Line("230 Logged in")},
                                                      loginTail})
                                            << "anna" << 1 << kLoginCommands;
    QTest::newRow("PASV refused")
        << std::vector<ScriptStep>{Line("220 Ready"),     Read(), Line("331 Password required"),  Read(),
                                   Line("230 Logged in"), Read(), Line("500 PASV not understood")}
        << "anna" << 0 << kLoginCommands;
    QTest::newRow("server stalls after USER")
        << std::vector<ScriptStep>{Line("220 Ready"), {ScriptStep::Stall, ""}} << "anna" << -1 << "USER anna";
    QTest::newRow("server closes mid-reply")
        << std::vector<ScriptStep>{Line("220 Ready"), Read(), Send("331 Pass"), {ScriptStep::Close, ""}} << "anna" << -1
        << "USER anna";
    QTest::newRow("user name smuggling a command")
        << std::vector<ScriptStep>{Line("220 Ready")} << "anna\r\nDELE index.html" << -1 << "";
  }
  void connect() {
    QFETCH(std::vector<ScriptStep>, script);
    QFETCH(QString, user);
    QFETCH(int, expected);
    QFETCH(QString, commands);
    ftp::CurrentTuning().controlTimeoutMs = 500;
    ScriptServer server(script);
    QVERIFY(server.ok);
    int c = ftpConnect(server.HostAndPort().c_str(), user.toStdString().c_str(), "secret");
    if (expected == 1) {
      QVERIFY2(c > 0, qPrintable(QString::number(c)));
      close(c);
    } else {
      QCOMPARE(c, expected);
    }
    server.Join();
    QCOMPARE(QString::fromStdString(Joined(server.commands)), commands);
  }

  void unknownHostOrClosedPort_data() {
    QTest::addColumn<QString>("host");
    QTest::newRow("no such host") << "no-such-host.invalid";
    QTest::newRow("nothing listening") << "127.0.0.1:1";
    QTest::newRow("bad port") << "127.0.0.1:99999";
    QTest::newRow("empty host") << "";
  }
  void unknownHostOrClosedPort() {
    QFETCH(QString, host);
    QCOMPARE(ftpConnect(host.toStdString().c_str(), "anna", "secret"), -1);
  }

  void changeDir_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<std::vector<ScriptStep>>("replies");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("commands");
    std::vector<ScriptStep> good = {Read(), Line("250 OK"), Read(), {ScriptStep::Pasv, "127,0,0,1"}};
    QTest::newRow("backslashes") << "\\site\\pages\\" << good << 1 << "CWD site/pages/|PASV";
    QTest::newRow("one folder") << "site" << good << 1 << "CWD site|PASV";
    QTest::newRow("slashes around") << "/public_html/" << good << 1 << "CWD public_html|PASV";
    QTest::newRow("two levels") << "a/b" << good << 1 << "CWD a/b/|PASV";
    QTest::newRow("empty folder") << "" << good << 1 << "CWD |PASV";
    QTest::newRow("CWD refused") << "gone" << std::vector<ScriptStep>{Read(), Line("550 No such directory")} << 0
                                 << "CWD gone";
    QTest::newRow("PASV after CWD refused")
        << "site" << std::vector<ScriptStep>{Read(), Line("250 OK"), Read(), Line("425 Can't open")} << 0
        << "CWD site|PASV";
    QTest::newRow("multi-line CWD reply") << "site"
                                          << std::vector<ScriptStep>{Read(),
                                                                     Line("250-Welcome to site"),
                                                                     Line("250 OK"),
                                                                     Read(),
                                                                     {ScriptStep::Pasv, "127,0,0,1"}}
                                          << 1 << "CWD site|PASV";
    QTest::newRow("421 on CWD") << "site" << std::vector<ScriptStep>{Read(), Line("421 Closing")} << 0 << "CWD site";
    QTest::newRow("folder smuggling a command") << "site\nDELE x" << good << 0 << "";
  }
  void changeDir() {
    QFETCH(QString, folder);
    QFETCH(std::vector<ScriptStep>, replies);
    QFETCH(int, expected);
    QFETCH(QString, commands);
    ScriptServer server(Steps({kLogin, replies}));
    QVERIFY(server.ok);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    QCOMPARE(ftpChangeDir(c, folder.toStdString().c_str()), expected);
    close(c);
    server.Join();
    std::string all = Joined(server.commands);
    QString after = QString::fromStdString(all.substr(std::min(all.size(), std::string(kLoginCommands).size() + 1)));
    QCOMPARE(after, commands);
  }

  void putFileFailures_data() {
    QTest::addColumn<std::vector<ScriptStep>>("replies");
    QTest::addColumn<QString>("remote");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("commands");
    std::vector<ScriptStep> typeOk = {Read(), Line("200 Type set")};
    std::vector<ScriptStep> pasvOk = {Read(), {ScriptStep::Pasv, "127,0,0,1"}};
    auto upTo = [&](std::vector<ScriptStep> more) { return Steps({typeOk, pasvOk, {Read()}, more}); };
    QTest::newRow("local file missing") << std::vector<ScriptStep>{} << "a.html" << false << "Local File Not Found"
                                        << "";
    QTest::newRow("remote name smuggling a command")
        << std::vector<ScriptStep>{} << "a.html\r\nDELE b" << true << "Invalid remote file name."
        << "";
    QTest::newRow("PASV refused") << Steps({typeOk, {Read(), Line("500 No")}}) << "a.html" << true
                                  << "Could not open a binary connection."
                                  << "TYPE I|PASV";
    QTest::newRow("PASV without parentheses")
        << Steps({typeOk, {Read(), Line("227 Entering Passive Mode 127,0,0,1,4,1")}}) << "a.html" << true
        << "Could not open a binary connection."
        << "TYPE I|PASV";
    QTest::newRow("PASV numbers out of range")
        << Steps({typeOk, {Read(), Line("227 Entering Passive Mode (127,0,0,1,300,1)")}}) << "a.html" << true
        << "Could not open a binary connection."
        << "TYPE I|PASV";
    QTest::newRow("no data connection") << Steps({typeOk, {Read(), Line("227 Entering Passive Mode (127,0,0,1,0,1)")}})
                                        << "a.html" << true << "Could not open a binary connection."
                                        << "TYPE I|PASV";
    QTest::newRow("STOR refused") << upTo({Line("553 Permission denied.")}) << "a.html" << true
                                  << "553 Permission denied.*"
                                  << "TYPE I|PASV|STOR a.html";
    QTest::newRow("STOR 552") << upTo({Line("552 Quota exceeded")}) << "a.html" << true << "552 Quota exceeded*"
                              << "TYPE I|PASV|STOR a.html";
    QTest::newRow("STOR 421") << upTo({Line("421 Closing")}) << "a.html" << true << "421 Closing*"
                              << "TYPE I|PASV|STOR a.html";
    QTest::newRow("STOR refusal of 100 KB") << upTo({Send("553 " + std::string(100000, 'z') + "\r\n")}) << "a.html"
                                            << true << QString("553 ") + QString(65532, 'z') + "*"
                                            << "TYPE I|PASV|STOR a.html";
    QTest::newRow("final reply not 226") << upTo({Line("150 Go"), {ScriptStep::Accept, ""}, Line("451 Local error")})
                                         << "a.html" << true << "451 Local error"
                                         << "TYPE I|PASV|STOR a.html";
    QTest::newRow("server gone before the final reply")
        << upTo({Line("150 Go"), {ScriptStep::Accept, ""}, {ScriptStep::Close, ""}}) << "a.html" << true << ""
        << "TYPE I|PASV|STOR a.html";
    QTest::newRow("server stalls after STOR") << upTo({{ScriptStep::Stall, ""}}) << "a.html" << true << "*"
                                              << "TYPE I|PASV|STOR a.html";
  }
  void putFileFailures() {
    QFETCH(std::vector<ScriptStep>, replies);
    QFETCH(QString, remote);
    QFETCH(bool, fileExists);
    QFETCH(QString, status);
    QFETCH(QString, commands);
    ftp::CurrentTuning().controlTimeoutMs = 500;
    ScriptServer server(Steps({kLogin, replies}));
    QVERIFY(server.ok);
    std::string path = fileExists ? File(20000) : dir_.filePath("missing.html").toStdString();
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    std::vector<char> text(70000, 'x');
    QCOMPARE(FTPPUTFILE(c, "", 0, "", remote.toStdString().c_str(), path.c_str(), text.data(),
                        static_cast<int>(text.size())),
             0);
    QCOMPARE(QString::fromStdString(text.data()), status);
    close(c);
    server.Join();
    std::string all = Joined(server.commands);
    QCOMPARE(QString::fromStdString(all.substr(std::min(all.size(), std::string(kLoginCommands).size() + 1))),
             commands);
  }

  // The transfer is confirmed by 226 or 250; where the server tells the stored size it
  // must be the local file's.
  void putFileConfirmation_data() {
    QTest::addColumn<std::vector<ScriptStep>>("replies");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("commands");
    auto stored = [](const char* confirm, std::vector<ScriptStep> more) {
      return Steps({{Read(),
                     Line("200 Type set"),
                     Read(),
                     {ScriptStep::Pasv, "127,0,0,1"},
                     Read(),
                     Line("150 Go"),
                     {ScriptStep::Accept, ""},
                     Line(confirm)},
                    more});
    };
    QTest::newRow("226 and the same size") << stored("226 Done", {Read(), Line("213 20000")}) << 1 << "226 Done"
                                           << "TYPE I|PASV|STOR a.html|SIZE a.html";
    QTest::newRow("250 is a confirmation too")
        << stored("250 File stored", {Read(), Line("213 20000")}) << 1 << "250 File stored"
        << "TYPE I|PASV|STOR a.html|SIZE a.html";
    QTest::newRow("multi-line confirmation")
        << stored("226-Done", {Line("checked"), Line("226 OK"), Read(), Line("213 20000")}) << 1 << "226 OK"
        << "TYPE I|PASV|STOR a.html|SIZE a.html";
    QTest::newRow("server kept a short file")
        << stored("226 Done", {Read(), Line("213 8192")}) << 0 << "The server holds 8192 of the 20000 bytes sent."
        << "TYPE I|PASV|STOR a.html|SIZE a.html";
    QTest::newRow("server without SIZE") << stored("226 Done", {Read(), Line("502 Command not implemented")}) << 1
                                         << "226 Done"
                                         << "TYPE I|PASV|STOR a.html|SIZE a.html";
    QTest::newRow("SIZE answered with garbage") << stored("226 Done", {Read(), Line("213 lots")}) << 1 << "226 Done"
                                                << "TYPE I|PASV|STOR a.html|SIZE a.html";
  }
  void putFileConfirmation() {
    QFETCH(std::vector<ScriptStep>, replies);
    QFETCH(int, expected);
    QFETCH(QString, status);
    QFETCH(QString, commands);
    ScriptServer server(Steps({kLogin, replies}));
    QVERIFY(server.ok);
    std::string path = File(20000);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    char text[256];
    QCOMPARE(FTPPUTFILE(c, "", 0, "", "a.html", path.c_str(), text, sizeof text), expected);
    QCOMPARE(QString(text), status);
    close(c);
    server.Join();
    std::string all = Joined(server.commands);
    QCOMPARE(QString::fromStdString(all.substr(std::string(kLoginCommands).size() + 1)), commands);
  }

  void serverWithoutSizeIsNotAskedAgain() {
    std::vector<ScriptStep> upload = {
        Read(),         Line("200 Type set"),     Read(),          {ScriptStep::Pasv, "127,0,0,1"}, Read(),
        Line("150 Go"), {ScriptStep::Accept, ""}, Line("226 Done")};
    ScriptServer server(Steps({kLogin, upload, {Read(), Line("500 Unknown command")}, upload}));
    QVERIFY(server.ok);
    std::string path = File(100);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    char text[256];
    QCOMPARE(FTPPUTFILE(c, "", 0, "", "a.html", path.c_str(), text, sizeof text), 1);
    QCOMPARE(FTPPUTFILE(c, "", 0, "", "b.html", path.c_str(), text, sizeof text), 1);
    close(c);
    server.Join();
    QCOMPARE(Joined(server.commands),
             std::string(kLoginCommands) + "|TYPE I|PASV|STOR a.html|SIZE a.html|TYPE I|PASV|STOR b.html");
  }

  // Waiting for the server is bounded for a whole run, also when each line of a reply
  // comes just inside the per-reply time-out.
  void runBudgetEndsATricklingReply() {
    ftp::CurrentTuning().controlTimeoutMs = 3000;
    ScriptServer server({Line("220-Welcome"), {ScriptStep::Trickle, "still here"}});
    QVERIFY(server.ok);
    ftp::RunControl control;
    control.budgetMs = 400;
    QElapsedTimer clock;
    clock.start();
    int c;
    {
      ftp::RunScope scope(control);
      c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    }
    QCOMPARE(c, -1);
    QVERIFY(control.outOfTime);
    QVERIFY2(clock.elapsed() < 1500, qPrintable(QString::number(clock.elapsed())));
  }

  // A cancel from another thread ends a wait on a silent server at once.
  void cancelEndsAWait() {
    ftp::CurrentTuning().controlTimeoutMs = 10000;
    ScriptServer server({{ScriptStep::Stall, ""}});
    QVERIFY(server.ok);
    ftp::RunControl control;
    std::thread canceller([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      control.cancel = true;
    });
    QElapsedTimer clock;
    clock.start();
    int c;
    {
      ftp::RunScope scope(control);
      c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    }
    canceller.join();
    QCOMPARE(c, -1);
    QVERIFY(control.cancelled);
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
  }

  // A swap that has begun ends even when the run's time runs out meanwhile (a cancel
  // is the same): the live page was moved aside and must get a page back under its name.
  void swapUnderWayEndsAfterAStop() {
    const std::string slowReply = "250 Moved aside" + std::string(400, ' ') + "\r\n";  // a byte a millisecond
    ScriptServer server(Steps({kLogin,
                               {Read(),
                                Line("350 Ready"),
                                Read(),
                                Line("553 File exists"),
                                Read(),
                                Line("213 5"),
                                Read(),
                                Line("350 Ready"),
                                Read(),
                                {ScriptStep::Dribble, slowReply},
                                Read(),
                                Line("350 Ready"),
                                Read(),
                                Line("250 Renamed"),
                                Read(),
                                Line("250 Deleted")}}));
    QVERIFY(server.ok);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    ftp::RunControl control;
    control.budgetMs = 100;
    bool renamed = false;
    {
      ftp::RunScope scope(control);
      renamed = ftp::RenameRemote(c, ".a.html.part", "a.html");
    }
    close(c);
    server.Join();
    QVERIFY(renamed);
    QCOMPARE(Joined(server.commands), std::string(kLoginCommands) +
                                          "|RNFR .a.html.part|RNTO a.html|SIZE a.html|RNFR a.html|RNTO .a.html.old"
                                          "|RNFR .a.html.part|RNTO a.html|DELE .a.html.old");
    QVERIFY(control.waitedMs >= control.budgetMs);  // the budget was spent during the swap
  }

  void failureCauses_data() {
    QTest::addColumn<std::vector<ScriptStep>>("script");
    QTest::addColumn<QString>("host");  // "" = the scripted server
    QTest::addColumn<QString>("cause");
    QTest::newRow("wrong password") << std::vector<ScriptStep>{Line("220 Ready"), Read(), Line("331 Password"), Read(),
                                                               Line("530 Login incorrect.")}
                                    << ""
                                    << "530 Login incorrect.";
    QTest::newRow("greeting refused") << std::vector<ScriptStep>{Line("421 Too many users")} << ""
                                      << "421 Too many users";
    QTest::newRow("silent server") << std::vector<ScriptStep>{{ScriptStep::Stall, ""}} << ""
                                   << "no answer within 1 s";
    QTest::newRow("server hangs up") << std::vector<ScriptStep>{{ScriptStep::Close, ""}} << ""
                                     << "the server closed the connection";
    QTest::newRow("unknown host") << std::vector<ScriptStep>{} << "no-such-host.invalid"
                                  << "host name not found";
    QTest::newRow("nothing listening") << std::vector<ScriptStep>{} << "127.0.0.1:1"
                                       << "connection refused";
    QTest::newRow("bad port") << std::vector<ScriptStep>{} << "127.0.0.1:99999"
                              << "invalid port number";
  }
  void failureCauses() {
    QFETCH(std::vector<ScriptStep>, script);
    QFETCH(QString, host);
    QFETCH(QString, cause);
    ftp::CurrentTuning().controlTimeoutMs = 300;
    std::unique_ptr<ScriptServer> server;
    std::string address = host.toStdString();
    if (address.empty()) {
      server = std::make_unique<ScriptServer>(script);
      address = server->HostAndPort();
    }
    QVERIFY(ftpConnect(address.c_str(), "anna", "secret") <= 0);
    QCOMPARE(QString::fromStdString(ftp::LastCause()), cause);
  }

  void statusIsCutToItsBuffer() {
    char status[8];
    QCOMPARE(FTPPUTFILE(5, "", 0, "", "a.html", "/nonexistent/x", status, sizeof status), 0);
    QCOMPARE(std::string(status), std::string("Local F"));
  }

  void dataGoesToTheControlPeer() {
    // The announced 10.0.0.5 is not used; the port from the reply (4 * 256 + 1) is.
    ScriptServer server(Steps({kLogin,
                               {Read(),
                                Line("200 Type set"),
                                Read(),
                                {ScriptStep::Pasv, "10,0,0,5"},
                                Read(),
                                Line("150 Go"),
                                {ScriptStep::Accept, ""},
                                Line("226 Done"),
                                Read(),
                                Line("213 3000")}}),
                        1025);
    if (!server.ok) QSKIP("port 1025 is taken on this machine");
    QCOMPARE(server.dataPortInUse, 1025);
    std::string path = File(3000);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    char status[64];
    QCOMPARE(FTPPUTFILE(c, "", 0, "", "a.html", path.c_str(), status, sizeof status), 1);
    close(c);
    server.Join();
    QVERIFY(server.dataAccepted);
    QVERIFY(server.data == Bytes(3000));
  }

  void stalledDataConnectionIsResetNotClosed() {
    ftp::CurrentTuning().dataTimeoutMs = 200;
    ScriptServer server(Steps({kLogin,
                               {Read(),
                                Line("200 Type set"),
                                Read(),
                                {ScriptStep::Pasv, "127,0,0,1"},
                                Read(),
                                Line("150 Go"),
                                {ScriptStep::Hold, ""},
                                Read(),
                                Line("221 Bye"),
                                {ScriptStep::Drain, ""}}}),
                        0, 4096);
    QVERIFY(server.ok);
    std::string path = File(16 * 1024 * 1024);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    char status[64];
    QCOMPARE(FTPPUTFILE(c, "", 0, "", "a.html", path.c_str(), status, sizeof status), 0);
    QCOMPARE(std::string(status), std::string("could not write to socket."));
    ftpQuit(c);
    server.Join();
    QVERIFY(server.dataReset);  // the server must not keep the cut file as complete
    QVERIFY(server.data.size() < 16u * 1024 * 1024);
  }

  void quitReadsTheWholeReply() {
    ScriptServer server(Steps({kLogin, {Read(), Line("221-Goodbye"), Line("221 See you")}}));
    QVERIFY(server.ok);
    int c = ftpConnect(server.HostAndPort().c_str(), "anna", "secret");
    QVERIFY(c > 0);
    ftpQuit(c);
    server.Join();
    QCOMPARE(server.commands.back(), std::string("QUIT"));
  }

  void replyCodes_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("fourCharCode");
    QTest::addColumn<bool>("continued");
    QTest::newRow("continued greeting") << "220-Welcome" << 220 << 220 << true;
    QTest::newRow("password") << "331 Password required" << 331 << 331 << false;
    QTest::newRow("refused") << "530 Login incorrect." << 530 << 530 << false;
    QTest::newRow("empty") << "" << 0 << 0 << false;
    QTest::newRow("text") << "This is a test server" << 0 << 0 << false;
    QTest::newRow("spaces around") << "  250 OK" << 250 << 25 << false;
    QTest::newRow("passive continued") << "227-" << 227 << 227 << true;
  }
  void replyCodes() {
    QFETCH(QString, line);
    QFETCH(int, code);
    QFETCH(int, fourCharCode);
    QFETCH(bool, continued);
    std::string l = line.toStdString();
    QCOMPARE(ftp::ftpReplyCode(l), code);
    QCOMPARE(ftp::FourCharCode(l), fourCharCode);
    QCOMPARE(ftp::HasContinuationMark(l), continued);
  }

  void passivePorts_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("port");  // 0 = refused
    QTest::newRow("usual") << "227 Entering Passive Mode (192,168,1,2,19,137)." << 5001;
    QTest::newRow("spaces") << "227 Entering Passive Mode ( 10, 0, 0, 5, 4, 1 )" << 1025;
    QTest::newRow("no parentheses") << "227 Entering Passive Mode 10,0,0,5,4,1" << 0;
    QTest::newRow("five numbers") << "227 (10,0,0,5,4)" << 0;
    QTest::newRow("port number too big") << "227 (10,0,0,5,256,1)" << 0;
    QTest::newRow("negative") << "227 (10,0,0,5,-4,1)" << 0;
    QTest::newRow("host number too big") << "227 (10,0,0,999,4,1)" << 0;
    QTest::newRow("port zero") << "227 (10,0,0,5,0,0)" << 0;
    QTest::newRow("letters") << "227 (a,b,c,d,e,f)" << 0;
  }
  void passivePorts() {
    QFETCH(QString, line);
    QFETCH(int, port);
    int got = 0;
    bool ok = ftp::PassivePort(line.toStdString(), got);
    QCOMPARE(ok ? got : 0, port);
  }

  void routinesAreExportedByName() {
    QProcess nm;
    nm.start("nm", {"-D", "--defined-only", QString::fromStdString(BuiltProgram("verosta"))});
    QVERIFY(nm.waitForFinished(30000));
    QString symbols = QString::fromUtf8(nm.readAllStandardOutput());
    for (const char* name : {"ftpConnect", "ftpChangeDir", "FTPPUTFILE", "ftpQuit", "ftpSetBinary"})
      QVERIFY2(symbols.contains(QRegularExpression(QString(" T %1\\n").arg(name))), name);
  }
};

QTEST_MAIN(FtpClientTest)
#include "test_ftp_client.moc"
