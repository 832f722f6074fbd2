// One editor per settings folder: a later `verosta FILE` hands its files to the running editor.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "documents/document_table.h"
#include "support/fixture.h"

namespace {

// The test plays the running editor; a real `verosta` started with the same settings folder
// and runtime folder is the later start.
struct TwoEditors {
  EditorFixture first;
  QTemporaryDir runtime, other;
  std::string socket;
  InstanceServer server{[this](const std::vector<std::string>& files) {
    ++handOvers;
    OpenHandedFiles(*first.app, files);
  }};
  int handOvers = 0;
  QProcess later;

  TwoEditors() {
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    first.Start();
    // The later start's configuration folder, which names the socket it looks for.
    QDir().mkpath(other.filePath("config/verosta"));
    socket = InstanceSocketFor(other.filePath("config/verosta").toStdString());
  }
  void StartLater(const QStringList& args, const QString& workingFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("VEROSTA_HOME", QString::fromStdString(first.Folder()));
    env.insert("HOME", other.path());
    env.insert("XDG_CONFIG_HOME", other.filePath("config"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    later.setProcessEnvironment(env);
    later.setWorkingDirectory(workingFolder);
    later.start(QString::fromStdString(BuiltProgram("verosta")), args);
  }
  ~TwoEditors() {
    if (later.state() != QProcess::NotRunning) {
      later.kill();
      later.waitForFinished(10000);
    }
  }
};

// A socket file with nobody listening, as an editor that crashed leaves it.
void LeaveStaleSocket(const std::string& path) {
  int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
  QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);
}

bool RecentListNames(const QString& root, const std::string& path) {
  QDirIterator it(root, {"Recent.ini"}, QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext())
    if (ReadAll(it.next().toStdString()).find(path) != std::string::npos) return true;
  return false;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private slots:
  void handOverMessage_data() {
    QTest::addColumn<QStringList>("files");
    QTest::newRow("none") << QStringList{};
    QTest::newRow("two") << QStringList{"/home/ann/a.web", "/home/ann/my site/b.html"};
    QTest::newRow("odd names") << QStringList{"/tmp/line\nbreak.web", "/tmp/caf\u00e9.css", "/tmp/-x"};
  }
  void handOverMessage() {
    QFETCH(QStringList, files);
    std::vector<std::string> sent, got{"stale"};
    for (const QString& f : files) sent.push_back(f.toStdString());
    const QByteArray message = HandOverMessage(sent);
    // Bytes arrive in pieces: no piece short of the whole reads as a message.
    for (qsizetype n = 0; n < message.size(); ++n) QVERIFY(!ReadHandOverMessage(message.left(n), got));
    QVERIFY(ReadHandOverMessage(message, got));
    QCOMPARE(got, sent);
  }

  void socketNames() {
    const std::string a = InstanceSocketPath("/run/user/1000", "/tmp", 1000, "/home/ann/.config/verosta");
    QVERIFY(a.rfind("/run/user/1000/verosta-", 0) == 0);
    QCOMPARE(InstanceSocketPath("/run/user/1000", "/tmp", 1000, "/home/ann/.config/verosta"), a);
    QVERIFY(InstanceSocketPath("/run/user/1000", "/tmp", 1000, "/home/ann/portable/config") != a);
    QVERIFY(InstanceSocketPath("", "/tmp", 1000, "/x").rfind("/tmp/verosta-1000-", 0) == 0);
    QVERIFY(InstanceSocketPath("", "/tmp", 1001, "/x") != InstanceSocketPath("", "/tmp", 1000, "/x"));
    // Within the length a socket name may have, however deep the settings folder.
    QVERIFY(InstanceSocketPath("/run/user/1000", "/tmp", 1000, std::string(300, 'a')).size() < 60);
  }

  // `cd elsewhere && verosta sub/b.web` while an editor runs: the running one opens the file
  // by its full name and the later start ends.
  void laterStartHandsItsFilesToTheFirst() {
    TwoEditors e;
    QVERIFY(e.server.Listen(e.socket));
    e.first.WriteFile("elsewhere/sub/b.web", "B");
    e.StartLater({"sub/b.web"}, QString::fromStdString(e.first.Path("elsewhere")));
    QTRY_VERIFY_WITH_TIMEOUT(e.later.state() == QProcess::NotRunning, 60000);
    QCOMPARE(e.later.exitStatus(), QProcess::NormalExit);
    QCOMPARE(e.later.exitCode(), 0);
    QCOMPARE(e.handOvers, 1);
    QVERIFY(IsDocumentOpen(*e.first.app, e.first.Path("elsewhere/sub/b.web")));
    QCOMPARE(e.first.app->currentPath, e.first.Path("elsewhere/sub/b.web"));
    QVERIFY2(e.first.platform.Done(), e.first.platform.Pending().c_str());
  }

  // --new-instance opens a window of its own: the file opens there (it enters that editor's
  // Recent Files list) and the running editor is not asked.
  void newInstanceStartsItsOwnEditor() {
    TwoEditors e;
    QVERIFY(e.server.Listen(e.socket));
    e.first.WriteFile("c.web", "C");
    e.StartLater({"--new-instance", "c.web"}, QString::fromStdString(e.first.Folder()));
    const QStringList roots{QString::fromStdString(e.first.Folder()), e.other.path()};
    QTRY_VERIFY_WITH_TIMEOUT(RecentListNames(roots[0], e.first.Path("c.web")) ||
                                 RecentListNames(roots[1], e.first.Path("c.web")) ||
                                 e.later.state() == QProcess::NotRunning,
                             60000);
    QCOMPARE(e.later.state(), QProcess::Running);
    QCOMPARE(e.handOvers, 0);
    QVERIFY(!IsDocumentOpen(*e.first.app, e.first.Path("c.web")));
  }

  // An editor that crashed left its socket: the next start does not hand over to it, takes
  // its place and serves the starts after it.
  void staleSocketIsReplaced() {
    TwoEditors e;
    LeaveStaleSocket(e.socket);
    QVERIFY(QFileInfo::exists(QString::fromStdString(e.socket)));
    QVERIFY(!HandOverOrListen(e.server, e.socket, {}));
    e.first.WriteFile("d.web", "D");
    std::atomic<int> taken{-1};
    std::thread later([&] { taken = HandFilesToRunningEditor(e.socket, {e.first.Path("d.web")}) ? 1 : 0; });
    QTRY_VERIFY_WITH_TIMEOUT(taken != -1, 30000);
    later.join();
    QCOMPARE(taken.load(), 1);
    QTRY_VERIFY(IsDocumentOpen(*e.first.app, e.first.Path("d.web")));
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "test_single_instance.moc"
