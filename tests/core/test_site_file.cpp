// The site file: what it says, where it is found, and that what is written reads back the same.
#include <QTemporaryDir>
#include <QTest>

#include "core/files.h"
#include "core/site_file.h"

class SiteFileTest : public QObject {
  Q_OBJECT
 private slots:
  void readsKeysInAnyCaseAndKeepsWhatItDoesNotKnow() {
    core::SiteFile s = core::ParseSiteFile(
        "name  My bakery \r\nPROFILE bakery\r\nLang de\r\nBase style 0\r\nAlways publish files/*.pdf\r\n"
        "Always publish robots.txt\r\nExclude drafts/\r\nColour scheme warm\r\nNamesake x\r\n");
    QCOMPARE(s.name, std::string("My bakery"));
    QCOMPARE(s.profile, std::string("bakery"));
    QCOMPARE(s.lang, std::string("de"));
    QVERIFY(!s.baseStyle);
    QCOMPARE(s.alwaysPublish, (std::vector<std::string>{"files/*.pdf", "robots.txt"}));
    QCOMPARE(s.exclude, (std::vector<std::string>{"drafts/"}));  // given patterns replace the defaults
    QCOMPARE(s.otherLines, (std::vector<std::string>{"Colour scheme warm", "Namesake x"}));
    QCOMPARE(core::ParseSiteFile(core::SiteFileText(s)).otherLines, s.otherLines);

    core::SiteFile defaults = core::ParseSiteFile("");
    QCOMPARE(defaults.lang, std::string("en"));
    QCOMPARE(defaults.exclude, (std::vector<std::string>{".git/", "*.bak", "*~"}));
    core::SiteFile none;
    none.exclude.clear();
    QVERIFY(core::ParseSiteFile(core::SiteFileText(none)).exclude.empty());
  }

  void siteFolderIsTheNearestHoldingASiteFile() {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    QVERIFY(QDir().mkpath(dir.filePath("site/pages/deep")));
    QCOMPARE(core::SiteFolderOf(root + "/site/pages/deep/a.web"), root + "/site/pages/deep");
    core::SiteFile s;
    s.name = "Bakery";
    QVERIFY(core::WriteSiteFile(root + "/site", s));
    QCOMPARE(core::SiteFolderOf(root + "/site/pages/deep/a.web"), root + "/site");
    QCOMPARE(core::SiteFolderOf(root + "/site/index.web"), root + "/site");
    QVERIFY(core::WriteSiteFile(root + "/site/pages", s));
    QCOMPARE(core::SiteFolderOf(root + "/site/pages/deep/a.web"), root + "/site/pages");
    core::SiteFile back;
    QVERIFY(core::ReadSiteFile(root + "/site", back));
    QCOMPARE(back.name, std::string("Bakery"));
  }
};

QTEST_GUILESS_MAIN(SiteFileTest)
#include "test_site_file.moc"
