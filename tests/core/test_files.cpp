#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

#include "core/files.h"

class FilesTest : public QObject {
  Q_OBJECT
 private slots:
  void roundTripKeepsEveryByte() {
    QTemporaryDir dir;
    std::string path = dir.filePath("a.bin").toStdString();
    std::string bytes("x\0y\r\n\x1a\xff", 7);
    QVERIFY(core::WriteFileAtomically(path, bytes));
    std::string back;
    QVERIFY(core::ReadFileBytes(path, back));
    QCOMPARE(back, bytes);
  }

  void fullDiskKeepsOldFile() {
    // Runs itself again inside a private mount namespace with a 64 KiB tmpfs.
    QByteArray inside = qgetenv("VEROSTA_FULL_DISK");
    if (inside.isEmpty()) {
      QTemporaryDir dir;
      QProcess p;
      QString mnt = dir.filePath("mnt");
      QDir().mkpath(mnt);
      QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
      env.insert("VEROSTA_FULL_DISK", mnt);
      p.setProcessEnvironment(env);
      p.start("unshare", {"-rm", "sh", "-c",
                          "mount -t tmpfs -o size=64k none \"$VEROSTA_FULL_DISK\" && exec \"$0\" fullDiskKeepsOldFile",
                          QCoreApplication::applicationFilePath()});
      QVERIFY(p.waitForFinished(60000));
      QVERIFY2(p.exitCode() == 0, p.readAllStandardOutput().constData());
      return;
    }
    std::string path = inside.toStdString() + "/f.txt";
    QVERIFY(core::WriteFileAtomically(path, "old"));
    std::string error;
    QVERIFY(!core::WriteFileAtomically(path, std::string(200000, 'x'), &error));
    QVERIFY(!error.empty());
    std::string back;
    QVERIFY(core::ReadFileBytes(path, back));
    QCOMPARE(back, std::string("old"));
    QCOMPARE(QDir(QString::fromLocal8Bit(inside)).entryList(QDir::Files | QDir::Hidden).size(), 1);
  }

