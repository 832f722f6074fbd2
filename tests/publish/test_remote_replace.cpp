// Putting a new file in place of the live one on servers that refuse to rename onto an
// existing name, step by step against a server kept in memory.
#include <QTest>
#include <map>
#include <set>

#include "publish/remote_replace.h"

namespace {

// A server in memory: files by name, and what it refuses.
struct FakeServer : RemoteFiles {
  std::map<std::string, std::string> files;
  QString rules;  // "over": renames onto existing names; "stuck": .a.part cannot be renamed, "noback":
                  // .a.old neither; "silent": the rename to .a.old gets no answer (but happens);
                  // "nosize": cannot tell whether a file exists; "stopped": the run was cancelled
  QStringList log;
  std::string cause;

  Renamed Rename(const std::string& from, const std::string& to) override {
    log << QString::fromStdString("rename " + from + " " + to);
    bool stuck = (rules.contains("stuck") && from == ".a.part") || (rules.contains("noback") && from == ".a.old");
    if (!files.count(from) || stuck || (files.count(to) && !rules.contains("over"))) {
      cause = "553 Rename refused.";
      return Renamed::Refused;
    }
    files[to] = files[from];
    files.erase(from);
    if (rules.contains("silent") && to == ".a.old") {
      cause = "no answer within 1 s";
      return Renamed::Failed;
    }
    return Renamed::Done;
  }
  Presence Exists(const std::string& path) override {
    log << QString::fromStdString("exists " + path);
    if (rules.contains("nosize")) return Presence::Unknown;
    return files.count(path) ? Presence::Yes : Presence::No;
  }
  bool Delete(const std::string& path) override {
    log << QString::fromStdString("delete " + path);
    return files.erase(path) > 0;
  }
  void MustFinish(bool on) override { log << (on ? "[" : "]"); }
  bool Stopped() override { return rules.contains("stopped"); }
  std::string Cause() override { return cause; }
};

// "a=live .a.part=new" <-> the files.
std::map<std::string, std::string> Files(const QString& text) {
  std::map<std::string, std::string> files;
  for (const QString& pair : text.split(' ', Qt::SkipEmptyParts))
    files[pair.section('=', 0, 0).toStdString()] = pair.section('=', 1).toStdString();
  return files;
}

}  // namespace

class RemoteReplaceTest : public QObject {
  Q_OBJECT
 private slots:
  void asideNames() {
    QCOMPARE(AsideRemoteName("index.html"), std::string(".index.html.old"));
    QCOMPARE(AsideRemoteName("pics/big/a.gif"), std::string("pics/big/.a.gif.old"));
  }

  void replace_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("rules");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("cause");  // "" when the new file is in place
    const QString both = "a=live .a.part=new";
    const QString swap = "rename .a.part a|exists a|[|rename a .a.old|rename .a.part a|delete .a.old|]";
    QTest::newRow("renamed over") << both << "over"
                                  << "rename .a.part a"
                                  << "a=new"
                                  << "";
    QTest::newRow("live file moved aside") << both << "" << swap << "a=new"
                                           << "";
    QTest::newRow("stale aside copy removed first")
        << both + " .a.old=stale"
        << ""
        << "rename .a.part a|exists a|[|rename a .a.old|delete .a.old|rename a .a.old|rename .a.part a|delete .a.old|]"
        << "a=new"
        << "";
    QTest::newRow("new file cannot be renamed in: the old one is put back")
        << both << "stuck"
        << "rename .a.part a|exists a|[|rename a .a.old|rename .a.part a|rename .a.old a|]" << both
        << "553 Rename refused.";
    QTest::newRow("the old one cannot be put back either: the user is told where it is")
        << both << "stuck noback"
        << "rename .a.part a|exists a|[|rename a .a.old|rename .a.part a|rename .a.old a|]"
        << ".a.old=live .a.part=new"
        << "553 Rename refused.\rThe old file could not be put back; it is kept as .a.old.";
    QTest::newRow("no live file: the refusal stands") << ".a.part=new"
                                                      << "stuck"
                                                      << "rename .a.part a|exists a"
                                                      << ".a.part=new"
                                                      << "553 Rename refused.";
    QTest::newRow("server cannot tell: an aside copy is never deleted")
        << both + " .a.old=stale"
        << "nosize"
        << "rename .a.part a|exists a|[|rename a .a.old|]" << both + " .a.old=stale"
        << "553 Rename refused.";
    QTest::newRow("no answer to the move aside: moved back")
        << both << "silent"
        << "rename .a.part a|exists a|[|rename a .a.old|rename .a.old a|]" << both << "no answer within 1 s";
    QTest::newRow("cancelled before the swap") << both << "stopped"
                                               << "rename .a.part a" << both << "553 Rename refused.";
  }
  void replace() {
    QFETCH(QString, before);
    QFETCH(QString, rules);
    QFETCH(QString, steps);
    QFETCH(QString, after);
    QFETCH(QString, cause);
    FakeServer server;
    server.files = Files(before);
    server.rules = rules;
    QCOMPARE(QString::fromStdString(ReplaceRemoteFile(server, ".a.part", "a")), cause);
    QCOMPARE(server.log.join('|'), steps);
    QVERIFY(server.files == Files(after));
  }
};

QTEST_MAIN(RemoteReplaceTest)
#include "test_remote_replace.moc"
