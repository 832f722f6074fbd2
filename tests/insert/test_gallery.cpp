// Image Gallery: the folder listing, the picture list and the block byte for byte, and the dialog.
#include <QtTest>

#include "insert/gallery_fragments.h"
#include "support/fixture.h"

using namespace insert;

namespace {
QStringList ToList(const std::vector<std::string>& v) {
  QStringList l;
  for (const auto& s : v) l << QString::fromStdString(s);
  return l;
}
}  // namespace

class TestGallery : public QObject {
  Q_OBJECT
 private slots:
  void pictures_data();
  void pictures();
  void block_data();
  void block();
  void listFolder();
  void listMissingFolder();
};

void TestGallery::pictures_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QStringList>("pictures");
  QTest::newRow("two") << "a.jpg\nb.png" << QStringList{"a.jpg", "b.png"};
  QTest::newRow("empty lines skipped") << "\n\na.jpg\n\n\nb.png\n\n" << QStringList{"a.jpg", "b.png"};
  QTest::newRow("CR LF lines") << "a.jpg\r\nb.png\r\n" << QStringList{"a.jpg", "b.png"};
  QTest::newRow("leading blank kept") << " a.jpg\nb.png " << QStringList{" a.jpg", "b.png "};
  QTest::newRow("empty") << "" << QStringList{};
  QTest::newRow("non-ascii and blanks") << QString::fromUtf8("my photo é.jpg") << QStringList{QString::fromUtf8("my photo é.jpg")};
}

void TestGallery::pictures() {
  QFETCH(QString, text);
  QFETCH(QStringList, pictures);
  QCOMPARE(ToList(GalleryPictures(text.toStdString())), pictures);
}

void TestGallery::block_data() {
  QTest::addColumn<QStringList>("pictures");
  QTest::addColumn<bool>("style");
  QTest::addColumn<QStringList>("pieces");
  QTest::newRow("two with style") << QStringList{"a.jpg", "b.png"} << true
                                  << QStringList{"SetImageStyle (width: 170px; height: 150px;)", "ViewGallery ()",
                                                 "    ShowImage [0] = 'images/a.jpg'",
                                                 "    ShowImage [1] = 'images/b.png'", "EndView ()"};
  QTest::newRow("two without style") << QStringList{"a.jpg", "b.png"} << false
                                     << QStringList{"ViewGallery ()", "    ShowImage [0] = 'images/a.jpg'",
                                                    "    ShowImage [1] = 'images/b.png'", "EndView ()"};
  QTest::newRow("leading blank") << QStringList{" a.jpg"} << false
                                 << QStringList{"ViewGallery ()", "    ShowImage [0] = 'images/ a.jpg'", "EndView ()"};
  QTest::newRow("empty folder") << QStringList{} << false << QStringList{"ViewGallery ()", "EndView ()"};
  QTest::newRow("empty folder with style")
      << QStringList{} << true
      << QStringList{"SetImageStyle (width: 170px; height: 150px;)", "ViewGallery ()", "EndView ()"};
}

void TestGallery::block() {
  QFETCH(QStringList, pictures);
  QFETCH(bool, style);
  QFETCH(QStringList, pieces);
  std::vector<std::string> p;
  for (const auto& s : pictures) p.push_back(s.toStdString());
  PieceFragment f = BuildGallery(p, style);
  QCOMPARE(ToList(f.pieces), pieces);
  QVERIFY(!f.breakAfterLast);
}

void TestGallery::listFolder() {
  QTemporaryDir dir;
  const std::string d = dir.path().toStdString();
  for (const char* name : {"b.png", "A.jpg", "with blank.gif", "über.jpg", ".hidden"}) WriteAll(d + "/" + name, "x");
  QDir(dir.path()).mkdir("subfolder");
  QStringList expected{".hidden", "A.jpg", "b.png", "with blank.gif", QString::fromUtf8("über.jpg")};
  QCOMPARE(ToList(ListGalleryFolder(d)), expected);
}

void TestGallery::listMissingFolder() {
  QVERIFY(ListGalleryFolder("/nonexistent/folder/here").empty());
  QVERIFY(ListGalleryFolder("").empty());
}

QTEST_MAIN(TestGallery)
#include "test_gallery.moc"