  void unwritableFolderKeepsOldFile() {
    // As root every folder is writable: the check runs as an unprivileged user then.
    QByteArray inside = qgetenv("VEROSTA_RO_FOLDER");
    if (inside.isEmpty()) {
      QTemporaryDir dir;
      QDir(dir.path()).mkdir("ro");
      std::string folder = dir.filePath("ro").toStdString();
      QVERIFY(core::WriteFileAtomically(folder + "/f.txt", "old"));
      ::chmod(folder.c_str(), 0555);
      ::chmod(dir.path().toLocal8Bit().constData(), 0755);
      if (::geteuid() != 0) {
        std::string error;
        QVERIFY(!core::WriteFileAtomically(folder + "/f.txt", "new", &error));
        QCOMPARE(QString::fromStdString(error).contains("f.txt"), true);
      } else {
        // The test binary must be reachable by nobody; copy it into the open folder.
        QString copy = dir.filePath("t");
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), copy));
        ::chmod(copy.toLocal8Bit().constData(), 0755);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("VEROSTA_RO_FOLDER", QString::fromStdString(folder));
        p.setProcessEnvironment(env);
        p.start("setpriv",
                {"--reuid=nobody", "--regid=nogroup", "--clear-groups", copy, "unwritableFolderKeepsOldFile"});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardOutput().constData());
      }
      std::string back;
      QVERIFY(core::ReadFileBytes(folder + "/f.txt", back));
      QCOMPARE(back, std::string("old"));
      ::chmod(folder.c_str(), 0755);
      return;
    }
    std::string error;
    QVERIFY(!core::WriteFileAtomically(inside.toStdString() + "/f.txt", "new", &error));
  }

  void keepsPermissionsOfExistingFile() {
    QTemporaryDir dir;
    std::string path = dir.filePath("secret.ini").toStdString();
    QVERIFY(core::WriteFileAtomically(path, "a", nullptr, 0600));
    struct stat st {};
    ::stat(path.c_str(), &st);
    QCOMPARE(int(st.st_mode & 0777), 0600);
    QVERIFY(core::WriteFileAtomically(path, "b"));
    ::stat(path.c_str(), &st);
    QCOMPARE(int(st.st_mode & 0777), 0600);
  }

  // Links are written through to their target, whether it exists or not; the link stays.
  void writesThroughLinks_data() {
    QTest::addColumn<QString>("link");    // name of the document path, a link
    QTest::addColumn<QString>("target");  // what the link holds
    QTest::addColumn<QString>("lands");   // file that must receive the bytes
    QTest::addColumn<bool>("existing");   // does the target exist before the write
    QTest::newRow("to an existing file") << "doc.web"
                                         << "real/doc.web"
                                         << "real/doc.web" << true;
    QTest::newRow("dangling, relative") << "doc.web"
                                        << "real/new.web"
                                        << "real/new.web" << false;
    QTest::newRow("dangling, absolute") << "doc.web"
                                        << "@/real/abs.web"
                                        << "real/abs.web" << false;
    QTest::newRow("dangling, relative to the link's folder") << "sub/doc.web"
                                                             << "../real/up.web"
                                                             << "real/up.web" << false;
    QTest::newRow("chain of two links") << "doc.web"
                                        << "hop.web"
                                        << "real/end.web" << false;
  }
  void writesThroughLinks() {
    QFETCH(QString, link);
    QFETCH(QString, target);
    QFETCH(QString, lands);
    QFETCH(bool, existing);
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("real");
    QDir(dir.path()).mkpath("sub");
    auto at = [&](const QString& name) { return dir.filePath(name).toStdString(); };
    std::string held =
        target.startsWith('@') ? dir.path().toStdString() + target.mid(1).toStdString() : target.toStdString();
    QVERIFY(::symlink(held.c_str(), at(link).c_str()) == 0);
    if (target == "hop.web") QVERIFY(::symlink("real/end.web", at("hop.web").c_str()) == 0);
    if (existing) QVERIFY(core::WriteFileAtomically(at(lands), "old"));
    QCOMPARE(QDir::cleanPath(QString::fromStdString(core::ResolveWriteTarget(at(link)))),
             QString::fromStdString(at(lands)));
    QVERIFY(core::WriteFileAtomically(at(link), "new"));
    struct stat st {};
    QVERIFY(::lstat(at(link).c_str(), &st) == 0);
    QVERIFY(S_ISLNK(st.st_mode));
    std::string back;
    QVERIFY(core::ReadFileBytes(at(lands), back));
    QCOMPARE(back, std::string("new"));
  }

  void linkLoopIsWrittenOverNotFollowedForever() {
    QTemporaryDir dir;
    std::string a = dir.filePath("a").toStdString(), b = dir.filePath("b").toStdString();
    QVERIFY(::symlink(b.c_str(), a.c_str()) == 0);
    QVERIFY(::symlink(a.c_str(), b.c_str()) == 0);
    QCOMPARE(core::ResolveWriteTarget(a), a);
  }

  // Temporary files of an interrupted write go at the next write of the same file only.
  void staleTemporariesAreRemoved() {
    QTemporaryDir dir;
    const QStringList stale = {".page.web.Ab3xY9", ".page.web.000000"};
    const QStringList kept = {".page.web.short", ".page.web.Ab3xY9x", ".other.web.Ab3xY9", "page.web.Ab3xY9",
                              ".page.web.Ab-xY9"};
    for (const QString& n : stale + kept) QVERIFY(core::WriteFileAtomically(dir.filePath(n).toStdString(), "t"));
    QDir(dir.path()).mkdir(".page.web.dirXYZ");
    QVERIFY(core::WriteFileAtomically(dir.filePath("page.web").toStdString(), "page"));
    QStringList left = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& n : stale) QVERIFY2(!left.contains(n), qPrintable(n));
    for (const QString& n : kept + QStringList{"page.web", ".page.web.dirXYZ"})
      QVERIFY2(left.contains(n), qPrintable(n));
    QCOMPARE(left.size(), kept.size() + 2);
  }

  void unreadableFileReportsError() {
    std::string bytes = "keep";
    std::string error;
    QVERIFY(!core::ReadFileBytes("/nonexistent/file", bytes, &error));
    QCOMPARE(bytes, std::string("keep"));
    QVERIFY(!error.empty());
    QVERIFY(!core::ReadFileBytes("/tmp", bytes));
  }
};

QTEST_GUILESS_MAIN(FilesTest)
#include "test_files.moc"
