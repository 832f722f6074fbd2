// The files that go up with a page: the references in its tags, their paths inside the
// site, the whole set for a page on disk, and the manifest of what the server holds.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "publish/page_files.h"
#include "support/fixture.h"

namespace {
QString Joined(const std::vector<std::string>& parts) {
  QStringList l;
  for (const auto& p : parts) l << QString::fromStdString(p);
  return l.join("|");
}
}  // namespace

class PageFilesTest : public QObject {
  Q_OBJECT

 private slots:
  void references_data() {
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("references");
    QTest::newRow("picture, style sheet, script")
        << "<img src=\"pics/a.gif\"><link rel=stylesheet href='css/site.css'><script src=js/x.js></script>"
        << "pics/a.gif|css/site.css|js/x.js";
    QTest::newRow("media and their sources")
        << "<video poster=p.jpg src=v.mp4><source src=\"v.webm\"><track src=t.vtt></video><audio src=s.ogg>"
        << "p.jpg|v.mp4|v.webm|t.vtt|s.ogg";
    QTest::newRow("links, objects, backgrounds, input images")
        << "<a href=\"about.html#top\">x</a><object data=f.swf></object><body background=bg.png>"
           "<input type=image src=go.png><embed src=e.svg><iframe src=frame.html>"
        << "about.html#top|f.swf|bg.png|go.png|e.svg|frame.html";
    QTest::newRow("upper case and blanks around equals") << "<IMG SRC = \"A.GIF\" ALT='x'>"
                                                         << "A.GIF";
    QTest::newRow("srcset candidates") << "<img srcset=\"s.png 1x, big%20one.png 2x\">"
                                       << "s.png|big%20one.png";
    QTest::newRow("ampersand entity in a query") << "<img src=\"a.php?x=1&amp;y=2\">"
                                                 << "a.php?x=1&y=2";
    QTest::newRow("comments and script bodies are skipped")
        << "<!-- <img src=old.gif> --><script>var s='<img src=\"fake.gif\">';</script><img src=real.gif>"
        << "real.gif";
    QTest::newRow("other attributes and tags are not addresses")
        << "<img alt=\"src=no.gif\" data-src=lazy.gif><div src=x.gif><p href=y.html>"
        << "";
    QTest::newRow("unterminated quote runs to the end") << "<img src=\"a.gif"
                                                        << "a.gif";
  }
  void references() {
    QFETCH(QString, html);
    QFETCH(QString, references);
    QCOMPARE(Joined(PageReferences(html.toStdString())), references);
  }

