// Which paths are the editor's own files: by name, by place, through links, by content.
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

#include "core/own_files.h"
#include "support/fixture.h"

class OwnFilesTest : public QObject {
  Q_OBJECT
 private slots:
  void names_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("own");
    for (const char* own :
         {"Verosta.ini", "FtpProjs.ini", "FtpTrust.ini", "Recent.ini", "Cname.ini", "Final.ini", "delete.ini",
          "Block.ini", "FTPPROJS.INI", "ftpprojs.ini", "FtpProjs-my_site.manifest", "Verosta.ini.damaged",
          "FtpProjs.ini.damaged", ".FtpProjs.ini.a1B2c3", ".FtpProjs-x.manifest.Zz9yy8"})
      QTest::newRow(own) << own << true;
    for (const char* other : {"index.html", "site.ini", "FtpProjs.ini.txt", "MyFtpProjs.ini", "x.manifest",
                              ".FtpProjs.ini.abc", ".FtpProjs.ini.a1b2c3d", "Verosta.web", "damaged.html"})
      QTest::newRow(other) << other << false;
  }
  void names() {
    QFETCH(QString, name);
    QFETCH(bool, own);
    QCOMPARE(core::IsEditorsOwnName(name.toStdString()), own);
  }

  void paths_data() {
    QTest::addColumn<QString>("path");  // relative to a scratch folder holding site/ and config/
    QTest::addColumn<bool>("own");
    QTest::newRow("ordinary page") << "site/index.html" << false;
    QTest::newRow("old copy in the site") << "site/FtpProjs.ini" << true;
    QTest::newRow("anything in the configuration folder") << "config/Sessions/site.xml" << true;
    QTest::newRow("the configuration folder through a climb") << "site/../config/notes.txt" << true;
    QTest::newRow("link under an innocent name") << "site/notes.txt" << true;
    QTest::newRow("link into the configuration folder") << "site/pics" << true;
    QTest::newRow("saved profile under the user's name") << "site/mysite.ini" << true;
    QTest::newRow("ini without a password") << "site/colours.ini" << false;
    QTest::newRow("password line in a text file") << "site/readme.txt" << false;
    QTest::newRow("missing file") << "site/gone.html" << false;
  }
  void paths() {
    QFETCH(QString, path);
    QFETCH(bool, own);
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    WriteAll(root + "/site/index.html", "<p>x</p>");
    WriteAll(root + "/site/FtpProjs.ini", "Host name h\r\n");
    WriteAll(root + "/config/Sessions/site.xml", "File001 x\r\n");
    WriteAll(root + "/config/notes.txt", "n");
    WriteAll(root + "/elsewhere/Verosta.ini", "Font size 10\r\n");
    QVERIFY(::symlink((root + "/elsewhere/Verosta.ini").c_str(), (root + "/site/notes.txt").c_str()) == 0);
    QVERIFY(::symlink((root + "/config/Sessions").c_str(), (root + "/site/pics").c_str()) == 0);
    WriteAll(root + "/site/mysite.ini", "Domain name d\r\nHost name h\r\nUser id u\r\nPassword pw\r\n");
    WriteAll(root + "/site/colours.ini", "Back 255\r\n");
    WriteAll(root + "/site/readme.txt", "Password please\r\n");
    QCOMPARE(core::IsEditorsOwnFile(root + "/" + path.toStdString(), root + "/config"), own);
  }

  // Without a configuration folder only names, links and contents tell.
  void withoutConfigurationFolder() {
    QTemporaryDir dir;
    const std::string file = dir.filePath("Sessions/site.xml").toStdString();
    WriteAll(file, "File001 x\r\n");
    QVERIFY(!core::IsEditorsOwnFile(file));
    QVERIFY(core::IsEditorsOwnFile(dir.filePath("Recent.ini").toStdString()));
  }
};

QTEST_GUILESS_MAIN(OwnFilesTest)
#include "test_own_files.moc"
