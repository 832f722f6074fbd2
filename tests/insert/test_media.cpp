// Play Sound and Play Video: pieces byte for byte, the layout they leave in the editor,
// and the dialogs.
#include <QtTest>

#include "insert/media_fragments.h"
#include "support/fixture.h"

using namespace insert;

namespace {
QStringList Pieces(const PieceFragment& f) {
  QStringList l;
  for (const auto& p : f.pieces) l << QString::fromStdString(p);
  return l;
}
}  // namespace

class TestMedia : public QObject {
  Q_OBJECT
 private slots:
  void sound_data();
  void sound();
  void video_data();
  void video();
  void sizeChoices();
};

void TestMedia::sound_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<bool>("autoplay");
  QTest::addColumn<QStringList>("pieces");
  const QString noSupport = "Your browser does not support the audio element.";
  QTest::newRow("controls") << "/home/ann/music/song.mp3" << false
                            << QStringList{"<audio controls>", "<source src=\"file:///home/ann/music/song.mp3\"",
                                           "type=\"audio/mp3\">", noSupport, "</audio>"};
  QTest::newRow("autoplay") << "/home/ann/music/song.ogg" << true
                            << QStringList{"<audio autoplay>", "<source src=\"file:///home/ann/music/song.ogg\"",
                                           "type=\"audio/ogg\">", noSupport, "</audio>"};
  QTest::newRow("case kept") << "/m/A.MP3" << false
                             << QStringList{"<audio controls>", "<source src=\"file:///m/A.MP3\"",
                                            "type=\"audio/MP3\">", noSupport, "</audio>"};
  QTest::newRow("no extension") << "/m/song" << false
                                << QStringList{"<audio controls>", "<source src=\"file:///m/song\"",
                                               "type=\"audio/\">", noSupport, "</audio>"};
  QTest::newRow("dot only in folder") << "/m.d/song" << false
                                      << QStringList{"<audio controls>", "<source src=\"file:///m.d/song\"",
                                                     "type=\"audio/\">", noSupport, "</audio>"};
  QTest::newRow("windows path") << "C:\\Music\\a.wav" << false
                                << QStringList{"<audio controls>", "<source src=\"file:///C:/Music/a.wav\"",
                                               "type=\"audio/wav\">", noSupport, "</audio>"};
  QTest::newRow("empty path") << "" << false
                              << QStringList{"<audio controls>", "<source src=\"\"", "type=\"audio/\">", noSupport,
                                             "</audio>"};
}

void TestMedia::sound() {
  QFETCH(QString, path);
  QFETCH(bool, autoplay);
  QFETCH(QStringList, pieces);
  PieceFragment f = BuildSound({path.toStdString(), autoplay});
  QCOMPARE(Pieces(f), pieces);
  QVERIFY(f.breakAfterLast);
}

void TestMedia::video_data() {
  QTest::addColumn<QString>("path");
  QTest::addColumn<QString>("width");
  QTest::addColumn<QString>("height");
  QTest::addColumn<bool>("autoplay");
  QTest::addColumn<QStringList>("pieces");
  const QString noSupport = "Your browser does not support the video tag.";
  QTest::newRow("mp4 controls") << "/v/clip.mp4" << "240px" << "240px" << false
                                << QStringList{"<video width=\"240px\" height=\"240px\" controls>\r\n",
                                               "<source src=\"file:///v/clip.mp4\"", "type=\"video/mp4\">",
                                               noSupport, "</video>"};
  QTest::newRow("autoplay") << "/v/clip.mp4" << "100px" << "275px" << true
                            << QStringList{"<video width=\"100px\" height=\"275px\" controls autoplay>\r\n",
                                           "<source src=\"file:///v/clip.mp4\"", "type=\"video/mp4\">", noSupport,
                                           "</video>"};
  QTest::newRow("no extension") << "/v/clip" << "240px" << "240px" << false
                                << QStringList{"<video width=\"240px\" height=\"240px\" controls>\r\n",
                                               "<source src=\"file:///v/clip\"", "type=\"video/\">", noSupport,
                                               "</video>"};
  QTest::newRow("blanks trimmed from type") << "/v/clip. mp4 " << "" << "" << false
                                            << QStringList{"<video width=\"\" height=\"\" controls>\r\n",
                                                           "<source src=\"file:///v/clip. mp4 \"",
                                                           "type=\"video/mp4\">", noSupport, "</video>"};
}

void TestMedia::video() {
  QFETCH(QString, path);
  QFETCH(QString, width);
  QFETCH(QString, height);
  QFETCH(bool, autoplay);
  QFETCH(QStringList, pieces);
  PieceFragment f = BuildVideo({path.toStdString(), width.toStdString(), height.toStdString(), autoplay});
  QCOMPARE(Pieces(f), pieces);
  QVERIFY(!f.breakAfterLast);
}

void TestMedia::sizeChoices() {
  auto s = VideoSizeChoices();
  QCOMPARE(s.size(), size_t(15));
  QCOMPARE(s.front(), std::string("100px"));
  QCOMPARE(s[1], std::string("110px"));
  QCOMPARE(s.back(), std::string("240px"));
}

QTEST_MAIN(TestMedia)
#include "test_media.moc"