  void sitePaths_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("path");  // "" = not a local file of the site
    QTest::newRow("plain") << "pics/a.gif"
                           << ""
                           << "pics/a.gif";
    QTest::newRow("query and fragment dropped") << "css/s.css?v=2#x"
                                                << ""
                                                << "css/s.css";
    QTest::newRow("percent-decoded") << "my%20pics/a%2Bb.gif"
                                     << ""
                                     << "my pics/a+b.gif";
    QTest::newRow("dot segments") << "./pics/../img/a.gif"
                                  << ""
                                  << "img/a.gif";
    QTest::newRow("relative to a linked page's folder") << "../img/b.png"
                                                        << "sub/deeper"
                                                        << "sub/img/b.png";
    QTest::newRow("backslashes") << "pics\\a.gif"
                                 << ""
                                 << "pics/a.gif";
    QTest::newRow("climbing out of the site") << "../secret.txt"
                                              << ""
                                              << "";
    QTest::newRow("climbing out from below") << "../../x.gif"
                                             << "sub"
                                             << "";
    QTest::newRow("web address") << "http://example.org/a.gif"
                                 << ""
                                 << "";
    QTest::newRow("other scheme") << "mailto:ann@example.org"
                                  << ""
                                  << "";
    QTest::newRow("data address") << "data:image/png;base64,AAAA"
                                  << ""
                                  << "";
    QTest::newRow("protocol-relative") << "//cdn.example.org/x.js"
                                       << ""
                                       << "";
    QTest::newRow("site root") << "/pics/a.gif"
                               << ""
                               << "";
    QTest::newRow("fragment only") << "#top"
                                   << ""
                                   << "";
    QTest::newRow("empty") << "  "
                           << ""
                           << "";
    QTest::newRow("file address inside the site") << "file:///home/ann/site/pics/a%20b.gif"
                                                  << ""
                                                  << "pics/a b.gif";
    QTest::newRow("file address elsewhere") << "file:///etc/passwd"
                                            << ""
                                            << "";
    QTest::newRow("file address of a neighbour folder") << "file:///home/ann/site2/a.gif"
                                                        << ""
                                                        << "";
    QTest::newRow("encoded line break") << "a%0D%0ADELE%20x.gif"
                                        << ""
                                        << "";
  }
  void sitePaths() {
    QFETCH(QString, url);
    QFETCH(QString, base);
    QFETCH(QString, path);
    QCOMPARE(QString::fromStdString(SitePathOf(url.toStdString(), base.toStdString(), "/home/ann/site")), path);
  }

  void uploadsOfAPageOnDisk() {
    QTemporaryDir outer;
    QDir root(outer.path());
    QVERIFY(root.mkpath("site/pics") && root.mkpath("site/css") && root.mkpath("site/sub"));
    std::string site = root.filePath("site").toStdString();
    auto put = [&](const std::string& name, const std::string& bytes) { WriteAll(site + "/" + name, bytes); };
    put("index.html", "<link rel=stylesheet href=css/site.css><img src=pics/a.gif><img src='pics/a.gif'>"
                      "<img src=missing.png><a href=sub/about.html>About</a><a href=http://example.org/>x</a>"
                      "<img src=../outside.gif><img src=pics/out.gif><a href=index.html>home</a>");
    put("css/site.css", "body{}");
    put("pics/a.gif", "GIF89a");
    put("sub/about.html", "<img src=\"../pics/b.png\"><a href=\"../index.html\">back</a>");
    put("pics/b.png", "PNG");
    WriteAll(root.filePath("outside.gif").toStdString(), "secret");
    WriteAll(root.filePath("elsewhere.gif").toStdString(), "secret");
    QVERIFY(QFile::link(root.filePath("elsewhere.gif"), QString::fromStdString(site + "/pics/out.gif")));
    auto items = PageUploads(site + "/index.html", "home.html", "");
    QStringList got;
    for (const auto& i : items)
      got << QString::fromStdString(i.remotePath) + "=" +
                 QDir(QString::fromStdString(site)).relativeFilePath(QString::fromStdString(i.localPath));
    QCOMPARE(got.join("|"), QString("home.html=index.html|css/site.css=css/site.css|pics/a.gif=pics/a.gif|"
                                    "sub/about.html=sub/about.html|pics/b.png=pics/b.png"));
  }

  void manifestFile() {
    Manifest m;
    m.host = "ftps://ftp.example.org:990";
    m.files["www/index.html"] = {11, std::string(64, 'a'), "/home/ann/site/index.html"};
    m.files["www/my pics/a.gif"] = {6, std::string(64, 'b'), "/home/ann/site/my pics/a.gif"};
    const std::string bytes = "Host ftps://ftp.example.org:990\r\n"
                              "File 11 " +
                              std::string(64, 'a') +
                              " www/index.html\t/home/ann/site/index.html\r\n"
                              "File 6 " +
                              std::string(64, 'b') + " www/my pics/a.gif\t/home/ann/site/my pics/a.gif\r\n";
    QCOMPARE(WriteManifest(m), bytes);
    Manifest back = ReadManifest(bytes + "File broken line\r\nFile x y z\tw\r\n");
    QCOMPARE(back.host, m.host);
    QCOMPARE(back.files.size(), std::size_t(2));
    QCOMPARE(back.files["www/my pics/a.gif"].size, 6LL);
    QCOMPARE(back.files["www/my pics/a.gif"].localPath, std::string("/home/ann/site/my pics/a.gif"));
    QCOMPARE(WriteManifest(back), bytes);
  }

  void manifestNamesAndKeys_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("name lower-cased") << "MySite"
                                      << "FtpProjs-mysite.manifest";
    QTest::newRow("name with blanks and slashes") << " my site/../x "
                                                  << "FtpProjs-my_site_.._x.manifest";
  }
  void manifestNamesAndKeys() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(QString::fromStdString(ManifestPathFor(in.toStdString())), out);
    QCOMPARE(ManifestKey("/www//site/", "pics/a.gif"), std::string("www/site/pics/a.gif"));
    QCOMPARE(ManifestKey("", "a.gif"), std::string("a.gif"));
  }

  void digestOfAFile() {
    QTemporaryDir dir;
    std::string path = dir.filePath("abc").toStdString();
    WriteAll(path, "abc");
    long long size = 0;
    std::string sha;
    QVERIFY(FileDigest(path, size, sha));
    QCOMPARE(size, 3LL);
    QCOMPARE(sha, std::string("ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"));
    QVERIFY(!FileDigest(dir.filePath("none").toStdString(), size, sha));
  }
};

QTEST_MAIN(PageFilesTest)
#include "test_page_files.moc"
